#pragma once

#include "RecentlyUsedFile.h"

#include <QString>
#include <QStringView>

#include <functional>

// Takes applications' registrations out of an XBEL document by cutting their elements out of its
// text: everything else (other applications, groups, titles, private flags, icons, comments,
// unknown elements and attributes, namespaces, the writer's own escapes and layout) stays byte
// for byte. The result is read back and compared with what was meant before it is used.
class RecentlyUsedEditor
{
public:
    using ApplicationFilter = std::function<bool(const RecentlyUsedFile::Bookmark&,
                                                 const RecentlyUsedFile::Application&)>;

    struct Edit
    {
        bool ok = false;
        QString error;
        QString text;
        qsizetype removedApplications = 0;
        qsizetype removedBookmarks = 0;
    };

    // The document without the application elements that remove() selects, and without the
    // bookmarks that had applications and are left with none. Fails for a document that is not
    // entirely well-formed: cutting it would lose what follows the fault.
    static Edit withoutApplications(QStringView text, const ApplicationFilter& remove);

    // The whole operation on the shared file; see RecentlyUsedFile::removeApplication.
    static bool removeApplication(const QString& xbelPath, const QString& desktopId, QString* error,
                                  int lockWaitMs);
    // The same for the registrations remove() selects: under the lock, re-read, cut, checked and
    // replaced atomically with the file's permissions. True when none of them is left.
    static bool removeRegistrations(const QString& xbelPath, const ApplicationFilter& remove,
                                    QString* error, int lockWaitMs = 5000);
};
