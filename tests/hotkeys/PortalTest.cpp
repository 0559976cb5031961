// Global shortcuts through the desktop portal, against a stand-in portal on the private session
// bus: each name is offered under its own id with its shortcut as the preferred trigger, the
// desktop's answer (its own trigger, or a refusal) is what the facility reports, and Activated
// and Deactivated press and release the shortcut.
#include "ApplicationName.h"
#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/CarbonKeyCodes.h"
#include "HotKeys/HotKeys.h"
#include "HotKeys/PortalHotKeyBackend.h"
#include "HotKeys/UnavailableHotKeyBackend.h"
#include "StandInShortcutsPortal.h"
#include "Wait.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace HotKeys;

namespace {

using Bound = StandInShortcutsPortal::Bound;
using State = SystemBinding::State;
constexpr int cmd = CarbonModifier::cmdKey;
constexpr int option = CarbonModifier::optionKey;

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
        portal = new StandInShortcutsPortal(connection);
        portal->moveToThread(thread);
        connection.registerVirtualObject(StandInShortcutsPortal::servicePath, portal);
        connection.registerService(u"org.freedesktop.portal.Desktop"_qs);
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
        portal->reset();
    }

    // A backend with a session of its own; registrations made before it are not its own.
    static void useNewBackend()
    {
        auto backend = HotKeyBackend::createForSession();
        ASSERT_NE(dynamic_cast<PortalHotKeyBackend*>(backend.get()), nullptr);
        CarbonHotKeys::setBackend(std::move(backend));
    }

    // A name of this test's own, registered through its default.
    static Name newName(const Shortcut& shortcut, const Name::Purpose& purpose = {})
    {
        static int counter = 0;
        return Name(u"portalName%1"_qs.arg(++counter), shortcut, purpose);
    }

    static bool waitForBinds(qsizetype count)
    {
        return waitUntil([count] { return portal->binds().size() >= count; });
    }

    static inline QThread* thread = nullptr;
    static inline StandInShortcutsPortal* portal = nullptr;
};

} // namespace

TEST_F(PortalTest, TheShortcutIsOfferedAndActivatedAndDeactivatedReachTheHandlers)
{
    useNewBackend();
    const Name name = newName(Shortcut{CarbonKey::Space, cmd | CarbonModifier::shiftKey},
                              {u"Show or hide the window"_qs, {}});
    int keyDowns = 0;
    int keyUps = 0;
    addKeyDownHandler(name, [&] { ++keyDowns; });
    addKeyUpHandler(name, [&] { ++keyUps; });
    ASSERT_TRUE(waitForBinds(1));
    const QList<Bound> bound = portal->binds().first();
    ASSERT_EQ(bound.size(), 1);
    EXPECT_EQ(bound[0].id, name.rawValue());
    EXPECT_EQ(bound[0].preferredTrigger, u"CTRL+SHIFT+space");
    EXPECT_EQ(bound[0].description, u"Show or hide the window") << "as the application said";

    portal->emitShortcutSignal(u"Activated"_qs, name.rawValue());
    ASSERT_TRUE(waitUntil([&] { return keyDowns == 1; }));
    EXPECT_EQ(keyUps, 0);
    portal->emitShortcutSignal(u"Deactivated"_qs, name.rawValue());
    ASSERT_TRUE(waitUntil([&] { return keyUps == 1; }));
    EXPECT_EQ(lastEventTimestamp(), 1234U);

    // Pausing in and out of menus must not ask the desktop again; a new name does.
    setShortcutsEnabled(false);
    setShortcutsEnabled(true);
    const Name other = newName(Shortcut{CarbonKey::ANSI_K, cmd | option});
    ASSERT_TRUE(waitForBinds(2));
    ASSERT_EQ(portal->binds().size(), 2);
    const QList<Bound> second = portal->binds().at(1);
    ASSERT_EQ(second.size(), 2);
    EXPECT_EQ(second[0].id, name.rawValue());
    EXPECT_EQ(second[1].id, other.rawValue());
    EXPECT_EQ(second[1].preferredTrigger, u"CTRL+ALT+k");
    EXPECT_EQ(second[1].description, other.rawValue()) << "a name that says nothing: its id";

    // Ids the facility does not know are not delivered.
    portal->emitShortcutSignal(u"Deactivated"_qs, u"hotkey-999"_qs);
    portal->emitShortcutSignal(u"Deactivated"_qs, name.rawValue());
    ASSERT_TRUE(waitUntil([&] { return keyUps == 2; }));
}

