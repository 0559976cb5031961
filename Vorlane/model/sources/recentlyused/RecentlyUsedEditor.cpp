#include "RecentlyUsedEditor.h"

#include "DesktopApplicationIndex.h"
#include "FileIdentity.h"
#include "RecentlyUsedReader.h"
#include "RegistrationAttribution.h"

#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <sys/stat.h>

namespace {
// Another writer replacing the file between our reading and our writing makes us start over;
// a file that changes this many times in a row is left alone.
constexpr int maximumAttempts = 5;
// KDE's writer holds the lock for a few milliseconds; a lock older than this was abandoned.
constexpr int staleLockMilliseconds = 30'000;

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

// The declared encoding of the document, empty when it declares none.
QString declaredEncoding(QStringView text)
{
    QXmlStreamReader xml(QString::fromRawData(text.data(), text.size()));
    if (xml.readNext() == QXmlStreamReader::StartDocument)
        return xml.documentEncoding().toString();
    return {};
}

struct Snapshot
{
    FileIdentity identity;
    QByteArray byteOrderMark;
    QString text;
};

// Reads the file whole, as UTF-8 text, with the identity it had while it was read.
std::optional<Snapshot> readSnapshot(const QString& xbelPath, QString* error)
{
    QFile file(xbelPath);
    const std::optional<FileIdentity> before = FileIdentity::of(QFile::encodeName(xbelPath));
    if (!before) {
        fail(error, QStringLiteral("No such file: %1").arg(xbelPath));
        return std::nullopt;
    }
    if (!S_ISREG(before->mode)) {
        fail(error, QStringLiteral("Not a regular file: %1").arg(xbelPath));
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = file.read(RecentlyUsedFile::maximumFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        fail(error, file.errorString());
        return std::nullopt;
    }
    if (bytes.size() > RecentlyUsedFile::maximumFileSize) {
        fail(error, QStringLiteral("File too large: %1").arg(xbelPath));
        return std::nullopt;
    }

    Snapshot snapshot;
    snapshot.identity = *before;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        snapshot.byteOrderMark = bytes.left(3);
        bytes.remove(0, 3);
    }
    // GLib reads and writes this file only as UTF-8; anything else is left as it is.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    snapshot.text = decoder(bytes);
    if (decoder.hasError()) {
        fail(error, QStringLiteral("Not UTF-8 text: %1").arg(xbelPath));
        return std::nullopt;
    }
    const QString encoding = declaredEncoding(snapshot.text).toLower();
    if (!encoding.isEmpty() && encoding != u"utf-8" && encoding != u"utf8" &&
        encoding != u"us-ascii") {
        fail(error, QStringLiteral("Unsupported encoding %1: %2").arg(encoding, xbelPath));
        return std::nullopt;
    }
    return snapshot;
}

struct Cut
{
    qsizetype start = 0;
    qsizetype end = 0;
};
} // namespace

RecentlyUsedEditor::Edit RecentlyUsedEditor::withoutApplications(QStringView text,
                                                                 const ApplicationFilter& remove)
{
    Edit edit;
    QList<XbelBookmarkSpans> spans;
    const RecentlyUsedFile original = RecentlyUsedReader::read(text, &spans);
    if (!original.isComplete()) {
        edit.error = QStringLiteral("The file is not a well-formed XBEL document (%1); it is left "
                                    "as it is")
                         .arg(original.errorString());
        return edit;
    }

    QList<Cut> cuts;
    QList<RecentlyUsedFile::Bookmark> expected;
    expected.reserve(original.bookmarks().size());
    qsizetype nextBookmark = 0;
    for (const XbelBookmarkSpans& bookmarkSpans : spans) {
        // Bookmarks the reader passed over are not in spans and are kept as they are.
        while (nextBookmark < bookmarkSpans.bookmarkIndex)
            expected.append(original.bookmarks().at(nextBookmark++));
        const RecentlyUsedFile::Bookmark& bookmark = original.bookmarks().at(nextBookmark++);

        QList<Cut> removedElements;
        RecentlyUsedFile::Bookmark kept = bookmark;
        kept.applications.clear();
        for (const XbelBookmarkSpans::ApplicationElement& element : bookmarkSpans.applications) {
            if (element.applicationIndex >= 0) {
                const RecentlyUsedFile::Application& application =
                    bookmark.applications.at(element.applicationIndex);
                if (remove(bookmark, application)) {
                    removedElements.append({element.span.start, element.span.end});
                    continue;
                }
                kept.applications.append(application);
            }
        }
        if (removedElements.isEmpty()) {
            expected.append(bookmark);
            continue;
        }
        edit.removedApplications += removedElements.size();
        if (removedElements.size() == bookmarkSpans.applications.size()) {
            // Every application element went: so does the bookmark.
            cuts.append({bookmarkSpans.bookmark.start, bookmarkSpans.bookmark.end});
            ++edit.removedBookmarks;
        } else {
            cuts.append(removedElements);
            expected.append(std::move(kept));
        }
    }
    while (nextBookmark < original.bookmarks().size())
        expected.append(original.bookmarks().at(nextBookmark++));

    qsizetype position = 0;
    edit.text.reserve(text.size());
    for (const Cut& cut : cuts) {
        if (cut.start < position || cut.end < cut.start || cut.end > text.size()) {
            edit.error = QStringLiteral("Could not locate the elements to remove");
            return edit;
        }
        edit.text += text.mid(position, cut.start - position);
        position = cut.end;
    }
    edit.text += text.mid(position);

    // What is written must read back as exactly the intended bookmarks.
    const RecentlyUsedFile result = RecentlyUsedReader::read(edit.text, nullptr);
    if (!result.isComplete() || result.bookmarks() != expected) {
        edit.error = QStringLiteral("Removing the application would change other entries; the "
                                    "file is left as it is");
        edit.text.clear();
        return edit;
    }
    edit.ok = true;
    return edit;
}

