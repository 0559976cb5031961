#include "UserDefaults.h"

#include <QFileInfo>
#include <QMutexLocker>
#include <QSettings>
#include <QStandardPaths>

namespace {
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
} // namespace

UserDefaults::UserDefaults(Domain domain)
    : m_domain(domain)
{
    reload();
}

UserDefaults::~UserDefaults() = default;

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
    const QMutexLocker locker(&m_mutex);
    m_path = storePath(m_domain);
    m_fileExisted = QFileInfo::exists(m_path);
    m_settings = std::make_unique<QSettings>(m_path, QSettings::NativeFormat);
}

bool UserDefaults::objectIsPresent(const QString& key) const
{
    const QMutexLocker locker(&m_mutex);
    if (m_domain == Domain::Global && !m_fileExisted && key == showAllExtensionsKey())
        return true;
    return m_settings->contains(key);
}

QVariant UserDefaults::object(const QString& key) const
{
    const QMutexLocker locker(&m_mutex);
    if (m_domain == Domain::Global && !m_fileExisted && key == showAllExtensionsKey())
        return QStringLiteral("true");
    return m_settings->value(key);
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
    const QMutexLocker locker(&m_mutex);
    m_settings->setValue(key, value);
    m_settings->sync();
    m_fileExisted = true;
}

void UserDefaults::removeObject(const QString& key)
{
    const QMutexLocker locker(&m_mutex);
    m_settings->remove(key);
    m_settings->sync();
}
