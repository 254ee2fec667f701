// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

typedef struct _GAppInfo GAppInfo;

// The application that the desktop the user is in opens a type with
// (ApplicationChoice), read from this session's XDG folders and
// XDG_CURRENT_DESKTOP through GIO. Reads the disk: call off the
// user-interface thread.
namespace DesktopApplications {

// A new reference the caller drops, or null when no application may open it.
GAppInfo *forType(const QString &type);

} // namespace DesktopApplications
