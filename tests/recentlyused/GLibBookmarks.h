#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// GLib's own bookmark-file code (GBookmarkFile), which GTK uses to write recently-used.xbel: the
// reference writer of the files the tests read, and the reference reader of what Vorlane writes.
class GLibBookmarks
{
public:
    struct Registration
    {
        QString name;
        // As GLib hands it back: unquoted, with %u and %f expanded for the document.
        QString exec;
        QDateTime stamp;
        int count = 0;

        friend bool operator==(const Registration&, const Registration&) = default;
    };

    struct Item
    {
        QString uri;
        QString title;
        bool isPrivate = false;
        QStringList groups;
        QString mimeType;
        QList<Registration> registrations;

        friend bool operator==(const Item&, const Item&) = default;
    };

    GLibBookmarks();
    ~GLibBookmarks();
    GLibBookmarks(const GLibBookmarks&) = delete;
    GLibBookmarks& operator=(const GLibBookmarks&) = delete;

    // Registers the document for the application as GTK's recent manager does: GLib stores the
    // exec line shell-quoted and the stamp with microseconds.
    void registerDocument(const QString& uri, const QString& name, const QString& exec,
                          const QDateTime& stamp, int count = 1);
    void setTitle(const QString& uri, const QString& title);
    void setPrivate(const QString& uri, bool isPrivate);
    void addGroup(const QString& uri, const QString& group);
    void setMimeType(const QString& uri, const QString& mimeType);

    // g_bookmark_file_to_file: a temporary file in the same folder renamed over the target.
    bool save(const QString& path, QString* error = nullptr) const;
    QByteArray data() const;

    // What GLib reads from the file, in its order, registrations sorted by name; none when GLib
    // refuses the file.
    static std::optional<QList<Item>> load(const QString& path, QString* error = nullptr);
    static std::optional<QList<Item>> loadData(const QByteArray& data, QString* error = nullptr);

private:
    struct _GBookmarkFile* m_file;
};

void PrintTo(const GLibBookmarks::Item& item, std::ostream* out);
