#pragma once

// Starting Vorlane at login, switched on or off: logs the choice, stores it under "LoginItem" and
// registers (or unregisters) the login launcher. Shared by start-up, the preferences and the
// onboarding; whether the registration worked is not examined, the stored choice stands.
void applyLoginItem(bool enabled);
