// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Makes theme icons available where no desktop session chose a theme (a bare X
// session, a test run): Adwaita stands in, and /usr/share/pixmaps is searched
// for applications that ship their icon there. Call once, after the
// application object exists.
namespace IconTheme {
void ensureFallback();
}
