// The recorder driven with real key and mouse events on Qt's offscreen platform.
#include "HotKeys/RecorderField.h"

#include "FakeHotKeyBackend.h"
#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/CarbonKeyCodes.h"
#include "HotKeys/HotKeys.h"
#include "HotKeys/UserFeedback.h"
#include "Wait.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>

using namespace HotKeys;

namespace {

constexpr int cmd = CarbonModifier::cmdKey;
constexpr int shift = CarbonModifier::shiftKey;
constexpr int option = CarbonModifier::optionKey;
constexpr int control = CarbonModifier::controlKey;
const Shortcut defaultShortcut{CarbonKey::Space, cmd | shift};

struct Alert
{
    QString title;
    QString message;
    QStringList buttons;
};

// A window with the recorder and a second field to move the focus to.
class RecorderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        static int counter = 0;
        name = std::make_unique<Name>(u"recorded%1"_qs.arg(++counter), defaultShortcut);
        UserFeedback::setBeepHandler([this] { ++beeps; });
        UserFeedback::setAlertHandler([this](QWidget*, const QString& title, const QString& message,
                                             const QStringList& buttons) {
            alerts.append({title, message, buttons});
            return alertAnswer;
        });
    }

    void TearDown() override
    {
        UserFeedback::setBeepHandler({});
        UserFeedback::setAlertHandler({});
    }

    void show(QWidget* topLevel)
    {
        topLevel->show();
        QApplication::setActiveWindow(topLevel);
        ASSERT_TRUE(waitUntil([topLevel] { return topLevel->isActiveWindow(); }));
        ASSERT_TRUE(waitUntil([this] { return recorder->canBecomeKey(); }));
    }

    void showPlainWindow()
    {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        recorder = new RecorderField(
            *name, [this](const std::optional<Shortcut>& shortcut) { changes.append(shortcut); });
        layout->addWidget(recorder);
        other = new QLineEdit;
        other->setFocusPolicy(Qt::ClickFocus);
        layout->addWidget(other);
        show(window.get());
    }

    void startRecording()
    {
        QTest::mouseClick(recorder, Qt::LeftButton, {}, recorder->rect().center());
        ASSERT_TRUE(recorder->isRecording());
    }

    std::unique_ptr<Name> name;
    std::unique_ptr<QWidget> window;
    RecorderField* recorder = nullptr;
    QLineEdit* other = nullptr;
    QList<std::optional<Shortcut>> changes;
    QList<Alert> alerts;
    int alertAnswer = 0;
    int beeps = 0;
};

} // namespace

TEST_F(RecorderTest, ShowsTheStoredShortcutWithAClearButton)
{
    showPlainWindow();
    EXPECT_EQ(recorder->text(), u"Ctrl+Shift+Space");
    EXPECT_EQ(recorder->placeholderText(), u"Record Shortcut");
    EXPECT_TRUE(recorder->cancelButton()->isVisible());
    EXPECT_EQ(recorder->sizeHint().width(), 130);

    setShortcutForName(std::nullopt, *name);
    EXPECT_EQ(recorder->text(), u"");
    EXPECT_FALSE(recorder->cancelButton()->isVisible());
    setShortcutForName(Shortcut{CarbonKey::F5, 0}, *name);
    EXPECT_EQ(recorder->text(), u"F5");
}

TEST_F(RecorderTest, OpeningTheWindowDoesNotStartRecordingButAClickDoes)
{
    window = std::make_unique<QWidget>();
    recorder = new RecorderField(*name, {}, window.get());
    show(window.get());
    EXPECT_FALSE(recorder->hasFocus());
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(shortcutsPaused());

    startRecording();
    EXPECT_EQ(recorder->placeholderText(), u"Press Shortcut");
    EXPECT_TRUE(shortcutsPaused());
}

TEST_F(RecorderTest, StoresCtrlAltKTypedIntoIt)
{
    showPlainWindow();
    startRecording();
    QTest::keyClick(recorder, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);

    const Shortcut ctrlAltK{CarbonKey::ANSI_K, cmd | option};
    EXPECT_EQ(shortcutForName(*name), ctrlAltK);
    EXPECT_EQ(recorder->text(), u"Ctrl+Alt+K");
    EXPECT_EQ(changes, (QList<std::optional<Shortcut>>{ctrlAltK}));
    EXPECT_EQ(beeps, 0);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(shortcutsPaused());
    EXPECT_EQ(recorder->placeholderText(), u"Record Shortcut");
}

