// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InstanceChannel.h"
#include "SingleInstance.h"

#include <optional>

class UserMessages;

// One panel per program folder. The start that holds the folder runs and
// listens for later starts; a later start asks the running panel to come to
// the front (or, replacing it, to close) and ends, or takes the place of a
// panel that is closing, or tells the user why it cannot run.
class PanelInstance
{
public:
    // storePath is the store the folder's panel keeps, as messages name it.
    PanelInstance(const QString &folder, const QString &storePath, int answerMilliseconds = 5000);

    // Nothing when this start runs the panel; else the status it ends with.
    std::optional<int> claim(bool replace, UserMessages &messages, const QString &title);
    InstanceChannel &channel() { return m_channel; }

private:
    bool waitForLock();

    QString m_folder;
    QString m_storePath;
    int m_answerMilliseconds;
    SingleInstance m_lock;
    InstanceChannel m_channel;
};
