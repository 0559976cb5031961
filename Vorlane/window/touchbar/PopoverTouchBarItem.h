#pragma once

#include "TouchBarItem.h"

#include <QPointer>
#include <QWidget>

class TouchBar;

// A touch strip item that opens a second strip, its popover, over the strip it is in. The item
// shows its collapsed representation in the strip; the strip that presents the item shows the
// popover when asked to and closes it again.
class PopoverTouchBarItem : public TouchBarItem
{
    Q_OBJECT

public:
    explicit PopoverTouchBarItem(const QString& identifier, QObject* parent = nullptr);
    ~PopoverTouchBarItem() override;

    QWidget* view() const override { return m_collapsedRepresentation; }
    QWidget* collapsedRepresentation() const { return m_collapsedRepresentation; }
    // The view is not the item's: it may outlive the item.
    void setCollapsedRepresentation(QWidget* view);
    const QString& collapsedRepresentationLabel() const { return m_collapsedRepresentationLabel; }
    void setCollapsedRepresentationLabel(const QString& label);

    // The popover's strip, which the item owns.
    TouchBar* popoverTouchBar() const;
    void setPopoverTouchBar(TouchBar* touchBar);

    bool isPopoverShown() const { return m_popoverShown; }
    // Nothing happens without a popover strip, or when it is already so.
    void showPopover();
    void dismissPopover();

Q_SIGNALS:
    void popoverShown();
    void popoverDismissed();

private:
    QPointer<QWidget> m_collapsedRepresentation;
    QString m_collapsedRepresentationLabel;
    QPointer<TouchBar> m_popoverTouchBar;
    bool m_popoverShown = false;
};