TEST_F(RecorderTest, RefusesKeysWithoutCommandOptionOrControlWithABeep)
{
    showPlainWindow();
    startRecording();
    QTest::keyClick(recorder, Qt::Key_K);
    EXPECT_EQ(beeps, 1);
    QTest::keyClick(recorder, Qt::Key_A, Qt::ShiftModifier);
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(shortcutForName(*name), defaultShortcut);
    EXPECT_TRUE(changes.isEmpty());
    EXPECT_TRUE(recorder->isRecording());

    // Control (Meta here) is enough.
    QTest::keyClick(recorder, Qt::Key_A, Qt::MetaModifier);
    EXPECT_EQ(shortcutForName(*name), (Shortcut{CarbonKey::ANSI_A, control}));
    EXPECT_EQ(recorder->text(), u"Meta+A");
}

TEST_F(RecorderTest, AFunctionKeyNeedsNoModifier)
{
    showPlainWindow();
    startRecording();
    QTest::keyClick(recorder, Qt::Key_F5);
    EXPECT_EQ(shortcutForName(*name), (Shortcut{CarbonKey::F5, 0}));
    EXPECT_EQ(beeps, 0);
}

TEST_F(RecorderTest, AModifierAloneIsNotACombinationYet)
{
    showPlainWindow();
    startRecording();
    QTest::keyPress(recorder, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyPress(recorder, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(beeps, 0);
    EXPECT_TRUE(recorder->isRecording());
}

TEST_F(RecorderTest, EscapeEndsRecordingAndKeepsTheShortcut)
{
    showPlainWindow();
    startRecording();
    QTest::keyClick(recorder, Qt::Key_Escape);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(recorder->hasFocus());
    EXPECT_EQ(shortcutForName(*name), defaultShortcut);
    EXPECT_EQ(beeps, 0);
}

TEST_F(RecorderTest, DeleteClearsTheShortcutAndKeepsRecording)
{
    showPlainWindow();
    startRecording();
    QTest::keyClick(recorder, Qt::Key_Backspace);
    EXPECT_FALSE(shortcutForName(*name).has_value());
    EXPECT_EQ(shortcutStore().value(name->storageKey()).toString(), u"false");
    EXPECT_EQ(recorder->text(), u"");
    EXPECT_EQ(changes, (QList<std::optional<Shortcut>>{std::nullopt}));
    EXPECT_TRUE(recorder->isRecording());

    QTest::keyClick(recorder, Qt::Key_Delete);
    EXPECT_TRUE(recorder->isRecording());
    QTest::keyClick(recorder, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(shortcutForName(*name), (Shortcut{CarbonKey::ANSI_K, cmd}));
}

TEST_F(RecorderTest, TheClearButtonClearsAndStartsRecording)
{
    showPlainWindow();
    auto* clearButton = recorder->findChild<QToolButton*>();
    ASSERT_NE(clearButton, nullptr);
    QTest::mouseClick(clearButton, Qt::LeftButton);
    EXPECT_FALSE(shortcutForName(*name).has_value());
    EXPECT_TRUE(recorder->isRecording());

    QTest::keyClick(recorder, Qt::Key_J, Qt::ControlModifier);
    ASSERT_TRUE(shortcutForName(*name).has_value());
    // The button works while recording as well.
    startRecording();
    QTest::mouseClick(clearButton, Qt::LeftButton);
    EXPECT_FALSE(shortcutForName(*name).has_value());
    EXPECT_TRUE(recorder->isRecording());
}

TEST_F(RecorderTest, AMenuItemWithTheCombinationIsNamedAndNothingIsStored)
{
    auto mainWindow = std::make_unique<QMainWindow>();
    QMenu* fileMenu = mainWindow->menuBar()->addMenu(u"&File"_qs);
    QMenu* recent = fileMenu->addMenu(u"Open &Recent"_qs);
    recent->addAction(u"Clear"_qs)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    QAction* quit = fileMenu->addAction(u"&Quit"_qs);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    int quitTriggered = 0;
    QObject::connect(quit, &QAction::triggered, [&] { ++quitTriggered; });
    recorder = new RecorderField(*name);
    mainWindow->setCentralWidget(recorder);
    show(mainWindow.get());

    startRecording();
    QTest::keyClick(recorder, Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0].title,
              u"This keyboard shortcut cannot be used because the menu item \u201cQuit\u201d "
              u"already uses it.");
    EXPECT_TRUE(alerts[0].buttons.isEmpty());
    EXPECT_EQ(quitTriggered, 0);
    EXPECT_EQ(shortcutForName(*name), defaultShortcut);
    // The focus is back: still recording.
    EXPECT_TRUE(recorder->isRecording());

    // Submenus are searched too.
    QTest::keyClick(recorder, Qt::Key_L, Qt::ControlModifier);
    ASSERT_EQ(alerts.size(), 2);
    EXPECT_TRUE(alerts[1].title.contains(u"\u201cClear\u201d"));
}

TEST_F(RecorderTest, AnActionShowingThisSameNameIsNoClash)
{
    showPlainWindow();
    auto* open = new QAction(u"Open Vorlane"_qs, window.get());
    window->addAction(open);
    bindMenuItemToShortcut(open, *name);
    ASSERT_TRUE(waitUntil([open] { return !open->shortcut().isEmpty(); }));
    startRecording();
    QTest::keyClick(recorder, Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_EQ(shortcutForName(*name), defaultShortcut);
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(RecorderTest, ADesktopShortcutAsksAndIsStoredOnlyWhenForced)
{
    showPlainWindow();
    startRecording();
    alertAnswer = 0;
    QTest::keyClick(recorder, Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0].title, u"This keyboard shortcut is already used by the desktop.");
    EXPECT_EQ(alerts[0].message, u"Most desktop shortcuts can be changed in the keyboard section "
                                 u"of the system settings.");
    EXPECT_EQ(alerts[0].buttons, (QStringList{u"OK"_qs, u"Use Anyway"_qs}));
    EXPECT_EQ(shortcutForName(*name), defaultShortcut);
    EXPECT_TRUE(recorder->isRecording());

    alertAnswer = 1;
    QTest::keyClick(recorder, Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(shortcutForName(*name), (Shortcut{CarbonKey::ANSI_T, cmd | option}));
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(RecorderTest, F12AloneNeverAsks)
{
    ASSERT_TRUE(systemReservedShortcuts().contains(Shortcut{CarbonKey::F12, 0}));
    showPlainWindow();
    startRecording();
    QTest::keyClick(recorder, Qt::Key_F12);
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_EQ(shortcutForName(*name), (Shortcut{CarbonKey::F12, 0}));
}

TEST_F(RecorderTest, TheGlobalShortcutDoesNothingWhileRecording)
{
    showPlainWindow();
    int calls = 0;
    addKeyUpHandler(*name, [&] { ++calls; });
    FakeHotKeyBackend* backend = FakeHotKeyBackend::installed();
    startRecording();
    backend->press(defaultShortcut);
    backend->release(defaultShortcut);
    EXPECT_EQ(calls, 0);

    QTest::keyClick(recorder, Qt::Key_Escape);
    backend->release(defaultShortcut);
    EXPECT_EQ(calls, 1);
}

TEST_F(RecorderTest, AClickOutsideEndsRecordingAndOneInsideDoesNot)
{
    showPlainWindow();
    startRecording();
    // Within three pixels of the field still counts as the field.
    QTest::mouseClick(recorder, Qt::LeftButton, {}, QPoint(-2, 2));
    EXPECT_TRUE(recorder->isRecording());
    QTest::mouseClick(other, Qt::RightButton, {}, other->rect().center());
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(shortcutsPaused());
}

TEST_F(RecorderTest, TabMovesTheFocusOnAndEndsRecording)
{
    showPlainWindow();
    other->setFocusPolicy(Qt::StrongFocus);
    startRecording();
    QTest::keyClick(recorder, Qt::Key_Tab);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(other->hasFocus());
    EXPECT_EQ(beeps, 0);
}

TEST_F(RecorderTest, TabEndsRecordingEvenWithNowhereToGo)
{
    window = std::make_unique<QWidget>();
    recorder = new RecorderField(*name, {}, window.get());
    show(window.get());
    startRecording();
    QTest::keyClick(recorder, Qt::Key_Tab);
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(RecorderTest, TheWindowLosingFocusEndsRecording)
{
    showPlainWindow();
    startRecording();
    QWidget elsewhere;
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    ASSERT_TRUE(waitUntil([&] { return elsewhere.isActiveWindow(); }));
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(shortcutsPaused());
    EXPECT_EQ(window->focusWidget(), nullptr);
}

TEST_F(RecorderTest, TheRealAlertIsAnsweredWithItsButtons)
{
    showPlainWindow();
    UserFeedback::setAlertHandler({});
    // Answers the alert once it is up; the key click below waits inside it.
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible())
                continue;
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == u"Use Anyway")
                    button->click();
            }
        }
    });
    answerer.start(20);
    startRecording();
    QTest::keyClick(recorder, Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    answerer.stop();
    EXPECT_EQ(shortcutForName(*name), (Shortcut{CarbonKey::ANSI_L, cmd | option}));
}

// Escape and closing the alert mean "OK": only the button takes the desktop's shortcut.
TEST_F(RecorderTest, DismissingTheRealAlertKeepsTheOldShortcut)
{
    const std::function<void(QWidget*)> dismissals[] = {
        [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); },
        [](QWidget* box) { box->close(); },
    };
    showPlainWindow();
    UserFeedback::setAlertHandler({});
    startRecording();
    for (const auto& dismiss : dismissals) {
        SCOPED_TRACE(&dismiss - dismissals);
        int shown = 0;
        QTimer answerer;
        QObject::connect(&answerer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            ++shown;
            dismiss(box);
        });
        answerer.start(20);
        QTest::keyClick(recorder, Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
        answerer.stop();
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(shortcutForName(*name), defaultShortcut);
        // The window manager gives the window its focus back, and the recorder has it.
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(waitUntil([this] { return recorder->isRecording(); }));
    }
}

