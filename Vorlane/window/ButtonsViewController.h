#pragma once

#include <QList>
#include <QWidget>

#include <memory>

class ButtonSegmentedControl;
class IconButton;

namespace Ui {
class ButtonsViewController;
}

// The toolbar in the window's bottom-right corner: the list/grid switch and the preferences
// button, 90 × 32 points whatever the window's size.
class ButtonsViewController : public QWidget
{
    Q_OBJECT

public:
    static constexpr int width = 90;
    static constexpr int height = 32;

    explicit ButtonsViewController(QWidget* parent = nullptr);
    ~ButtonsViewController() override;

    ButtonSegmentedControl* toggleViewTypeSC() const;
    IconButton* prefButton() const { return m_prefButton; }

    // Keeps the toolbar in anchor's bottom-right corner as anchor changes size.
    void pinToBottomRight(QWidget* anchor);

Q_SIGNALS:
    // The user picked segment 0 (list) or 1 (grid).
    void viewTypeSelected(int segment);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void viewDidLoad();
    void layoutButtons();
    void place();

    std::unique_ptr<Ui::ButtonsViewController> ui;
    IconButton* m_prefButton;
    QWidget* m_anchor = nullptr;
};
