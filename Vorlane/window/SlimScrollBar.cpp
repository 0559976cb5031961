#include "SlimScrollBar.h"

#include <QScrollBar>

void SlimScrollBar::apply(QScrollBar* scrollBar)
{
    const QColor handle = scrollBar->palette().color(QPalette::WindowText);
    const QString rgba = QStringLiteral("rgba(%1, %2, %3, %4)")
                             .arg(handle.red())
                             .arg(handle.green())
                             .arg(handle.blue());
    scrollBar->setStyleSheet(
        QStringLiteral("QScrollBar:vertical { background: transparent; width: %3px;"
                       " margin: 2px 0; }"
                       "QScrollBar::handle:vertical { background: %1; border-radius: 3px;"
                       " min-height: 24px; }"
                       "QScrollBar::handle:vertical:hover { background: %2; }"
                       "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical"
                       " { height: 0; }"
                       "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical"
                       " { background: transparent; }")
            .arg(rgba.arg(0.28), rgba.arg(0.5))
            .arg(width));
}
