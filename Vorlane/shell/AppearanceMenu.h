#pragma once

class QComboBox;
class QObject;

// The appearance pop-up of the preferences and of the onboarding: the first item stands for the
// desktop's own setting, then "Light" and "Dark", known by their places whatever the language.
namespace AppearanceMenu {

// Selects the stored "Appearance": "system" the first item, "light" the item "Light", any other
// value "Dark".
void select(QComboBox* menu);
// Stores the chosen item under "Appearance" ("light", "dark", else "system") and posts
// "appearance changed" with poster as its object.
void store(const QComboBox* menu, QObject* poster);

} // namespace AppearanceMenu
