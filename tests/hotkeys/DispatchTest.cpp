// Handler tables, dispatch, pausing, enabling, menus and the hot-key event callback.
#include "ApplicationName.h"
#include "FakeHotKeyBackend.h"
#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/CarbonKeyCodes.h"
#include "HotKeys/HotKeys.h"
#include "Wait.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

using namespace HotKeys;

namespace {

constexpr int cmd = CarbonModifier::cmdKey;
constexpr int option = CarbonModifier::optionKey;

// Every test uses its own key, so registrations of earlier tests do not interfere.
Shortcut uniqueShortcut(int carbonKeyCode)
{
    return Shortcut{carbonKeyCode, cmd | option};
}

FakeHotKeyBackend& backend()
{
    return *FakeHotKeyBackend::installed();
}

std::optional<CarbonHotKeys::HotKey> hotKeyFor(const Shortcut& shortcut)
{
    for (const CarbonHotKeys::HotKey& hotKey : CarbonHotKeys::hotKeys()) {
        if (hotKey.shortcut == shortcut)
            return hotKey;
    }
    return std::nullopt;
}

int registrationsOf(const Shortcut& shortcut)
{
    int count = 0;
    for (const auto& [id, registered] : backend().registered)
        count += registered == shortcut ? 1 : 0;
    return count;
}

} // namespace

TEST(Dispatch, KeyUpHandlersRunOnReleaseAndKeyDownHandlersOnPress)
{
    const Shortcut shortcut = uniqueShortcut(CarbonKey::ANSI_A);
    const Name name(u"upAndDown"_qs);
    setShortcutForName(shortcut, name);
    QStringList calls;
    addKeyDownHandler(name, [&] { calls << u"down"_qs; });
    addKeyUpHandler(name, [&] { calls << u"up"_qs; });

    EXPECT_EQ(backend().press(shortcut), noErr);
    EXPECT_EQ(calls, QStringList{u"down"_qs});
    EXPECT_EQ(backend().release(shortcut), noErr);
    EXPECT_EQ(calls, (QStringList{u"down"_qs, u"up"_qs}));
}

TEST(Dispatch, HandlersRunInTheOrderAdded)
{
    const Shortcut shortcut = uniqueShortcut(CarbonKey::ANSI_B);
    const Name name(u"ordered"_qs);
    setShortcutForName(shortcut, name);
    QList<int> calls;
    for (int index = 0; index < 4; ++index)
        addKeyUpHandler(name, [&calls, index] { calls << index; });

    backend().release(shortcut);
    EXPECT_EQ(calls, (QList<int>{0, 1, 2, 3}));
}

TEST(Dispatch, TwoNamesOnOneShortcutShareOneRegistrationAndBothRun)
{
    const Shortcut shortcut = uniqueShortcut(CarbonKey::ANSI_C);
    const Name first(u"sharedFirst"_qs);
    const Name second(u"sharedSecond"_qs);
    setShortcutForName(shortcut, first);
    setShortcutForName(shortcut, second);
    QStringList calls;
    addKeyUpHandler(first, [&] { calls << u"first"_qs; });
    addKeyUpHandler(second, [&] { calls << u"second"_qs; });

    EXPECT_EQ(registrationsOf(shortcut), 1);
    backend().release(shortcut);
    EXPECT_EQ(calls, (QStringList{u"first"_qs, u"second"_qs}));
}

// Moving one of two names to another shortcut must not take the other's hot key away.
TEST(Dispatch, ChangingOneSharingNameKeepsTheOthersHotKey)
{
    const Shortcut shared = uniqueShortcut(CarbonKey::ANSI_D);
    const Shortcut moved = uniqueShortcut(CarbonKey::ANSI_E);
    const Name staying(u"staying"_qs);
    const Name moving(u"moving"_qs);
    setShortcutForName(shared, staying);
    setShortcutForName(shared, moving);
    int stayingCalls = 0;
    addKeyUpHandler(staying, [&] { ++stayingCalls; });

    setShortcutForName(moved, moving);
    EXPECT_EQ(registrationsOf(shared), 1);
    backend().release(shared);
    EXPECT_EQ(stayingCalls, 1);

    setShortcutForName(std::nullopt, staying);
    EXPECT_EQ(registrationsOf(shared), 0);
}

TEST(Dispatch, NothingRunsWhilePaused)
{
    const Shortcut shortcut = uniqueShortcut(CarbonKey::ANSI_F);
    const Name name(u"paused"_qs);
    setShortcutForName(shortcut, name);
    int calls = 0;
    addKeyUpHandler(name, [&] { ++calls; });

    setShortcutsPaused(true);
    backend().press(shortcut);
    backend().release(shortcut);
    setShortcutsPaused(false);
    EXPECT_EQ(calls, 0);
    // Still registered: only the dispatch was held back.
    EXPECT_EQ(registrationsOf(shortcut), 1);
    backend().release(shortcut);
    EXPECT_EQ(calls, 1);
}