std::uint32_t hotKeyIdOf(const Shortcut& shortcut)
{
    for (const CarbonHotKeys::HotKey& hotKey : CarbonHotKeys::hotKeys()) {
        if (hotKey.shortcut == shortcut)
            return hotKey.carbonHotKeyId;
    }
    return 0;
}

// The recorder and a menu item bound to the name show what the user can press: the desktop's
// own trigger where it chose one; for a shortcut that does nothing, the recorder tells how to
// summon the program instead and the item shows no key.
TEST(RecorderDisplay, FollowsWhatTheWindowSystemMadeOfTheShortcut)
{
    using State = SystemBinding::State;
    FakeHotKeyBackend& backend = *FakeHotKeyBackend::installed();
    const auto store = [](const Name& name, const Shortcut& shortcut) {
        setShortcutForName(shortcut, name);
    };
    struct Row
    {
        const char* what;
        int key;
        std::function<void(const Name&, const Shortcut&)> happen;
        QString text;
        QKeySequence item;
        bool hint;
    };
    const Row rows[] = {
        {"granted", CarbonKey::ANSI_G, store, u"Ctrl+Alt+G"_qs,
         QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_G), false},
        {"still asked", CarbonKey::ANSI_P,
         [&](const Name& name, const Shortcut& shortcut) {
             store(name, shortcut);
             backend.answer(name.rawValue(), {State::pending, {}});
         },
         u"Ctrl+Alt+P"_qs, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P), false},
        {"bound to the desktop's own trigger", CarbonKey::ANSI_B,
         [&](const Name& name, const Shortcut& shortcut) {
             store(name, shortcut);
             backend.answer(name.rawValue(), {State::granted, u"Meta+V"_qs});
         },
         u"Meta+V"_qs, QKeySequence(Qt::META | Qt::Key_V), false},
        {"refused by the desktop", CarbonKey::ANSI_N,
         [&](const Name& name, const Shortcut& shortcut) {
             store(name, shortcut);
             backend.answer(name.rawValue(), {State::refused, {}});
         },
         u"Ctrl+Alt+N"_qs, QKeySequence(), true},
        {"held by another program", CarbonKey::ANSI_M,
         [&](const Name& name, const Shortcut& shortcut) {
             backend.taken.insert(shortcut);
             store(name, shortcut);
         },
         u"Ctrl+Alt+M"_qs, QKeySequence(), true},
        {"taken back by a new keymap", CarbonKey::ANSI_W,
         [&](const Name& name, const Shortcut& shortcut) {
             store(name, shortcut);
             backend.revoke(hotKeyIdOf(shortcut));
         },
         u"Ctrl+Alt+W"_qs, QKeySequence(), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Name name(u"displayed%1"_qs.arg(row.key), {{}, u"Vorlane --toggle"_qs});
        RecorderField field(name);
        QAction item(u"Open"_qs);
        bindMenuItemToShortcut(&item, name);
        QCoreApplication::processEvents();
        row.happen(name, Shortcut{row.key, cmd | option});
        EXPECT_EQ(field.text(), row.text);
        EXPECT_EQ(item.shortcut(), row.item);
        EXPECT_EQ(field.toolTip().contains(u"--toggle"), row.hint) << field.toolTip().toStdString();
    }
}

TEST(SystemReservedShortcuts, AreReadFromTheDesktopsKeyBindings)
{
    const QList<Shortcut> reserved = systemReservedShortcuts();
    const QList<Shortcut> expected{
        {CarbonKey::UpArrow, control},   {CarbonKey::ANSI_T, cmd | option},
        {CarbonKey::Home, control},      {CarbonKey::F12, 0},
        {CarbonKey::LeftArrow, control}, {CarbonKey::ANSI_O, cmd | option | shift},
        {CarbonKey::VolumeUp, 0},        {CarbonKey::ANSI_L, cmd | option},
    };
    // "disabled", empty lists and unknown modifiers (Hyper) give nothing.
    EXPECT_EQ(reserved.size(), expected.size());
    for (const Shortcut& shortcut : expected) {
        EXPECT_TRUE(reserved.contains(shortcut))
            << shortcut.carbonKeyCode << " " << shortcut.carbonModifiers;
    }
}
