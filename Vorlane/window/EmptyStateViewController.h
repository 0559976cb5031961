#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;

namespace Ui {
class EmptyStateViewController;
}

// What the window shows instead of its lists when there are no recent documents: where the
// records come from, how recent-file history is switched on, and a button to the privacy
// settings where that is done. A fixed 460 × 280 panel in the middle of the right pane.
class EmptyStateViewController : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize panelSize{460, 280};
    // The panel's centre, from the pane's centre.
    static constexpr QPoint centreOffset{15, -20};
    static const QUrl learnMoreUrl;

    explicit EmptyStateViewController(QWidget* parent = nullptr);
    ~EmptyStateViewController() override;

    // Keeps the panel centred in pane (as the offset says) whenever the pane changes size.
    void centerInPanel(QWidget* pane);

    QLabel* alertIcon() const;
    QPushButton* launchSystemPreferencesButton() const;
    QPushButton* subheadButton() const;

    void launchSystemPreferences();
    void openLearnMore();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void viewDidLoad();
    void styleTexts();
    void place();

    std::unique_ptr<Ui::EmptyStateViewController> ui;
    QWidget* m_pane = nullptr;
};
