// The desktop's shared recently-used file: the quick scanner and QXmlStreamReader must agree on
// every document the scanner accepts, and clearing an application must either succeed with a
// document that reads back whole or refuse, never crash.
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
    const std::optional<RecentlyUsedFile> quick = RecentlyUsedReader::readQuickly(bytes);
    const RecentlyUsedFile thorough = RecentlyUsedReader::readThoroughly(bytes);
    if (quick && (!thorough.isComplete() || quick->bookmarks() != thorough.bookmarks()))
        std::abort();
    // What RecentlyUsedReader::read answers, and what the list and the dates are made from.
    const RecentlyUsedFile& file = quick ? *quick : thorough;
    const RecentlyUsedMetadata metadata(file);
    for (const RecentlyUsedFile::Bookmark& bookmark : file.bookmarks())
        (void)bookmark.lastUsed();

    // The editor refuses documents that are not well-formed before it looks at anything else.
    if (!thorough.isComplete())
        return 0;
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
