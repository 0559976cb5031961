// The desktop's own key bindings, read from GNOME's key-binding settings where installed.
#include "HotKeys/CarbonKeyTable.h"
#include "HotKeys/HotKeys.h"

#include <QStringList>

#include <gio/gio.h>
#include <xkbcommon/xkbcommon.h>

namespace HotKeys {
namespace {

const char* const keyBindingSchemas[] = {
    "org.gnome.desktop.wm.keybindings",
    "org.gnome.mutter.keybindings",
    "org.gnome.mutter.wayland.keybindings",
    "org.gnome.shell.keybindings",
    "org.gnome.settings-daemon.plugins.media-keys",
};
constexpr char mediaKeysSchema[] = "org.gnome.settings-daemon.plugins.media-keys";
constexpr char customBindingSchema[] =
    "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding";

// Modifier names of GTK accelerators, with Ctrl as Command and Super as Control.
std::optional<ModifierFlags> modifierOfAcceleratorName(const QString& name)
{
    const QString lower = name.toLower();
    if (lower == u"primary" || lower == u"control" || lower == u"ctrl" || lower == u"ctl")
        return ModifierFlags(ModifierFlag::Command);
    if (lower == u"shift" || lower == u"shft")
        return ModifierFlags(ModifierFlag::Shift);
    if (lower == u"alt" || lower == u"mod1")
        return ModifierFlags(ModifierFlag::Option);
    if (lower == u"super" || lower == u"meta" || lower == u"mod4")
        return ModifierFlags(ModifierFlag::Control);
    return std::nullopt;
}

std::optional<int> carbonKeyOfKeyName(const QString& keyName)
{
    const QByteArray name = keyName.toUtf8();
    xkb_keysym_t keysym = xkb_keysym_from_name(name.constData(), XKB_KEYSYM_NO_FLAGS);
    if (keysym == XKB_KEY_NoSymbol)
        keysym = xkb_keysym_from_name(name.constData(), XKB_KEYSYM_CASE_INSENSITIVE);
    if (keysym == XKB_KEY_NoSymbol)
        return std::nullopt;
    return CarbonKeyTable::carbonKeyForKeysym(keysym);
}

// "<Shift><Control>space" and the like; anything unknown yields nothing.
std::optional<Shortcut> parseAccelerator(const QString& accelerator)
{
    ModifierFlags flags;
    QString rest = accelerator.trimmed();
    while (rest.startsWith(u'<')) {
        const qsizetype close = rest.indexOf(u'>');
        if (close < 0)
            return std::nullopt;
        const auto modifier = modifierOfAcceleratorName(rest.mid(1, close - 1));
        if (!modifier)
            return std::nullopt;
        flags |= *modifier;
        rest = rest.mid(close + 1);
    }
    if (rest.isEmpty())
        return std::nullopt;
    const auto key = carbonKeyOfKeyName(rest);
    if (!key)
        return std::nullopt;
    return Shortcut::fromKey(*key, flags);
}

QStringList stringsOf(GVariant* value)
{
    QStringList strings;
    if (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING)) {
        strings.append(QString::fromUtf8(g_variant_get_string(value, nullptr)));
    } else if (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING_ARRAY)) {
        gsize count = 0;
        const gchar** items = g_variant_get_strv(value, &count);
        for (gsize index = 0; index < count; ++index)
            strings.append(QString::fromUtf8(items[index]));
        g_free(items);
    }
    return strings;
}

void appendBindings(GSettings* settings, const char* key, QList<Shortcut>& shortcuts)
{
    GVariant* value = g_settings_get_value(settings, key);
    for (const QString& accelerator : stringsOf(value)) {
        const auto shortcut = parseAccelerator(accelerator);
        if (shortcut && !shortcuts.contains(*shortcut))
            shortcuts.append(*shortcut);
    }
    g_variant_unref(value);
}

GSettingsSchema* lookUpSchema(const char* schemaId)
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    return source ? g_settings_schema_source_lookup(source, schemaId, TRUE) : nullptr;
}

void appendCustomBindings(GSettings* mediaKeys, QList<Shortcut>& shortcuts)
{
    GSettingsSchema* schema = lookUpSchema(customBindingSchema);
    if (!schema)
        return;
    gchar** paths = g_settings_get_strv(mediaKeys, "custom-keybindings");
    for (gchar** path = paths; path && *path; ++path) {
        GSettings* custom = g_settings_new_full(schema, nullptr, *path);
        appendBindings(custom, "binding", shortcuts);
        g_object_unref(custom);
    }
    g_strfreev(paths);
    g_settings_schema_unref(schema);
}

void appendSchemaBindings(const char* schemaId, QList<Shortcut>& shortcuts)
{
    GSettingsSchema* schema = lookUpSchema(schemaId);
    if (!schema)
        return;
    GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
    gchar** keys = g_settings_schema_list_keys(schema);
    for (gchar** key = keys; key && *key; ++key) {
        if (qstrcmp(*key, "custom-keybindings") != 0)
            appendBindings(settings, *key, shortcuts);
    }
    if (qstrcmp(schemaId, mediaKeysSchema) == 0 &&
        g_settings_schema_has_key(schema, "custom-keybindings"))
        appendCustomBindings(settings, shortcuts);
    g_strfreev(keys);
    g_object_unref(settings);
    g_settings_schema_unref(schema);
}

} // namespace

QList<Shortcut> systemReservedShortcuts()
{
    QList<Shortcut> shortcuts;
    for (const char* schemaId : keyBindingSchemas)
        appendSchemaBindings(schemaId, shortcuts);
    return shortcuts;
}

} // namespace HotKeys
