// Global shortcuts through the desktop portal, against a stand-in portal on a private session
// bus: the shortcut is offered with its trigger, Activated presses it, Deactivated releases it.
#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/CarbonKeyCodes.h"
#include "HotKeys/HotKeys.h"
#include "HotKeys/PortalHotKeyBackend.h"
#include "HotKeys/UnavailableHotKeyBackend.h"
#include "Wait.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QGuiApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace HotKeys;

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString sessionPath = QStringLiteral("/org/freedesktop/portal/desktop/session/test/vorlane");

struct BoundShortcut
{
    QString id;
    QString trigger;
};

// Answers the calls the backend makes, on its own bus connection and thread, as the portal
// does: a Response signal on the request object for CreateSession and BindShortcuts.
class StandInPortal : public QDBusVirtualObject
{
public:
    explicit StandInPortal(QDBusConnection connection)
        : m_connection(std::move(connection))
    {}

    QString introspect(const QString&) const override { return QString(); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override
    {
        if (message.member() == u"Get")
            return reply(message, QVariant::fromValue(QDBusVariant(1U)));
        if (message.member() == u"CreateSession")
            return createSession(message);
        if (message.member() == u"BindShortcuts")
            return bindShortcuts(message);
        return false;
    }

    QList<QList<BoundShortcut>> binds() const
    {
        QMutexLocker locker(&m_mutex);
        return m_binds;
    }

    void emitShortcutSignal(const QString& member, const QString& id)
    {
        QDBusMessage signal = QDBusMessage::createSignal(portalPath, shortcutsInterface, member);
        signal << QVariant::fromValue(QDBusObjectPath(sessionPath)) << id
               << QVariant::fromValue(qulonglong(1234)) << QVariantMap();
        m_connection.send(signal);
    }

private:
    bool reply(const QDBusMessage& message, const QVariant& value)
    {
        return m_connection.send(message.createReply(value));
    }

    QString requestPath(const QDBusMessage& message, const QVariantMap& options) const
    {
        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        return portalPath + u"/request/"_qs + sender + u"/"_qs +
               options.value(u"handle_token"_qs).toString();
    }

    void respond(const QString& request, const QVariantMap& results)
    {
        QDBusMessage response = QDBusMessage::createSignal(
            request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        response << 0U << results;
        m_connection.send(response);
    }

    bool createSession(const QDBusMessage& message)
    {
        const auto options = qdbus_cast<QVariantMap>(message.arguments().at(0));
        const QString request = requestPath(message, options);
        reply(message, QVariant::fromValue(QDBusObjectPath(request)));
        respond(request, {{u"session_handle"_qs, sessionPath}});
        return true;
    }

    bool bindShortcuts(const QDBusMessage& message)
    {
        QList<BoundShortcut> bound;
        const auto shortcuts = message.arguments().at(1).value<QDBusArgument>();
        shortcuts.beginArray();
        while (!shortcuts.atEnd()) {
            QString id;
            QVariantMap properties;
            shortcuts.beginStructure();
            shortcuts >> id >> properties;
            shortcuts.endStructure();
            bound.append({id, properties.value(u"preferred_trigger"_qs).toString()});
        }
        shortcuts.endArray();
        {
            QMutexLocker locker(&m_mutex);
            m_binds.append(bound);
        }
        const auto options = qdbus_cast<QVariantMap>(message.arguments().at(3));
        const QString request = requestPath(message, options);
        reply(message, QVariant::fromValue(QDBusObjectPath(request)));
        respond(request, {});
        return true;
    }

    QDBusConnection m_connection;
    mutable QMutex m_mutex;
    QList<QList<BoundShortcut>> m_binds;
};

class PortalTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            return;
        thread = new QThread;
        thread->start();
        QDBusConnection connection =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"standInPortal"_qs);
        portal = new StandInPortal(connection);
        portal->moveToThread(thread);
        connection.registerVirtualObject(portalPath, portal);
        connection.registerService(portalService);
    }

    static void TearDownTestSuite()
    {
        if (!thread)
            return;
        QDBusConnection::disconnectFromBus(u"standInPortal"_qs);
        thread->quit();
        thread->wait();
    }

    void SetUp() override
    {
        if (!portal)
            GTEST_SKIP() << "no session bus";
    }

    static inline QThread* thread = nullptr;
    static inline StandInPortal* portal = nullptr;
};

} // namespace

TEST_F(PortalTest, TheShortcutIsOfferedAndActivatedAndDeactivatedReachTheHandlers)
{
    auto backend = HotKeyBackend::createForSession();
    ASSERT_NE(dynamic_cast<PortalHotKeyBackend*>(backend.get()), nullptr);
    CarbonHotKeys::setBackend(std::move(backend));

    const Name& toggleApp = Name::toggleApp();
    int keyDowns = 0;
    int keyUps = 0;
    addKeyDownHandler(toggleApp, [&] { ++keyDowns; });
    addKeyUpHandler(toggleApp, [&] { ++keyUps; });
    ASSERT_TRUE(waitUntil([] { return !portal->binds().isEmpty(); }));
    const QList<BoundShortcut> bound = portal->binds().first();
    ASSERT_EQ(bound.size(), 1);
    EXPECT_EQ(bound[0].trigger, u"CTRL+SHIFT+space");
    const QString id = bound[0].id;

    portal->emitShortcutSignal(u"Activated"_qs, id);
    ASSERT_TRUE(waitUntil([&] { return keyDowns == 1; }));
    EXPECT_EQ(keyUps, 0);
    portal->emitShortcutSignal(u"Deactivated"_qs, id);
    ASSERT_TRUE(waitUntil([&] { return keyUps == 1; }));
    EXPECT_EQ(lastEventTimestamp(), 1234U);

    // Pausing in and out of menus must not ask the desktop again; a new shortcut does.
    setShortcutsEnabled(false);
    setShortcutsEnabled(true);
    const Name other(u"portalOther"_qs, Shortcut{CarbonKey::ANSI_K, CarbonModifier::cmdKey |
                                                                        CarbonModifier::optionKey});
    ASSERT_TRUE(waitUntil([] { return portal->binds().size() >= 2; }));
    ASSERT_EQ(portal->binds().size(), 2);
    const QList<BoundShortcut> second = portal->binds().at(1);
    ASSERT_EQ(second.size(), 2);
    EXPECT_EQ(second[1].trigger, u"CTRL+ALT+k");

    // Ids the facility no longer knows are not delivered.
    portal->emitShortcutSignal(u"Deactivated"_qs, u"hotkey-999"_qs);
    portal->emitShortcutSignal(u"Deactivated"_qs, id);
    ASSERT_TRUE(waitUntil([&] { return keyUps == 2; }));
}

TEST(UnavailableBackend, SaysSoOnceAndRegistersNothing)
{
    UnavailableHotKeyBackend backend;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(backend.registerHotKey(Shortcut{CarbonKey::Space, 768}, 1));
    EXPECT_FALSE(backend.registerHotKey(Shortcut{CarbonKey::ANSI_K, 256}, 2));
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output, "Global shortcuts are not available in this session; bind \"Vorlane "
                      "--toggle\" in the desktop's keyboard settings instead.\n");
}

int main(int argc, char** argv)
{
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    qputenv("XDG_SESSION_TYPE", "wayland");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
