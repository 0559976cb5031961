#include "PaddedScrollView.h"

#include <QAbstractScrollArea>
#include <QChildEvent>

PaddedScrollView::PaddedScrollView(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setContentsMargins(padding, padding, padding, padding);
}

QAbstractScrollArea* PaddedScrollView::contentView() const
{
    return findChild<QAbstractScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
}

void PaddedScrollView::childEvent(QChildEvent* event)
{
    QFrame::childEvent(event);
    // Children are announced before they are fully made; the insets go once they are polished.
    if (event->type() == QEvent::ChildPolished)
        if (auto* view = qobject_cast<QAbstractScrollArea*>(event->child()))
            removeInsets(view);
}

void PaddedScrollView::removeInsets(QAbstractScrollArea* view)
{
    view->setFrameShape(QFrame::NoFrame);
    view->setContentsMargins(0, 0, 0, 0);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}
