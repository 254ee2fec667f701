// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QSocketNotifier;

// How a second start from the same folder reaches the panel already running
// there: a local socket of the user's own in $XDG_RUNTIME_DIR (or, where that
// is missing or read-only, in a private folder of the user's in the temporary
// folder), named from the program folder. Two requests, one line each, are taken: "raise" (come to
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

    // Starts answering at the first place that takes a socket; a socket left
    // there by a panel that died is taken over. False when none can be made.
    bool listen();
    // Stops answering: the panel is closing, and a later start waits for it
    // to go.
    void stopListening();
    // Where it answers, once it does.
    QString path() const { return m_path; }

    // Asks the panel running from folder, at each place it may answer; true
    // once it has said yes within the time given.
    static bool ask(const QString &folder, Request request, int milliseconds);
    // The places, in the order tried.
    static QStringList socketPaths(const QString &folder);

Q_SIGNALS:
    void raiseRequested();
    void replaceRequested();

private:
    static bool askAt(const QString &path, Request request, int milliseconds);

    QString m_folder;
    QString m_path;
    int m_fd = -1;
    QSocketNotifier *m_calls = nullptr;
};
