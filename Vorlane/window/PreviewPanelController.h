#pragma once

class PreviewPanel;

// What can take control of the preview window: the files list and grid controllers. When the
// panel is ordered front it asks the object that ordered it, then that object's parents, and the
// first one that accepts controls it until the panel closes or another one takes over.
class PreviewPanelController
{
public:
    virtual ~PreviewPanelController() = default;

    virtual bool acceptsPreviewPanelControl(PreviewPanel* panel) = 0;
    // Called before the panel shows and takes the focus.
    virtual void beginPreviewPanelControl(PreviewPanel* panel) = 0;
    // Called when the panel closes or another controller takes it over.
    virtual void endPreviewPanelControl(PreviewPanel* panel) = 0;
};
