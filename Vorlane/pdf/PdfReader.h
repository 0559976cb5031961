#pragma once

#include "PdfDocument.h"

#include <QString>

#include <memory>

// What the PDF module offers: opening documents. The module is loaded on first use so that a
// start that draws no PDF never loads the PDF library and what it depends on.
class PdfReader
{
public:
    enum class TextHinting
    {
        off,
        on
    };

    virtual ~PdfReader() = default;

    // Nothing for a damaged, locked or empty document.
    virtual std::unique_ptr<PdfDocument> open(const QString& path, TextHinting hinting) const = 0;
};

// The module's one exported function, found by name when it is loaded.
#define VORLANE_PDF_READER_ENTRY "vorlanePdfReader"
using PdfReaderEntry = const PdfReader* (*)();
