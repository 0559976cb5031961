// The desktop's shared recently-used file: the quick scanner and QXmlStreamReader must agree on
// every document the scanner accepts, and clearing an application must either succeed with a
// document that reads back whole or refuse, never crash.
#include "RecentlyUsedEditor.h"
#include "RecentlyUsedFile.h"
#include "RecentlyUsedMetadata.h"
#include "RecentlyUsedReader.h"

#include <QStringDecoder>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
// QXmlStreamReader (Qt 6.4) refuses names longer than 4,096 bytes, which are well-formed and which
// the quick scanner takes, as GLib does: on a document holding one, the two need not agree. Any
// run of name characters that long is taken for one.
bool holdsNameTooLongForQt(QByteArrayView bytes)
{
    constexpr qsizetype longestNameQtTakes = 4096;
    qsizetype run = 0;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const bool inName =
            std::isalnum(byte) || c == '_' || c == '-' || c == '.' || c == ':' || byte >= 0x80;
        run = inName ? run + 1 : 0;
        if (run > longestNameQtTakes)
            return true;
    }
    return false;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const std::optional<RecentlyUsedFile> quick = RecentlyUsedReader::readQuickly(bytes);
    const RecentlyUsedFile thorough = RecentlyUsedReader::readThoroughly(bytes);
    if (quick && (!thorough.isComplete() || quick->bookmarks() != thorough.bookmarks()) &&
        !holdsNameTooLongForQt(bytes))
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
