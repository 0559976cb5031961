#pragma once

class PdfReader;

// The PDF module, loaded the first time a PDF document is drawn: beside the program in its
// bundle (Contents/PlugIns), or where the build made it.
class PdfModule
{
public:
    // Nothing when the module cannot be found or loaded (said once in the log).
    static const PdfReader* reader();
};
