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
// settings where that is done (only where the desktop has such settings to open). Once the
// documents that were listed are all gone (the user cleared the last application) it says so
// instead, without suggesting that history is switched off. A fixed 460 × 280 panel in the
// middle of the right pane.
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

    // Whether documents were listed before, in this run: the panel then says that none are
    // left rather than how history is switched on.
    void setDocumentsWereListed(bool listed);
    bool documentsWereListed() const { return m_documentsWereListed; }

    QLabel* alertIcon() const;
    QLabel* headline() const;
    QLabel* body() const;
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
    void showTexts();
    void place();

    std::unique_ptr<Ui::EmptyStateViewController> ui;
    QWidget* m_pane = nullptr;
    bool m_documentsWereListed = false;
    QString m_noDocumentsYetHeadline;
    QString m_noDocumentsYetBody;
};
