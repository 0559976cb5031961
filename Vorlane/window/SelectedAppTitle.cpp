#include "SelectedAppTitle.h"

#include "Selection.h"

#include <QEvent>

SelectedAppTitle::SelectedAppTitle(QWidget* parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("selectedAppTitle"));
    setFixedHeight(height);
    setContentsMargins(leading, 0, leading, 0);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
    QFont bold = font();
    bold.setWeight(QFont::DemiBold);
    setFont(bold);
    // The pane may be narrower than any name.
    setMinimumWidth(0);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void SelectedAppTitle::refresh()
{
    m_appName = selectedApp.isEmpty() ? QString() : selectedApp.constFirst().appName();
    setAccessibleName(m_appName);
    showName();
}

void SelectedAppTitle::showName()
{
    const int room = contentsRect().width();
    const QString shown = fontMetrics().elidedText(m_appName, Qt::ElideRight, room);
    setText(shown);
    setToolTip(shown == m_appName ? QString() : m_appName);
}

void SelectedAppTitle::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    showName();
}

void SelectedAppTitle::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        showName();
}
