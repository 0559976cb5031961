#pragma once

#include "TouchBarItem.h"

#include <QPointer>
#include <QWidget>

// A touch strip item that shows a widget of the maker's choice, such as a button.
class CustomTouchBarItem : public TouchBarItem
{
    Q_OBJECT

public:
    using TouchBarItem::TouchBarItem;
    ~CustomTouchBarItem() override;

    QWidget* view() const override { return m_view; }
    // The item owns the view until the strip lays it out.
    void setView(QWidget* view);

private:
    QPointer<QWidget> m_view;
};
