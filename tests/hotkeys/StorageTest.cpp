// Stored form of shortcuts in the settings file, and the change notification.
#include "ApplicationName.h"
#include "FakeHotKeyBackend.h"
#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/HotKeys.h"
#include "HotKeys/SettingsShortcutStore.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace HotKeys;

namespace {

const Shortcut ctrlAltK{0x28, CarbonModifier::cmdKey | CarbonModifier::optionKey};

QSettings settingsFile()
{
    return QSettings(SettingsShortcutStore::filePath(), QSettings::NativeFormat);
}

QString fileText()
{
    QFile file(SettingsShortcutStore::filePath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void storeRaw(const QString& key, const QVariant& value)
{
    settingsFile().setValue(key, value);
}

} // namespace

TEST(Storage, SettingsFileIsTheApplicationsOwn)
{
    EXPECT_TRUE(SettingsShortcutStore::filePath().endsWith(u"/ostrel/Vorlane.conf"));
    EXPECT_TRUE(
        SettingsShortcutStore::filePath().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
}

TEST(Storage, FreshSettingsFileGetsTheDefaultAsJson)
{
    ASSERT_FALSE(settingsFile().contains(u"HotKeys_toggleApp"_qs));
    const Name& toggleApp = appToggleName();

    const QVariant stored = settingsFile().value(u"HotKeys_toggleApp"_qs);
    ASSERT_EQ(stored.typeId(), QMetaType::QString);
    const QJsonObject object = QJsonDocument::fromJson(stored.toString().toUtf8()).object();
    EXPECT_EQ(object.size(), 2);
    EXPECT_EQ(object.value(u"carbonKeyCode").toInt(), 49);
    EXPECT_EQ(object.value(u"carbonModifiers").toInt(), 768);
    EXPECT_EQ(shortcutForName(toggleApp), (Shortcut{49, 768}));
    // The registration is made too, so the default works from the first start.
    EXPECT_EQ(FakeHotKeyBackend::installed()->registered.size(), 1u);
}

TEST(Storage, ShortcutJsonHasExactlyTheTwoMembers)
{
    EXPECT_EQ(Shortcut({49, 768}).toJson(),
              QByteArray(R"({"carbonKeyCode":49,"carbonModifiers":768})"));
}

TEST(Storage, RoundTripsThroughTheFile)
{
    const Name name(u"roundTrip"_qs);
    setShortcutForName(ctrlAltK, name);
    EXPECT_EQ(shortcutForName(name), ctrlAltK);
    EXPECT_TRUE(fileText().contains(u"HotKeys_roundTrip="_qs));
    // Another reader of the file (a later start of the program) sees the same.
    EXPECT_EQ(Shortcut::fromJson(settingsFile().value(name.storageKey()).toString().toUtf8()),
              ctrlAltK);
}

TEST(Storage, ReadsMembersInAnyOrderAndIgnoresExtraOnes)
{
    const Name name(u"foreignOrder"_qs);
    storeRaw(name.storageKey(),
             u"{\"carbonModifiers\": 4096, \"extra\": true, \"carbonKeyCode\": 0}"_qs);
    EXPECT_EQ(shortcutForName(name), (Shortcut{0, 4096}));
}

TEST(Storage, ForeignValuesReadAsNoShortcut)
{
    const Name name(u"foreign"_qs);
    const QVariant foreignValues[] = {
        QVariant(true),
        QVariant(42),
        QVariant(u"not json"_qs),
        QVariant(u"[49, 768]"_qs),
        QVariant(u"{\"carbonKeyCode\": 49}"_qs),
        QVariant(u"{\"carbonKeyCode\": \"49\", \"carbonModifiers\": 768}"_qs),
        QVariant(u"{\"carbonKeyCode\": 49.5, \"carbonModifiers\": 768}"_qs),
        QVariant(u"{\"carbonKeyCode\": 1e40, \"carbonModifiers\": 768}"_qs),
        QVariant(QStringList{u"{\"carbonKeyCode\": 49"_qs, u"\"carbonModifiers\": 768}"_qs}),
    };
    for (const QVariant& value : foreignValues) {
        storeRaw(name.storageKey(), value);
        EXPECT_FALSE(shortcutForName(name).has_value()) << value.toString().toStdString();
    }
}

TEST(Storage, ClearingANameWithADefaultStoresBooleanFalse)
{
    const Name name(u"clearedWithDefault"_qs, ctrlAltK);
    ASSERT_EQ(shortcutForName(name), ctrlAltK);

    setShortcutForName(std::nullopt, name);
    EXPECT_FALSE(shortcutForName(name).has_value());
    EXPECT_TRUE(fileText().contains(u"HotKeys_clearedWithDefault=false"_qs));

    // A later start creates the name again: something is stored, so the default stays away.
    const Name again(u"clearedWithDefault"_qs, ctrlAltK);
    EXPECT_FALSE(shortcutForName(again).has_value());

    resetShortcutsToDefault({again});
    EXPECT_EQ(shortcutForName(again), ctrlAltK);
}

TEST(Storage, ClearingANameWithoutADefaultRemovesTheKey)
{
    const Name name(u"clearedWithoutDefault"_qs);
    setShortcutForName(ctrlAltK, name);
    setShortcutForName(std::nullopt, name);
    EXPECT_FALSE(settingsFile().contains(name.storageKey()));

    setShortcutForName(ctrlAltK, name);
    resetShortcutsToDefault({name});
    EXPECT_FALSE(settingsFile().contains(name.storageKey()));
}

TEST(Storage, ChangesAreAnnouncedWithTheName)
{
    const Name name(u"announced"_qs);
    QSignalSpy spy(&ShortcutNotifier::instance(), &ShortcutNotifier::shortcutByNameDidChange);

    setShortcutForName(ctrlAltK, name);
    setShortcutForName(std::nullopt, name);
    // Nothing left to remove: nothing to announce.
    setShortcutForName(std::nullopt, name);
    resetShortcutsToDefault({name});

    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toString(), u"announced");
    EXPECT_EQ(spy.at(1).at(0).toString(), u"announced");
}

TEST(Storage, NegativeStoredKeyCodeIsNeverRegistered)
{
    FakeHotKeyBackend* backend = FakeHotKeyBackend::installed();
    const Name name(u"negative"_qs);
    storeRaw(name.storageKey(), u"{\"carbonKeyCode\": -1, \"carbonModifiers\": 256}"_qs);
    const qsizetype callsBefore = backend->registerCalls.size();

    addKeyUpHandler(name, [] {});
    EXPECT_EQ(backend->registerCalls.size(), callsBefore);
}

namespace {

class MemoryStore : public ShortcutStore
{
public:
    QVariant value(const QString& key) const override { return m_values.value(key); }
    void setValue(const QString& key, const QVariant& value) override { m_values[key] = value; }
    void remove(const QString& key) override { m_values.remove(key); }

private:
    QVariantMap m_values;
};

} // namespace

// Last, because it leaves the replacement store in place.
TEST(StorageZ, TheApplicationCanReplaceTheStore)
{
    setShortcutStore(std::make_unique<MemoryStore>());
    const Name name(u"inMemory"_qs, ctrlAltK);
    EXPECT_EQ(shortcutForName(name), ctrlAltK);
    EXPECT_FALSE(settingsFile().contains(name.storageKey()));
    EXPECT_EQ(shortcutStore().value(name.storageKey()).toString(),
              QString::fromUtf8(ctrlAltK.toJson()));
}
