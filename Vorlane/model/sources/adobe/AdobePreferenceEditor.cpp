#include "AdobePreferenceEditor.h"

#include "FileIdentity.h"
#include "PropertyList.h"

#include <QFile>
#include <QSaveFile>

#include <memory>
#include <optional>
#include <plist/plist.h>
#include <sys/stat.h>

namespace {
// Another program rewriting the file while we do makes us start over; a file that keeps
// changing is left to it.
constexpr int maximumAttempts = 5;

// Only a regular file is read and replaced.
std::optional<FileIdentity> identityOf(const QString& path)
{
    std::optional<FileIdentity> identity = FileIdentity::of(QFile::encodeName(path));
    if (identity && !identity->isRegularFile())
        return std::nullopt;
    return identity;
}

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

struct PlistDeleter
{
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistNode = std::unique_ptr<std::remove_pointer_t<plist_t>, PlistDeleter>;

struct Edit
{
    QByteArray bytes;
    int removed = 0;
    QString error;
};

QByteArray serialised(plist_t root, bool binary)
{
    char* data = nullptr;
    uint32_t length = 0;
    if (binary)
        plist_to_bin(root, &data, &length);
    else
        plist_to_xml(root, &data, &length);
    QByteArray bytes(data, data ? qsizetype(length) : 0);
    if (binary)
        plist_to_bin_free(data);
    else
        plist_to_xml_free(data);
    return bytes;
}

// The file's bytes without the keys, in the file's format. Our own reader checks the input
// before libplist parses it, and the output after libplist wrote it.
Edit withoutKeys(const QByteArray& bytes, const QStringList& keys)
{
    Edit edit;
    QString error;
    const std::optional<QVariant> before = PropertyList::parse(bytes, &error);
    if (!before || before->metaType() != QMetaType::fromType<QVariantMap>()) {
        edit.error = error.isEmpty() ? QStringLiteral("The file isn't a dictionary") : error;
        return edit;
    }
    QVariantMap expected = before->toMap();
    QVariantMap mru = expected.value(QStringLiteral("MRU")).toMap();

    plist_t parsed = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &parsed);
    const PlistNode root(parsed);
    plist_t mruNode = root ? plist_dict_get_item(root.get(), "MRU") : nullptr;
    if (!mruNode || plist_get_node_type(mruNode) != PLIST_DICT) {
        edit.error = QStringLiteral("The file lists no applications");
        return edit;
    }
    for (const QString& key : keys) {
        const QByteArray name = key.toUtf8();
        if (!plist_dict_get_item(mruNode, name.constData()))
            continue;
        plist_dict_remove_item(mruNode, name.constData());
        mru.remove(key);
        ++edit.removed;
    }
    if (edit.removed == 0)
        return edit;
    expected.insert(QStringLiteral("MRU"), mru);

    edit.bytes = serialised(root.get(), plist_is_binary(bytes.constData(), uint32_t(bytes.size())));
    const std::optional<QVariant> after = PropertyList::parse(edit.bytes);
    if (!after || *after != QVariant(expected)) {
        edit.error = QStringLiteral("Removing the application would change the rest of the "
                                    "file; it is left as it is");
        edit.bytes.clear();
    }
    return edit;
}
} // namespace

bool AdobePreferenceEditor::removeApplications(const QString& path, const QStringList& keys,
                                               QString* error)
{
    for (int attempt = 0; attempt < maximumAttempts; ++attempt) {
        const std::optional<FileIdentity> identity = identityOf(path);
        if (!identity)
            return fail(error, QStringLiteral("No such file: %1").arg(path));
        if (identity->size > PropertyList::maximumFileSize)
            return fail(error, QStringLiteral("%1 is too large").arg(path));
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(error, file.errorString());
        const QByteArray bytes = file.readAll();
        file.close();

        const Edit edit = withoutKeys(bytes, keys);
        if (!edit.error.isEmpty())
            return fail(error, edit.error);
        if (edit.removed == 0)
            return true;

        QSaveFile save(path);
        if (!save.open(QIODevice::WriteOnly))
            return fail(error, save.errorString());
        if (::fchmod(save.handle(), identity->mode & 07777) != 0) {
            save.cancelWriting();
            return fail(error,
                        QStringLiteral("Cannot set the permissions of the new %1").arg(path));
        }
        save.write(edit.bytes);
        // Rewritten by its owner since we read it: their change would be lost. Read again.
        if (identityOf(path) != identity) {
            save.cancelWriting();
            continue;
        }
        if (!save.commit())
            return fail(error, save.errorString());
        return true;
    }
    return fail(error, QStringLiteral("%1 kept changing while it was being rewritten; it is left "
                                      "as its owner wrote it")
                           .arg(path));
}
