#include "UserDefaults.h"

#include "DeferredTask.h"

#include <QFileInfo>
#include <QMutexLocker>
#include <QSettings>
#include <QStandardPaths>

namespace {
// Long enough to gather the writes of one moment (a theme change, a focus change) into one.
constexpr std::chrono::milliseconds gatheringTime{200};

QString storePath(UserDefaults::Domain domain)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/ostrel/");
    return folder + (domain == UserDefaults::Domain::Application
                         ? QStringLiteral("Vorlane.conf")
                         : QStringLiteral("GlobalPreferences.conf"));
}

const QString& showAllExtensionsKey()
{
    static const QString key = QStringLiteral("AppleShowAllExtensions");
    return key;
}

bool isWrittenAsPlainText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

// The file holds text: a Boolean true read back from it is the text "true", the same setting as
// the Boolean stored.
bool isSameSetting(const QVariant& stored, const QVariant& value)
{
    if (stored == value)
        return true;
    return isWrittenAsPlainText(stored) && isWrittenAsPlainText(value) &&
           stored.toString() == value.toString();
}
} // namespace

UserDefaults::UserDefaults(Domain domain)
    : m_domain(domain)
    , m_writer(std::make_unique<DeferredTask>(gatheringTime, [this] { synchronize(); }))
{
    reload();
}

UserDefaults::~UserDefaults()
{
    // Stops the writer thread, which writes first what it was asked to.
    m_writer.reset();
    synchronize();
}

UserDefaults& UserDefaults::standard()
{
    static UserDefaults defaults(Domain::Application);
    return defaults;
}

UserDefaults& UserDefaults::global()
{
    static UserDefaults defaults(Domain::Global);
    return defaults;
}

void UserDefaults::reload()
{
    synchronize();
    const QString path = storePath(m_domain);
    const bool fileExists = QFileInfo::exists(path);
    QHash<QString, QVariant> values;
    const QSettings settings(path, QSettings::NativeFormat);
    const QStringList keys = settings.allKeys();
    for (const QString& key : keys)
        values.insert(key, settings.value(key));

    const QMutexLocker locker(&m_mutex);
    m_path = path;
    m_fileExisted = fileExists;
    m_values = std::move(values);
    // Written by another thread while the file was being read: not on disk yet, but set.
    if (m_pendingPath == m_path) {
        for (const auto& [key, value] : m_pending) {
            if (value)
                m_values.insert(key, *value);
            else
                m_values.remove(key);
        }
    }
}

bool UserDefaults::objectIsPresent(const QString& key) const
{
    const QMutexLocker locker(&m_mutex);
    if (m_domain == Domain::Global && !m_fileExisted && key == showAllExtensionsKey())
        return true;
    return m_values.contains(key);
}

QVariant UserDefaults::object(const QString& key) const
{
    const QMutexLocker locker(&m_mutex);
    if (m_domain == Domain::Global && !m_fileExisted && key == showAllExtensionsKey())
        return QStringLiteral("true");
    return m_values.value(key);
}

QString UserDefaults::filePath() const
{
    const QMutexLocker locker(&m_mutex);
    return m_path;
}

QString UserDefaults::stringForKey(const QString& key) const
{
    return object(key).toString();
}

bool UserDefaults::boolForKey(const QString& key) const
{
    return object(key).toBool();
}

void UserDefaults::setObject(const QString& key, const QVariant& value)
{
    change(key, value);
}

void UserDefaults::removeObject(const QString& key)
{
    change(key, std::nullopt);
}

void UserDefaults::change(const QString& key, const std::optional<QVariant>& value)
{
    {
        const QMutexLocker locker(&m_mutex);
        const auto stored = m_values.constFind(key);
        const bool present = stored != m_values.cend();
        if (value ? present && isSameSetting(*stored, *value) : !present)
            return;
        if (value)
            m_values.insert(key, *value);
        else
            m_values.remove(key);
        if (value)
            m_fileExisted = true;
        m_pending[key] = value;
        m_pendingPath = m_path;
    }
    if (m_writer)
        m_writer->ask();
}

void UserDefaults::synchronize()
{
    const QMutexLocker writing(&m_writeMutex);
    Changes changes;
    QString path;
    {
        const QMutexLocker locker(&m_mutex);
        changes.swap(m_pending);
        path = m_pendingPath;
    }
    if (changes.empty())
        return;
    // Only the keys changed here are written: what other programs wrote meanwhile stays.
    QSettings settings(path, QSettings::NativeFormat);
    for (const auto& [key, value] : changes) {
        if (value)
            settings.setValue(key, *value);
        else
            settings.remove(key);
    }
    settings.sync();
}
