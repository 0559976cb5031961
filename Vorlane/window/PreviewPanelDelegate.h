#pragma once

#include <QPixmap>
#include <QRect>
#include <QUrl>

class PreviewPanel;
class QEvent;

// What the preview window asks the view it shows a document of.
class PreviewPanelDelegate
{
public:
    virtual ~PreviewPanelDelegate() = default;

    // An event the panel received: true when the delegate used it (the keys that move the view's
    // selection while the panel is in front), false to leave it to the panel.
    virtual bool handleEvent(PreviewPanel* panel, QEvent* event) = 0;
    // Where on the screen the document's picture stands in the view, for the panel to open from;
    // an empty rectangle when there is none.
    virtual QRect sourceFrameOnScreen(PreviewPanel* panel, const QUrl& item) = 0;
    // The picture the opening grows from; null when there is none.
    virtual QPixmap transitionImage(PreviewPanel* panel, const QUrl& item) = 0;
};
