#include "RebuildHome.h"

#include <QUrl>

namespace RebuildHome {
QString recordDocumentPath(const QString& home, int application, int document)
{
    return home + QStringLiteral("/Documents/%1/file %2.txt").arg(application).arg(document);
}

QString sharedDocumentPath(const QString& home, int bookmark)
{
    return home + QStringLiteral("/Shared/%1/doc %2.txt").arg(bookmark % 40).arg(bookmark);
}

namespace {
// 2,000 bookmarks as GLib writes them, each registered by one or two of 30 applications.
void writeSharedRecord(TestHome& home, const QDateTime& now)
{
    for (int app = 0; app < sharedApplicationCount; ++app)
        home.installApplication(QStringLiteral("org.example.Shared%1").arg(app),
                                QStringLiteral("Shared App %1").arg(app));
    QByteArray xbel = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\" "
                      "xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\" "
                      "xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    for (int bookmark = 0; bookmark < sharedBookmarkCount; ++bookmark) {
        const QString path = home.createDocument(
            sharedDocumentPath(home.path(), bookmark).mid(home.path().size() + 1),
            now.addSecs(-600 * bookmark));
        const QByteArray stamp =
            now.addSecs(-60 * bookmark).toUTC().toString(Qt::ISODateWithMs).toUtf8();
        xbel += "  <bookmark href=\"" + QUrl::fromLocalFile(path).toEncoded() + "\" added=\"" +
                stamp + "\" modified=\"" + stamp + "\" visited=\"" + stamp + "\">\n    <info>\n" +
                "      <metadata owner=\"http://freedesktop.org\">\n" +
                "        <mime:mime-type type=\"text/plain\"/>\n        <bookmark:applications>\n";
        for (int app : {bookmark % sharedApplicationCount, (bookmark * 7) % sharedApplicationCount})
            xbel += "          <bookmark:application name=\"Shared App " + QByteArray::number(app) +
                    "\" exec=\"&apos;shared" + QByteArray::number(app) + " %u&apos;\" modified=\"" +
                    stamp + "\" count=\"1\"/>\n";
        xbel += "        </bookmark:applications>\n      </metadata>\n    </info>\n  </bookmark>\n";
    }
    home.writeFile(home.dataHome() + QStringLiteral("/recently-used.xbel"), xbel + "</xbel>\n");
}
} // namespace

void populate(TestHome& home, bool withSharedRecord, const QDateTime& now)
{
    if (withSharedRecord)
        writeSharedRecord(home, now);
    for (int app = 0; app < applicationCount; ++app) {
        const QString id = QStringLiteral("org.example.App%1").arg(app);
        home.installApplication(id, QStringLiteral("App %1").arg(app));
        QStringList documents;
        for (int doc = 0; doc < documentsPerApplication; ++doc)
            documents << home.createDocument(
                recordDocumentPath(home.path(), app, doc).mid(home.path().size() + 1),
                now.addSecs(-3600 * (app + doc)));
        home.writeRecord(id, documents, now.addSecs(-60 * app));
    }
    // Folders changed long ago, as on a desktop: the application index is built once and kept
    // (one changed a moment before it was read is read again, in case it changes once more).
    const QDateTime longAgo = now.addDays(-2);
    TestHome::setModificationTime(home.dataHome() + QStringLiteral("/applications"), longAgo);
    TestHome::setModificationTime(home.systemDataDir() + QStringLiteral("/applications"), longAgo);
}
} // namespace RebuildHome
