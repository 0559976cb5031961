// The window-system backend goes with the application object: Qt closes its connection to the
// window system when the application goes, so a backend that lived on (in a function-local
// static) would ungrab through a freed connection at exit. Under the X server that
// scripts/session.sh provides the backend is the real X11 one, holding real grabs.
#include "ApplicationName.h"
#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/CarbonKeyCodes.h"
#include "HotKeys/HotKeys.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace HotKeys;

namespace {

struct Lifetime
{
    bool destroyed = false;
    bool applicationStillThere = false;
};

// The session's own backend, noting when it goes.
class WatchedBackend : public HotKeyBackend
{
public:
    explicit WatchedBackend(Lifetime& lifetime)
        : m_inner(createForSession())
        , m_lifetime(lifetime)
    {}

    ~WatchedBackend() override
    {
        m_inner.reset();
        m_lifetime.destroyed = true;
        m_lifetime.applicationStillThere = QCoreApplication::instance() != nullptr;
    }

    bool registerHotKey(const Shortcut& shortcut, std::uint32_t id) override
    {
        return m_inner->registerHotKey(shortcut, id);
    }
    void unregisterHotKey(std::uint32_t id) override { m_inner->unregisterHotKey(id); }
    bool installEventHandler(EventCallback callback) override
    {
        return m_inner->installEventHandler(std::move(callback));
    }
    void setHotKeyEventsEnabled(bool enabled) override { m_inner->setHotKeyEventsEnabled(enabled); }

private:
    std::unique_ptr<HotKeyBackend> m_inner;
    Lifetime& m_lifetime;
};

} // namespace

TEST(ApplicationExit, TheBackendGoesBeforeTheApplicationObject)
{
    int argc = 1;
    char name[] = "hotkeys_application_exit_test";
    char* argv[] = {name, nullptr};
    auto application = std::make_unique<QGuiApplication>(argc, argv);
    Lifetime lifetime;
    CarbonHotKeys::setBackend(std::make_unique<WatchedBackend>(lifetime));
    addKeyUpHandler(appToggleName(), [] {});
    ASSERT_FALSE(CarbonHotKeys::hotKeys().isEmpty());

    application.reset();
    EXPECT_TRUE(lifetime.destroyed);
    EXPECT_TRUE(lifetime.applicationStillThere);
}

int main(int argc, char** argv)
{
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("XDG_SESSION_TYPE");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
