#include "GLibBookmarks.h"

#include <algorithm>
#include <glib.h>
#include <ostream>

namespace {
QString fromUtf8(const gchar* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

GDateTime* toGDateTime(const QDateTime& moment)
{
    const QDateTime utc = moment.toUTC();
    const QDate date = utc.date();
    const QTime time = utc.time();
    return g_date_time_new_utc(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                               time.second() + time.msec() / 1000.0);
}

QDateTime fromGDateTime(GDateTime* moment)
{
    if (!moment)
        return {};
    const qint64 ms =
        g_date_time_to_unix(moment) * 1000 + g_date_time_get_microsecond(moment) / 1000;
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

QString takeError(GError* error)
{
    const QString message = error ? QString::fromUtf8(error->message) : QString();
    if (error)
        g_error_free(error);
    return message;
}

std::optional<QList<GLibBookmarks::Item>> itemsOf(GBookmarkFile* file)
{
    QList<GLibBookmarks::Item> items;
    gsize uriCount = 0;
    gchar** uris = g_bookmark_file_get_uris(file, &uriCount);
    for (gsize i = 0; i < uriCount; ++i) {
        GLibBookmarks::Item item;
        item.uri = fromUtf8(uris[i]);
        gchar* title = g_bookmark_file_get_title(file, uris[i], nullptr);
        item.title = fromUtf8(title);
        g_free(title);
        item.isPrivate = g_bookmark_file_get_is_private(file, uris[i], nullptr);
        gchar* mime = g_bookmark_file_get_mime_type(file, uris[i], nullptr);
        item.mimeType = fromUtf8(mime);
        g_free(mime);
        gsize groupCount = 0;
        gchar** groups = g_bookmark_file_get_groups(file, uris[i], &groupCount, nullptr);
        for (gsize g = 0; g < groupCount; ++g)
            item.groups << fromUtf8(groups[g]);
        g_strfreev(groups);
        gsize appCount = 0;
        gchar** apps = g_bookmark_file_get_applications(file, uris[i], &appCount, nullptr);
        for (gsize a = 0; a < appCount; ++a) {
            gchar* exec = nullptr;
            guint count = 0;
            GDateTime* stamp = nullptr;
            GLibBookmarks::Registration registration;
            registration.name = fromUtf8(apps[a]);
            if (g_bookmark_file_get_application_info(file, uris[i], apps[a], &exec, &count, &stamp,
                                                     nullptr)) {
                registration.exec = fromUtf8(exec);
                registration.count = int(count);
                registration.stamp = fromGDateTime(stamp);
            }
            g_free(exec);
            item.registrations << registration;
        }
        g_strfreev(apps);
        std::sort(item.registrations.begin(), item.registrations.end(),
                  [](const auto& a, const auto& b) { return a.name < b.name; });
        items << item;
    }
    g_strfreev(uris);
    return items;
}
} // namespace

GLibBookmarks::GLibBookmarks()
    : m_file(g_bookmark_file_new())
{}

GLibBookmarks::~GLibBookmarks()
{
    g_bookmark_file_free(m_file);
}

void GLibBookmarks::registerDocument(const QString& uri, const QString& name, const QString& exec,
                                     const QDateTime& stamp, int count)
{
    GDateTime* moment = toGDateTime(stamp);
    const QByteArray uriText = uri.toUtf8();
    // GTK's recent manager registers the document first; the bookmark's own dates are "now".
    g_bookmark_file_set_added_date_time(m_file, uriText.constData(), moment);
    g_bookmark_file_set_application_info(m_file, uriText.constData(), name.toUtf8().constData(),
                                         exec.toUtf8().constData(), count, moment, nullptr);
    g_bookmark_file_set_modified_date_time(m_file, uriText.constData(), moment);
    g_bookmark_file_set_visited_date_time(m_file, uriText.constData(), moment);
    g_date_time_unref(moment);
}

void GLibBookmarks::setTitle(const QString& uri, const QString& title)
{
    g_bookmark_file_set_title(m_file, uri.toUtf8().constData(), title.toUtf8().constData());
}

void GLibBookmarks::setPrivate(const QString& uri, bool isPrivate)
{
    g_bookmark_file_set_is_private(m_file, uri.toUtf8().constData(), isPrivate);
}

void GLibBookmarks::addGroup(const QString& uri, const QString& group)
{
    g_bookmark_file_add_group(m_file, uri.toUtf8().constData(), group.toUtf8().constData());
}

void GLibBookmarks::setMimeType(const QString& uri, const QString& mimeType)
{
    g_bookmark_file_set_mime_type(m_file, uri.toUtf8().constData(), mimeType.toUtf8().constData());
}

bool GLibBookmarks::save(const QString& path, QString* error) const
{
    GError* failure = nullptr;
    const bool ok = g_bookmark_file_to_file(m_file, path.toUtf8().constData(), &failure);
    const QString message = takeError(failure);
    if (error)
        *error = message;
    return ok;
}

QByteArray GLibBookmarks::data() const
{
    gsize length = 0;
    gchar* text = g_bookmark_file_to_data(m_file, &length, nullptr);
    QByteArray bytes(text, qsizetype(length));
    g_free(text);
    return bytes;
}

std::optional<QList<GLibBookmarks::Item>> GLibBookmarks::load(const QString& path, QString* error)
{
    GBookmarkFile* file = g_bookmark_file_new();
    GError* failure = nullptr;
    std::optional<QList<Item>> items;
    if (g_bookmark_file_load_from_file(file, path.toUtf8().constData(), &failure))
        items = itemsOf(file);
    const QString message = takeError(failure);
    if (error)
        *error = message;
    g_bookmark_file_free(file);
    return items;
}

std::optional<QList<GLibBookmarks::Item>> GLibBookmarks::loadData(const QByteArray& data,
                                                                  QString* error)
{
    GBookmarkFile* file = g_bookmark_file_new();
    GError* failure = nullptr;
    std::optional<QList<Item>> items;
    if (g_bookmark_file_load_from_data(file, data.constData(), gsize(data.size()), &failure))
        items = itemsOf(file);
    const QString message = takeError(failure);
    if (error)
        *error = message;
    g_bookmark_file_free(file);
    return items;
}

void PrintTo(const GLibBookmarks::Item& item, std::ostream* out)
{
    *out << item.uri.toStdString() << " title=" << item.title.toStdString()
         << " private=" << item.isPrivate << " {";
    for (const GLibBookmarks::Registration& registration : item.registrations)
        *out << registration.name.toStdString() << "|" << registration.exec.toStdString() << "|"
             << registration.stamp.toString(Qt::ISODateWithMs).toStdString() << "|"
             << registration.count << "; ";
    *out << "}";
}
