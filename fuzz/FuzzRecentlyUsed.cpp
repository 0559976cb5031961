// The desktop's shared recently-used file: the quick scanner and QXmlStreamReader must agree on
// every document the scanner accepts, and clearing an application must either succeed with a
// document that reads back as intended or refuse, never crash.
#include "RecentlyUsedEditor.h"
#include "RecentlyUsedFile.h"
#include "RecentlyUsedMetadata.h"
#include "RecentlyUsedReader.h"

#include <QStringDecoder>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    if (const std::optional<RecentlyUsedFile> quick = RecentlyUsedReader::readQuickly(bytes)) {
        const RecentlyUsedFile thorough = RecentlyUsedReader::readThoroughly(bytes);
        if (quick->bookmarks() != thorough.bookmarks() ||
            quick->isComplete() != thorough.isComplete())
            std::abort();
    }
    const RecentlyUsedFile file = RecentlyUsedReader::read(bytes);
    const RecentlyUsedMetadata metadata(file);
    for (const RecentlyUsedFile::Bookmark& bookmark : file.bookmarks())
        (void)bookmark.lastUsed();

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return 0;
    // Clears every other application the document names.
    const auto everyOther = [parity = false](const RecentlyUsedFile::Bookmark&,
                                             const RecentlyUsedFile::Application&) mutable {
        parity = !parity;
        return parity;
    };
    const RecentlyUsedEditor::Edit edit = RecentlyUsedEditor::withoutApplications(text, everyOther);
    if (edit.ok && !RecentlyUsedReader::read(edit.text, nullptr).isComplete())
        std::abort();
    return 0;
}
