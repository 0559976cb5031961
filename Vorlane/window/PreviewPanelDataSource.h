#pragma once

#include <QUrl>

class PreviewPanel;

// Which documents the preview window shows. It shows the first; the others are there for a
// controller whose view selects several.
class PreviewPanelDataSource
{
public:
    virtual ~PreviewPanelDataSource() = default;

    virtual int numberOfPreviewItems(PreviewPanel* panel) = 0;
    // A local file URL; empty when there is nothing to show.
    virtual QUrl previewItemAt(PreviewPanel* panel, int index) = 0;
};
