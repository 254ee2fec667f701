// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, Ctrl+C) turned
// into a signal on the user-interface thread, so that the panel closes as
// its close box closes it rather than dying where it stands. One at a time.
// GLib notes them, for the GLib loop Qt runs on that thread; once this is
// gone, each ends the program again.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void received();

private:
    unsigned m_sources[3] = {};
    bool m_told = false; // a signal noted, to be told
};