TEST(Dispatch, AddingAHandlerRegistersTheStoredShortcut)
{
    const Shortcut shortcut = uniqueShortcut(CarbonKey::ANSI_G);
    const Name name(u"storedBeforeStart"_qs);
    shortcutStore().setValue(name.storageKey(), QString::fromUtf8(shortcut.toJson()));
    EXPECT_EQ(registrationsOf(shortcut), 0);

    int calls = 0;
    addKeyUpHandler(name, [&] { ++calls; });
    EXPECT_EQ(registrationsOf(shortcut), 1);
    addKeyDownHandler(name, [] {});
    EXPECT_EQ(registrationsOf(shortcut), 1);
    backend().release(shortcut);
    EXPECT_EQ(calls, 1);
}

TEST(Dispatch, IdsStartAtOneAndAreNeverReused)
{
    const Shortcut shortcut = uniqueShortcut(CarbonKey::ANSI_H);
    const Name name(u"ids"_qs);
    setShortcutForName(shortcut, name);
    EXPECT_EQ(backend().registerCalls.first(), 1u);
    const std::uint32_t firstId = hotKeyFor(shortcut)->carbonHotKeyId;
    setShortcutForName(std::nullopt, name);
    setShortcutForName(shortcut, name);
    EXPECT_GT(hotKeyFor(shortcut)->carbonHotKeyId, firstId);
}

TEST(Dispatch, ATakenCombinationFailsSilentlyAndStaysStored)
{
    const Shortcut shortcut = uniqueShortcut(CarbonKey::ANSI_I);
    backend().taken.insert(shortcut);
    const Name name(u"taken"_qs);
    setShortcutForName(shortcut, name);
    EXPECT_EQ(shortcutForName(name), shortcut);
    EXPECT_FALSE(hotKeyFor(shortcut).has_value());

    // It counts as registered: adding a handler does not try again.
    const qsizetype attempts = backend().registerCalls.size();
    addKeyUpHandler(name, [] {});
    EXPECT_EQ(backend().registerCalls.size(), attempts);
    backend().taken.clear();
}

TEST(Dispatch, DisablingUnregistersSoftlyAndEnablingRestoresTheSameIds)
{
    const Shortcut shortcut = uniqueShortcut(CarbonKey::ANSI_J);
    const Name name(u"disabled"_qs);
    setShortcutForName(shortcut, name);
    int calls = 0;
    addKeyUpHandler(name, [&] { ++calls; });
    const std::uint32_t id = hotKeyFor(shortcut)->carbonHotKeyId;

    setShortcutsEnabled(false);
    EXPECT_EQ(registrationsOf(shortcut), 0);
    EXPECT_FALSE(hotKeyFor(shortcut)->carbonHotKey);
    backend().eventsEnabled = true;
    backend().release(shortcut);
    EXPECT_EQ(calls, 0);

    setShortcutsEnabled(true);
    EXPECT_EQ(registrationsOf(shortcut), 1);
    EXPECT_EQ(backend().registered.count(id), 1u);
    backend().release(shortcut);
    EXPECT_EQ(calls, 1);
}

TEST(Dispatch, AFailedReRegistrationDropsTheHotKey)
{
    const Shortcut shortcut = uniqueShortcut(CarbonKey::ANSI_K);
    const Name name(u"lostOnReRegistration"_qs);
    setShortcutForName(shortcut, name);
    setShortcutsEnabled(false);
    backend().taken.insert(shortcut);
    setShortcutsEnabled(true);
    backend().taken.clear();
    EXPECT_FALSE(hotKeyFor(shortcut).has_value());
}

TEST(EventCallback, AnswersOnlyForItsOwnHotKeys)
{
    const Shortcut shortcut = uniqueShortcut(CarbonKey::ANSI_L);
    const Name name(u"callback"_qs);
    setShortcutForName(shortcut, name);
    const std::uint32_t id = hotKeyFor(shortcut)->carbonHotKeyId;

    HotKeyEvent event;
    event.kind = HotKeyEvent::Kind::HotKeyPressed;
    event.id = id;
    event.signature = 0x41424344;
    EXPECT_EQ(CarbonHotKeys::handleEvent(event), eventNotHandledErr);
    event.signature = CarbonHotKeys::signature;
    EXPECT_EQ(CarbonHotKeys::handleEvent(event), noErr);
    event.id = 999999;
    EXPECT_EQ(CarbonHotKeys::handleEvent(event), eventNotHandledErr);

    HotKeyEvent raw;
    raw.kind = HotKeyEvent::Kind::RawKeyUp;
    raw.keyCode = shortcut.carbonKeyCode;
    // Bits other than the four modifiers are dropped before matching.
    raw.modifiers = shortcut.carbonModifiers | 0x4000;
    EXPECT_EQ(CarbonHotKeys::handleEvent(raw), noErr);
    raw.keyCode = CarbonKey::F19;
    EXPECT_EQ(CarbonHotKeys::handleEvent(raw), eventNotHandledErr);
}

