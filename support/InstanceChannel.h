// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// How a second start from the same folder reaches the panel already running
// there: a local socket of the user's own in $XDG_RUNTIME_DIR, named from the
// program folder. Two requests, one line each, are taken: "raise" (come to
// the front) and "replace" (close, a new program takes the place); anything
// else, and anything from another user, is refused. The folder's lock, not
// the socket, decides which panel runs.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    enum class Request { Raise, Replace };

    explicit InstanceChannel(const QString &folder, QObject *parent = nullptr);
    ~InstanceChannel() override;

    // Starts answering; a socket left by a panel that died is taken over.
    // False when none can be made.
    bool listen();

    // Asks the panel running from folder; true once it has said yes within
    // the time given.
    static bool ask(const QString &folder, Request request, int milliseconds);
    static QString socketPath(const QString &folder);

Q_SIGNALS:
    void raiseRequested();
    void replaceRequested();

private:
    QString m_path;
    int m_fd = -1;
};
