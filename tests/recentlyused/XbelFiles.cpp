#include "XbelFiles.h"

#include <glib.h>

namespace {
QByteArray escaped(const QString& text)
{
    return text.toHtmlEscaped().replace(u'\'', QStringLiteral("&apos;")).toUtf8();
}
} // namespace

namespace XbelFiles {
QByteArray document(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<xbel version=\"1.0\"\n"
           "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
           "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
           ">\n" +
           body + "</xbel>\n";
}

QByteArray bookmark(const QString& href, const QList<Registration>& registrations,
                    const QString& modified, const QByteArray& extraMetadata)
{
    QByteArray text = "  <bookmark href=\"" + escaped(href) + "\" added=\"" + escaped(modified) +
                      "\" modified=\"" + escaped(modified) + "\" visited=\"" + escaped(modified) +
                      "\">\n"
                      "    <info>\n"
                      "      <metadata owner=\"http://freedesktop.org\">\n"
                      "        <mime:mime-type type=\"text/plain\"/>\n"
                      "        <bookmark:applications>\n";
    for (const Registration& registration : registrations) {
        text += "          <bookmark:application name=\"" + escaped(registration.name) +
                "\" exec=\"" + escaped(registration.exec) + "\"";
        if (!registration.modified.isEmpty())
            text += " modified=\"" + escaped(registration.modified) + "\"";
        text += " count=\"" + QByteArray::number(registration.count) + "\"/>\n";
    }
    text += "        </bookmark:applications>\n" + extraMetadata +
            "      </metadata>\n"
            "    </info>\n"
            "  </bookmark>\n";
    return text;
}

QString fileUri(const QString& path)
{
    gchar* uri = g_filename_to_uri(path.toUtf8().constData(), nullptr, nullptr);
    const QString text = QString::fromUtf8(uri);
    g_free(uri);
    return text;
}

QString glibStamp(const QDateTime& moment)
{
    const QDateTime utc = moment.toUTC();
    return utc.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) + QStringLiteral("347Z");
}

QString kdeStamp(const QDateTime& moment)
{
    return moment.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
           QStringLiteral("000Z");
}

QByteArray generated(int count, int applications, const QString& folder, const QDateTime& newest)
{
    QByteArray body;
    body.reserve(qsizetype(count) * 600);
    for (int i = 0; i < count; ++i) {
        const int application = i % applications;
        const QString stamp = glibStamp(newest.addSecs(-60LL * i));
        body += bookmark(fileUri(folder + QStringLiteral("/document %1.txt").arg(i)),
                         {{QStringLiteral("Application %1").arg(application),
                           QStringLiteral("'app%1 %u'").arg(application), stamp, 1 + i % 3}},
                         stamp);
    }
    return document(body);
}
} // namespace XbelFiles
