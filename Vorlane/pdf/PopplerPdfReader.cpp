#include "PopplerPdfReader.h"

#include "PopplerPdfDocument.h"

#include <poppler-qt6.h>

std::unique_ptr<PdfDocument> PopplerPdfReader::open(const QString& path, TextHinting hinting) const
{
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document || document->isLocked())
        return nullptr;
    const int pages = document->numPages();
    if (pages < 1)
        return nullptr;
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    if (hinting == TextHinting::on)
        document->setRenderHint(Poppler::Document::TextHinting);
    return std::make_unique<PopplerPdfDocument>(std::move(document), pages);
}

// The module's entry, found by name by PdfModule.
extern "C" Q_DECL_EXPORT const PdfReader* vorlanePdfReader()
{
    static const PopplerPdfReader reader;
    return &reader;
}
