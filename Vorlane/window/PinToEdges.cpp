#include "PinToEdges.h"

#include <QVBoxLayout>
#include <QWidget>

void pinToEdges(QWidget* child, QWidget* container, const std::array<int, 4>& offsets)
{
    QLayout* layout = container->layout();
    if (!layout) {
        layout = new QVBoxLayout(container);
        layout->setSpacing(0);
    }
    const auto [top, trailing, bottom, leading] = offsets;
    const bool rightToLeft = container->layoutDirection() == Qt::RightToLeft;
    layout->setContentsMargins(rightToLeft ? trailing : leading, top,
                               rightToLeft ? leading : trailing, bottom);
    if (layout->indexOf(child) < 0) {
        child->setParent(container);
        layout->addWidget(child);
    }
}
