// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class FolderMaker;
class Pause;
class SaveDialog;
class ShellOpener;
class TargetStates;
class UserMessages;

// What the panel asks of the desktop, each behind its own small interface so
// that the panel's logic runs in tests without one.
struct DesktopServices
{
    TargetStates &targets;
    UserMessages &messages;
    ShellOpener &opener;
    Pause &pause;
    SaveDialog &saveDialog;
    FolderMaker &folders;
};