TEST(EventCallback, AHandlerMayRemoveItsOwnShortcut)
{
    const Shortcut shortcut = uniqueShortcut(CarbonKey::ANSI_M);
    const Name name(u"selfRemoving"_qs);
    setShortcutForName(shortcut, name);
    int calls = 0;
    addKeyUpHandler(name, [&] {
        ++calls;
        setShortcutForName(std::nullopt, name);
        addKeyUpHandler(name, [&] { ++calls; });
    });
    EXPECT_EQ(backend().release(shortcut), noErr);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(hotKeyFor(shortcut).has_value());
}

// A menu holds the keyboard while open; the shortcut must work through its key events.
TEST(MenuTracking, ShortcutWorksWhileAMenuIsOpenAndComesBackWithTheSameId)
{
    const Shortcut shortcut{CarbonKey::Space, cmd | CarbonModifier::shiftKey};
    const Name& toggleApp = appToggleName();
    setShortcutForName(shortcut, toggleApp);
    QStringList calls;
    addKeyDownHandler(toggleApp, [&] { calls << u"down"_qs; });
    addKeyUpHandler(toggleApp, [&] { calls << u"up"_qs; });
    const std::uint32_t id = hotKeyFor(shortcut)->carbonHotKeyId;

    QMenu menu;
    QAction* open = menu.addAction(u"Open Vorlane"_qs);
    bindMenuItemToShortcut(open, toggleApp);
    QAction* other = menu.addAction(u"Other"_qs);
    other->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Space));
    int triggered = 0;
    QObject::connect(other, &QAction::triggered, [&] { ++triggered; });
    menu.popup(QPoint(10, 10));
    ASSERT_TRUE(waitUntil([] { return CarbonHotKeys::menuTracking(); }));
    EXPECT_EQ(registrationsOf(shortcut), 0);
    EXPECT_FALSE(backend().eventsEnabled);

    QTest::keyPress(&menu, Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyRelease(&menu, Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(calls, (QStringList{u"down"_qs, u"up"_qs}));
    EXPECT_EQ(triggered, 0);

    // Letting go of the modifiers before the key still releases the shortcut.
    QTest::keyPress(&menu, Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyRelease(&menu, Qt::Key_Control, Qt::ShiftModifier);
    QTest::keyRelease(&menu, Qt::Key_Shift, Qt::NoModifier);
    QTest::keyRelease(&menu, Qt::Key_Space, Qt::NoModifier);
    EXPECT_EQ(calls, (QStringList{u"down"_qs, u"up"_qs, u"down"_qs, u"up"_qs}));

    menu.hide();
    ASSERT_TRUE(waitUntil([] { return !CarbonHotKeys::menuTracking(); }));
    EXPECT_EQ(backend().registered.count(id), 1u);
    EXPECT_TRUE(backend().eventsEnabled);
}

TEST(MenuItemBinding, TheItemShowsTheShortcutAndFollowsItsChanges)
{
    const Name name(u"boundItem"_qs);
    setShortcutForName(Shortcut{CarbonKey::ANSI_O, cmd | CarbonModifier::shiftKey}, name);
    auto action = std::make_unique<QAction>(u"Open"_qs);

    bindMenuItemToShortcut(action.get(), name);
    // Applied on the next turn of the event loop.
    ASSERT_TRUE(waitUntil([&] { return !action->shortcut().isEmpty(); }));
    EXPECT_EQ(action->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));

    setShortcutForName(Shortcut{CarbonKey::F5, 0}, name);
    EXPECT_EQ(action->shortcut(), QKeySequence(Qt::Key_F5));
    setShortcutForName(std::nullopt, name);
    EXPECT_TRUE(action->shortcut().isEmpty());

    setShortcutForName(Shortcut{CarbonKey::F6, 0}, name);
    bindMenuItemToShortcut(action.get(), std::nullopt);
    EXPECT_TRUE(action->shortcut().isEmpty());
    EXPECT_FALSE(boundShortcutName(action.get()).has_value());
    setShortcutForName(Shortcut{CarbonKey::F7, 0}, name);
    EXPECT_TRUE(action->shortcut().isEmpty());
}