bool RecentlyUsedEditor::removeApplication(const QString& xbelPath, const QString& desktopId,
                                           QString* error, int lockWaitMs)
{
    if (xbelPath.isEmpty() || desktopId.isEmpty())
        return fail(error, QStringLiteral("No file or no application to remove"));
    DesktopApplicationIndex& index = DesktopApplicationIndex::shared();
    index.refresh();
    const auto belongsToApplication = [&](const RecentlyUsedFile::Bookmark& bookmark,
                                          const RecentlyUsedFile::Application& application) {
        return attributeRegistration(index, bookmark, application).desktopId == desktopId;
    };
    return removeRegistrations(xbelPath, belongsToApplication, error, lockWaitMs);
}

bool RecentlyUsedEditor::removeRegistrations(const QString& xbelPath,
                                             const ApplicationFilter& remove, QString* error,
                                             int lockWaitMs)
{
    if (xbelPath.isEmpty())
        return fail(error, QStringLiteral("No file to remove registrations from"));

    // KDE's writer takes this lock; GLib's writers take none and only ever replace the file
    // whole, which the identity check below notices.
    QLockFile lock(xbelPath + QStringLiteral(".lock"));
    lock.setStaleLockTime(staleLockMilliseconds);
    if (!lock.tryLock(qMax(0, lockWaitMs))) {
        switch (lock.error()) {
        case QLockFile::LockFailedError:
            return fail(error, QStringLiteral("Another program is writing %1").arg(xbelPath));
        case QLockFile::PermissionError:
            return fail(error, QStringLiteral("Cannot create the lock file for %1").arg(xbelPath));
        default:
            return fail(error, QStringLiteral("Cannot lock %1").arg(xbelPath));
        }
    }

    const QByteArray encodedPath = QFile::encodeName(xbelPath);
    for (int attempt = 0; attempt < maximumAttempts; ++attempt) {
        const std::optional<Snapshot> snapshot = readSnapshot(xbelPath, error);
        if (!snapshot)
            return false;
        const Edit edit = withoutApplications(snapshot->text, remove);
        if (!edit.ok)
            return fail(error, edit.error);
        if (edit.removedApplications == 0)
            return true;

        QSaveFile save(xbelPath);
        if (!save.open(QIODevice::WriteOnly))
            return fail(error, save.errorString());
        // The replacement keeps the file's permissions (GTK makes it private to the user).
        if (::fchmod(save.handle(), snapshot->identity.mode & 07777) != 0) {
            save.cancelWriting();
            return fail(error,
                        QStringLiteral("Cannot set the permissions of the new %1").arg(xbelPath));
        }
        save.write(snapshot->byteOrderMark);
        save.write(edit.text.toUtf8());
        // Replaced by another writer since we read it: their change would be lost. Read again.
        if (FileIdentity::of(encodedPath) != snapshot->identity) {
            save.cancelWriting();
            continue;
        }
        if (!save.commit())
            return fail(error, save.errorString());
        return true;
    }
    return fail(error, QStringLiteral("%1 kept changing while it was being rewritten; it is left "
                                      "as another program wrote it")
                           .arg(xbelPath));
}
