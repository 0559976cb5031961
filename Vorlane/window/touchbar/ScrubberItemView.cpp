#include "ScrubberItemView.h"

ScrubberItemView::ScrubberItemView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}
