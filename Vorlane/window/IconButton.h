#pragma once

#include <QAbstractButton>

// The toolbar's preferences button: the program's gear artwork for the current look, its
// highlighted version while pressed. A click brings the preferences window forward, centred.
class IconButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit IconButton(QWidget* parent = nullptr);

    // The image drawn now: "Settings_" or, while pressed, "SettingsHover_", with the look.
    QString currentImageName() const;

    QSize sizeHint() const override { return {22, 23}; }

    // Shows the preferences window, when the program has one.
    static void showPreferences();

protected:
    void paintEvent(QPaintEvent* event) override;
};
