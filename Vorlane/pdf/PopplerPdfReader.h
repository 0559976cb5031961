#pragma once

#include "PdfReader.h"

// The PDF module's reader: Poppler.
class PopplerPdfReader final : public PdfReader
{
public:
    std::unique_ptr<PdfDocument> open(const QString& path, TextHinting hinting) const override;
};