// Recording another shortcut offers the same portal shortcut again, with the new trigger,
// rather than a second one beside the old.
TEST_F(PortalTest, ANewShortcutIsOfferedUnderTheSameId)
{
    useNewBackend();
    const Name name = newName(Shortcut{CarbonKey::ANSI_J, cmd | option});
    int keyUps = 0;
    addKeyUpHandler(name, [&] { ++keyUps; });
    ASSERT_TRUE(waitForBinds(1));
    setShortcutForName(Shortcut{CarbonKey::ANSI_U, cmd | option}, name);
    ASSERT_TRUE(waitForBinds(2));
    const QList<Bound> rebound = portal->binds().at(1);
    ASSERT_EQ(rebound.size(), 1);
    EXPECT_EQ(rebound[0].id, portal->binds().at(0).at(0).id);
    EXPECT_EQ(rebound[0].preferredTrigger, u"CTRL+ALT+u");

    portal->emitShortcutSignal(u"Deactivated"_qs, name.rawValue());
    ASSERT_TRUE(waitUntil([&] { return keyUps == 1; }));
}

// Until the desktop answers the shortcut is only asked for; then it is bound to the trigger the
// desktop chose, and follows the user's later changes in the desktop's settings.
TEST_F(PortalTest, TheDesktopsAnswerAndItsTriggerAreReported)
{
    useNewBackend();
    portal->holdAnswers();
    int announcements = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&ShortcutNotifier::instance(), &ShortcutNotifier::systemBindingDidChange,
                         [&] { ++announcements; });
    const Name name = newName(Shortcut{CarbonKey::ANSI_H, cmd | option});
    portal->assignTrigger(name.rawValue(), u"Ctrl+Alt+V"_qs);
    ASSERT_TRUE(waitForBinds(1));
    EXPECT_EQ(systemBinding(name).state, State::pending);

    announcements = 0;
    portal->releaseAnswers();
    ASSERT_TRUE(waitUntil([&] { return systemBinding(name).state == State::granted; }));
    EXPECT_EQ(systemBinding(name).trigger, u"Ctrl+Alt+V");
    EXPECT_GE(announcements, 1);

    portal->emitShortcutsChanged(name.rawValue(), u"Meta+V"_qs);
    ASSERT_TRUE(waitUntil([&] { return systemBinding(name).trigger == u"Meta+V"; }));
    QObject::disconnect(counting);
}

TEST_F(PortalTest, ARefusalLeavesTheShortcutUngranted)
{
    struct Refusal
    {
        const char* what;
        std::function<void(const QString& id)> configure;
        int key;
    };
    const Refusal refusals[] = {
        {"the session is refused", [](const QString&) { portal->setSessionResponse(2); },
         CarbonKey::ANSI_A},
        {"the user cancels the binding", [](const QString&) { portal->setBindResponse(1); },
         CarbonKey::ANSI_S},
        {"no trigger is assigned", [](const QString& id) { portal->assignTrigger(id, u""_qs); },
         CarbonKey::ANSI_D},
        {"the shortcut is left out", [](const QString& id) { portal->assignTrigger(id, {}); },
         CarbonKey::ANSI_F},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        portal->reset();
        const QString id = u"refused%1"_qs.arg(refusal.key);
        refusal.configure(id);
        ASSERT_NO_FATAL_FAILURE(useNewBackend());
        const Name name(id, Shortcut{refusal.key, cmd | option});
        EXPECT_TRUE(waitUntil([&] { return systemBinding(name).state == State::refused; }));
        EXPECT_TRUE(systemBinding(name).trigger.isEmpty());
    }
}

// The hint names the command the application gave its shortcut's name.
TEST(UnavailableBackend, SaysSoOnceAndRegistersNothing)
{
    auto installed = std::make_unique<UnavailableHotKeyBackend>();
    UnavailableHotKeyBackend& backend = *installed;
    CarbonHotKeys::setBackend(std::move(installed));
    testing::internal::CaptureStdout();
    addKeyUpHandler(appToggleName(), [] {});
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
