// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The panel comes back at login through its autostart entry alone. A session
// manager that also restored it from a saved session would start it a second
// time (or fail, where it saved a relative command such as "./katalog").
namespace SessionRestart {

// Asks the session manager, whenever it saves the session, not to restart
// the program. Call once the application object exists.
void leaveToAutostart();

} // namespace SessionRestart
