// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GatewayProtocol.h"
#include "support/EntryFacts.h"
#include "support/ShellOpener.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QSocketNotifier;
class QTimer;

// The one way the panel asks the disk about a target, a dropped path or a
// letter folder, watches folders and opens targets. The questions go to a
// helper process (katalog-probe), the only process that touches such paths:
// a share that never answers holds the helper's thread, never the panel's,
// and the panel's own threads never follow a path, whatever it holds.
//
// Everything happens on the thread that owns the gateway, without waiting.
// A question is sent once, however many ask it while it is out, and its
// answer reaches every one of them. An asker may give a deadline: past it,
// it is told "not known yet" (a null answer) and still gets the answer when
// it comes. A helper that dies, or stops answering while questions are out,
// is replaced within a few seconds and the open questions are asked again.
class DiskGateway : public QObject, public ShellOpener
{
    Q_OBJECT

public:
    static constexpr int NoDeadline = -1;
    // How often a helper with questions out must say it is alive.
    static constexpr int AliveMilliseconds = 1000;

    // helper: the katalog-probe program. opener: the program and arguments
    // that the helper runs with a target after them to open it.
    DiskGateway(QString helper, QStringList opener, QObject *parent = nullptr);
    ~DiskGateway() override;

    // Each answer is given to answered on this thread while context lives.
    void describe(const QString &path, QObject *context,
                  std::function<void(const EntryFacts *)> answered, int deadline = NoDeadline);
    // The first bytes of a plain file (at most most), or nothing when it
    // cannot be read.
    void read(const QString &path, int most, QObject *context,
              std::function<void(const std::optional<QByteArray> *)> answered,
              int deadline = NoDeadline);
    // From now on the folder's changes are told as folderChanged(); refused
    // (errno given) where it cannot be watched, say when the system has no
    // watches left.
    void watch(const QString &folder, QObject *context, std::function<void(int error)> refused);
    void unwatch(const QString &folder);
    // Opens the target as the desktop does, through the opener; an open of
    // the same target that is still out is not made again.
    void open(const QString &target) override;
    void openFolder(const QString &path) override;

    // The facts in a Describe answer about path.
    static EntryFacts factsOf(const QString &path, const QByteArray &answer);

    // The helper's process, 0 while none runs.
    qint64 helperProcess() const { return m_helperProcess; }
    // Questions asked and not yet answered, each counted once.
    int questionsOut() const { return int(m_questions.size()); }
    // Of those, the opens the helper has said it started.
    int opensStarted() const;

Q_SIGNALS:
    void folderChanged(const QString &folder);

private:
    using Answered = std::function<void(const QByteArray *)>;
    struct Waiter;
    struct Question
    {
        Gateway::Kind kind;
        QByteArray payload;
        bool sent = false;
        bool started = false; // an open the helper has started
        QList<std::shared_ptr<Waiter>> waiters;
    };

    void ask(Gateway::Kind kind, const QByteArray &payload, QObject *context, Answered answered,
             int deadline);
    void askWatch(const QString &folder);
    void startHelper();
    void helperGone();
    void restartHelper();
    void sendUnsent();
    bool send(quint32 id, Gateway::Kind kind, const QByteArray &payload);
    void readAnswers();
    void take(const QByteArray &message);
    void checkAlive();
    void keepAliveCheck();

    QString m_helper;
    QStringList m_opener;
    int m_socket = -1;
    QSocketNotifier *m_answers = nullptr;
    QTimer *m_alive = nullptr;
    QTimer *m_restart = nullptr;
    bool m_aliveAsked = false;
    qint64 m_helperProcess = 0;
    qint64 m_startedAt = 0;
    int m_restartDelay = 0;
    bool m_startFailureSaid = false;
    quint32 m_lastId = 0;
    QHash<quint32, Question> m_questions;
    QHash<QPair<int, QByteArray>, quint32> m_idOf;
    // The folders watched, and whom to tell when one cannot be.
    struct Watcher
    {
        QPointer<QObject> context;
        std::function<void(int error)> refused;
    };
    QHash<QString, Watcher> m_watched;
};
