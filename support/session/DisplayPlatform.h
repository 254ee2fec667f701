// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

// A Wayland client can neither place its window nor keep it above others, so in
// a Wayland session the panel runs on XWayland when there is one, except under
// sway, which does better natively.
namespace DisplayPlatform {

// What the session offers, from its environment.
struct Session
{
    bool wayland = false; // a Wayland session
    bool display = false; // an X server to run on (XWayland in a Wayland session)
    bool sway = false;
};

// The platform the panel asks Qt for, given the user's QT_QPA_PLATFORM (null
// when not set; Qt takes an empty one as none, and a list "a;b" of names
// with ":options" in turn) and the names of the platform plugins Qt has.
// As asked where Qt has a plugin for any name in it; otherwise (and when
// nothing is asked, in a Wayland session) the platform the panel runs best
// on there, of those Qt has; as asked when Qt has none of them, for Qt to say.
QByteArray platformFor(const QByteArray &asked, const QStringList &installed,
                       const Session &session);

// The names of the platform plugins Qt would find, read from their files
// without loading them.
QStringList installedPlatforms();

// Sets QT_QPA_PLATFORM to platformFor this session, with one line on standard
// error when that replaces the user's. Call before the application object is
// made; it returns the user's QT_QPA_PLATFORM, which giveBack() gives back to
// the programs the panel starts once that object exists.
QByteArray choosePlatform();

// The panel is laid out in whole pixels, so it is drawn at a whole scale:
// the screen's own scale (MATE's 100 dpi gives 1.04) and QT_SCALE_FACTOR are
// rounded to the nearest whole number, at least 1 (1.25 is drawn as 1, 1.5
// as 2). Call before the application object is made; it returns the user's
// QT_SCALE_FACTOR, which giveBack() gives back to the programs the panel
// starts once that object exists.
QByteArray wholeScale();

// Sets a variable the panel changed for itself back to the user's value (null:
// not set), for the programs it starts; Qt read it as the application object
// was made.
void giveBack(const char *name, const QByteArray &userValue);
} // namespace DisplayPlatform
