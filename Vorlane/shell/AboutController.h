#pragma once

#include "WindowController.h"

#include <QString>

#include <memory>

namespace Ui {
class AboutController;
}

// The About window: Vorlane's icon, name and version, and links to its pages.
class AboutController : public WindowController
{
    Q_OBJECT

public:
    // The version shown, both parts taken from the program's version when the controller is made.
    struct Versions
    {
        // "2.1"
        QString shortVersion;
        // "57"
        QString bundleVersion;
    };
    // One version number, "2.1.57", gives the short version "2.1" and the build "57".
    static Versions versionsFrom(const QString& applicationVersion);
    // "Version 2.1 (57)".
    static QString versionText(const Versions& versions);

    explicit AboutController(QObject* parent = nullptr);
    ~AboutController() override;

    const Versions& versions() const { return m_versions; }

    void followButtonAction();
    void websiteButtonAction();

protected:
    std::unique_ptr<QWidget> loadWindow() override;
    void windowDidLoad() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The two links drawn in the look's link colour.
    void colourLinks();

    std::unique_ptr<Ui::AboutController> ui;
    const Versions m_versions;
};
