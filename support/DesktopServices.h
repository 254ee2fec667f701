// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class FolderMaker;
class IconSource;
class Pause;
class SaveDialog;
class ShellOpener;
class UserMessages;

// What the panel asks of the desktop, each behind its own small interface so
// that the panel's logic runs in tests without one.
struct DesktopServices
{
    IconSource &icons;
    UserMessages &messages;
    ShellOpener &opener;
    Pause &pause;
    SaveDialog &saveDialog;
    FolderMaker &folders;
};
