// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskGateway.h"

#include <QDateTime>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

using Gateway::Header;
using Gateway::Kind;
using Gateway::Phase;

struct DiskGateway::Waiter
{
    QPointer<QObject> context;
    bool bound; // answered only while its context lives
    Answered answered;
    bool told = false; // told "not known yet"

    bool listening() const { return answered && (!bound || context); }
};

namespace {

// A helper that ends sooner than this after its start is started again only
// after a growing pause, so that one that cannot run costs nothing.
constexpr int SteadyMilliseconds = 2000;
constexpr int LongestRestartPause = 30000;

// Why a path cannot be asked at all, or 0: such a path names nothing, and
// nothing touches the disk for it (a NUL would cut it short).
int unaskable(const QByteArray &path)
{
    if (path.isEmpty() || path.contains('\0'))
        return ENOENT;
    return path.size() >= PATH_MAX ? ENAMETOOLONG : 0;
}

} // namespace

EntryFacts DiskGateway::factsOf(const QString &path, const QByteArray &answer)
{
    EntryFacts facts;
    facts.path = path;
    Gateway::EntryRecord record;
    if (answer.size() < qsizetype(sizeof record)) {
        facts.lstatError = facts.statError = EIO;
        return facts;
    }
    std::memcpy(&record, answer.constData(), sizeof record);
    facts.lstatError = record.lstatError;
    facts.statError = record.statError;
    facts.lstatMode = record.lstatMode;
    facts.statMode = record.statMode;
    facts.size = record.size;
    facts.executable = record.executable;
    facts.linkTarget = QFile::decodeName(answer.mid(sizeof record));
    if (record.statError == 0)
        facts.identity = QByteArray::number(qulonglong(record.device)) + ' ' +
                         QByteArray::number(qulonglong(record.inode)) + ' ' +
                         QByteArray::number(qlonglong(record.size)) + ' ' +
                         QByteArray::number(qlonglong(record.modified[0])) + '.' +
                         QByteArray::number(qlonglong(record.modified[1])) + ' ' +
                         QByteArray::number(qlonglong(record.changed[0])) + '.' +
                         QByteArray::number(qlonglong(record.changed[1]));
    return facts;
}

namespace {

int errorOf(const QByteArray &answer)
{
    int32_t error = EIO;
    if (answer.size() >= qsizetype(sizeof error))
        std::memcpy(&error, answer.constData(), sizeof error);
    return error;
}

} // namespace

DiskGateway::DiskGateway(QString helper, QStringList opener, QObject *parent)
    : QObject(parent)
    , m_helper(std::move(helper))
    , m_opener(std::move(opener))
    , m_alive(new QTimer(this))
    , m_restart(new QTimer(this))
{
    m_alive->setInterval(AliveMilliseconds);
    connect(m_alive, &QTimer::timeout, this, &DiskGateway::checkAlive);
    m_restart->setSingleShot(true);
    connect(m_restart, &QTimer::timeout, this, &DiskGateway::startHelper);
    startHelper();
}

DiskGateway::~DiskGateway()
{
    // A helper that reads on ends with its socket; a stopped one would not.
    if (m_helperProcess > 0)
        ::kill(pid_t(m_helperProcess), SIGKILL);
    if (m_socket >= 0)
        ::close(m_socket);
}

void DiskGateway::describe(const QString &path, QObject *context,
                           std::function<void(const EntryFacts *)> answered, int deadline)
{
    const QByteArray local = QFile::encodeName(path);
    if (const int error = unaskable(local)) {
        EntryFacts facts;
        facts.path = path;
        facts.lstatError = facts.statError = error;
        QTimer::singleShot(0, context ? context : this, [answered, facts] { answered(&facts); });
        return;
    }
    ask(
        Kind::Describe, local, context,
        [path, answered](const QByteArray *answer) {
            if (!answer)
                return answered(nullptr);
            const EntryFacts facts = factsOf(path, *answer);
            answered(&facts);
        },
        deadline);
}

void DiskGateway::read(const QString &path, int most, QObject *context,
                       std::function<void(const std::optional<QByteArray> *)> answered,
                       int deadline)
{
    const QByteArray local = QFile::encodeName(path);
    if (unaskable(local)) {
        QTimer::singleShot(0, context ? context : this, [answered] {
            const std::optional<QByteArray> nothing;
            answered(&nothing);
        });
        return;
    }
    const uint32_t bytes = uint32_t(qBound(0, most, int(Gateway::LargestRead)));
    ask(
        Kind::Read, QByteArray(reinterpret_cast<const char *>(&bytes), sizeof bytes) + local,
        context,
        [answered](const QByteArray *answer) {
            if (!answer)
                return answered(nullptr);
            const std::optional<QByteArray> bytes =
                errorOf(*answer) ? std::nullopt : std::optional(answer->mid(sizeof(int32_t)));
            answered(&bytes);
        },
        deadline);
}

void DiskGateway::watch(const QString &folder, QObject *context,
                        std::function<void(int error)> refused)
{
    const QByteArray local = QFile::encodeName(folder);
    if (const int error = unaskable(local)) {
        QTimer::singleShot(0, context ? context : this, [refused, error] { refused(error); });
        return;
    }
    m_watched.insert(folder, {context, std::move(refused)});
    askWatch(folder);
}

void DiskGateway::askWatch(const QString &folder)
{
    const Watcher watcher = m_watched.value(folder);
    if (!watcher.context) {
        m_watched.remove(folder);
        return;
    }
    ask(
        Kind::Watch, QFile::encodeName(folder), watcher.context,
        [this, folder](const QByteArray *answer) {
            const int error = answer ? errorOf(*answer) : 0;
            const auto found = m_watched.constFind(folder);
            if (!error || found == m_watched.cend())
                return;
            const Watcher refusedOne = *found;
            m_watched.erase(found);
            refusedOne.refused(error);
        },
        NoDeadline);
}

void DiskGateway::unwatch(const QString &folder)
{
    if (!m_watched.remove(folder))
        return;
    // The helper forgets it by its watch, without looking the folder up.
    const QByteArray local = QFile::encodeName(folder);
    if (m_socket >= 0)
        send(0, Kind::Unwatch, local);
}

void DiskGateway::open(const QString &target)
{
    const QByteArray local = QFile::encodeName(target);
    if (!unaskable(local))
        ask(Kind::Open, local, nullptr, nullptr, NoDeadline);
}

void DiskGateway::openFolder(const QString &path)
{
    const QByteArray local = QFile::encodeName(path);
    if (!unaskable(local))
        ask(Kind::Open, local + '\0' + QByteArrayLiteral("folder"), nullptr, nullptr, NoDeadline);
}

void DiskGateway::ask(Kind kind, const QByteArray &payload, QObject *context, Answered answered,
                      int deadline)
{
    auto waiter =
        std::make_shared<Waiter>(Waiter{context, context != nullptr, std::move(answered)});
    if (deadline != NoDeadline && waiter->answered) {
        QTimer::singleShot(deadline, context ? context : this, [waiter] {
            if (!std::exchange(waiter->told, true))
                waiter->answered(nullptr);
        });
    }
    const QPair<int, QByteArray> key(int(kind), payload);
    if (const auto asked = m_idOf.constFind(key); asked != m_idOf.cend()) {
        m_questions[*asked].waiters.append(waiter);
        return;
    }
    const quint32 id = ++m_lastId ? m_lastId : ++m_lastId; // 0 is the helper's own
    Question &question = m_questions[id];
    question.kind = kind;
    question.payload = payload;
    question.waiters.append(waiter);
    m_idOf.insert(key, id);
    question.sent = m_socket >= 0 && send(id, kind, payload);
    keepAliveCheck();
}

bool DiskGateway::send(quint32 id, Kind kind, const QByteArray &payload)
{
    const Header header{id, kind, Phase::Done, 0};
    iovec parts[2] = {{const_cast<Header *>(&header), sizeof header},
                      {const_cast<char *>(payload.constData()), size_t(payload.size())}};
    msghdr message = {};
    message.msg_iov = parts;
    message.msg_iovlen = 2;
    // An opener speaks where the panel does.
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    if (kind == Kind::Open) {
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        cmsghdr *passed = CMSG_FIRSTHDR(&message);
        passed->cmsg_level = SOL_SOCKET;
        passed->cmsg_type = SCM_RIGHTS;
        passed->cmsg_len = CMSG_LEN(sizeof(int));
        const int standardError = STDERR_FILENO;
        std::memcpy(CMSG_DATA(passed), &standardError, sizeof standardError);
    }
    ssize_t sent;
    while ((sent = ::sendmsg(m_socket, &message, MSG_NOSIGNAL | MSG_DONTWAIT)) < 0 &&
           errno == EINTR) {
    }
    // A full socket (a helper that stopped reading) is tried again later.
    return sent >= 0;
}

void DiskGateway::sendUnsent()
{
    if (m_socket < 0)
        return;
    for (auto it = m_questions.begin(); it != m_questions.end(); ++it) {
        if (!it->sent)
            it->sent = send(it.key(), it->kind, it->payload);
    }
}

void DiskGateway::startHelper()
{
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0)
        return helperGone();
    QList<QByteArray> arguments{QByteArrayLiteral("katalog-probe")};
    for (const QString &argument : std::as_const(m_opener))
        arguments.append(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    // It holds nothing of the panel's open (no terminal, pipe or file) for as
    // long as a share may keep it: only its socket, as descriptor 3.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pair[1], 3);
    posix_spawn_file_actions_addclosefrom_np(&actions, 4);
    pid_t pid = 0;
    const QByteArray program = QFile::encodeName(m_helper);
    const int failed =
        ::posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pair[1]);
    if (failed) {
        ::close(pair[0]);
        if (!std::exchange(m_startFailureSaid, true))
            qWarning("katalog: cannot start %s: %s: slots are neither looked up nor opened",
                     program.constData(), std::strerror(failed));
        return helperGone();
    }
    m_helperProcess = pid;
    m_startedAt = QDateTime::currentMSecsSinceEpoch();
    // Its end is waited for when it comes, without a wait here.
    const int ended = int(::syscall(SYS_pidfd_open, pid, 0));
    if (ended >= 0) {
        auto *notifier = new QSocketNotifier(ended, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [notifier, ended, pid] {
            ::waitpid(pid, nullptr, WNOHANG);
            notifier->setEnabled(false);
            notifier->deleteLater();
            ::close(ended);
        });
    }
    m_socket = pair[0];
    m_answers = new QSocketNotifier(m_socket, QSocketNotifier::Read, this);
    connect(m_answers, &QSocketNotifier::activated, this, &DiskGateway::readAnswers);
    m_aliveAsked = false;
    // What the last helper was asked and had not answered is asked again,
    // and its watches set again; what they would have told meanwhile is
    // told now.
    sendUnsent();
    const QStringList watched = m_watched.keys();
    for (const QString &folder : watched)
        askWatch(folder);
    keepAliveCheck();
    for (const QString &folder : watched)
        Q_EMIT folderChanged(folder);
}

void DiskGateway::helperGone()
{
    if (m_answers) {
        m_answers->setEnabled(false);
        m_answers->deleteLater();
        m_answers = nullptr;
    }
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
    m_helperProcess = 0;
    for (auto it = m_questions.begin(); it != m_questions.end();) {
        // An open it started goes on without it, and is not made again.
        if (it->started) {
            m_idOf.remove({int(it->kind), it->payload});
            it = m_questions.erase(it);
            continue;
        }
        it->sent = false;
        ++it;
    }
    const bool steady = QDateTime::currentMSecsSinceEpoch() - m_startedAt >= SteadyMilliseconds;
    m_restartDelay = steady ? 0 : qBound(1000, 2 * m_restartDelay, LongestRestartPause);
    m_alive->stop();
    m_restart->start(m_restartDelay);
}

void DiskGateway::restartHelper()
{
    if (m_helperProcess > 0)
        ::kill(pid_t(m_helperProcess), SIGKILL);
    helperGone();
}

void DiskGateway::readAnswers()
{
    QByteArray message(int(Gateway::LargestMessage), Qt::Uninitialized);
    for (;;) {
        const ssize_t length =
            ::recv(m_socket, message.data(), size_t(message.size()), MSG_DONTWAIT);
        if (length < 0 && errno == EINTR)
            continue;
        if (length < 0 && errno == EAGAIN)
            return;
        if (length <= 0)
            return helperGone();
        take(message.left(length));
        if (m_socket < 0)
            return;
    }
}

void DiskGateway::take(const QByteArray &message)
{
    Header header;
    if (message.size() < qsizetype(sizeof header))
        return;
    std::memcpy(&header, message.constData(), sizeof header);
    const QByteArray payload = message.mid(sizeof header);
    if (header.kind == Kind::Changed) {
        const QString folder = QFile::decodeName(payload);
        if (m_watched.contains(folder))
            Q_EMIT folderChanged(folder);
        return;
    }
    if (header.kind == Kind::Alive) {
        m_aliveAsked = false;
        return;
    }
    const auto found = m_questions.find(header.id);
    if (found == m_questions.end())
        return; // a watch set again after a restart
    if (header.phase == Phase::Started) {
        found->started = true;
        return keepAliveCheck();
    }
    const Question question = *found;
    m_questions.erase(found);
    m_idOf.remove({int(question.kind), question.payload});
    keepAliveCheck();
    for (const std::shared_ptr<Waiter> &waiter : question.waiters) {
        if (waiter->listening()) {
            waiter->told = true;
            waiter->answered(&payload);
        }
    }
}

void DiskGateway::checkAlive()
{
    // Asked at the last look and still silent: it is stopped or stuck.
    if (m_aliveAsked)
        return restartHelper();
    // A socket too full to take the question is as silent.
    send(++m_lastId ? m_lastId : ++m_lastId, Kind::Alive, {});
    m_aliveAsked = true;
    sendUnsent();
}

int DiskGateway::opensStarted() const
{
    return int(std::count_if(m_questions.cbegin(), m_questions.cend(),
                             [](const Question &question) { return question.started; }));
}

void DiskGateway::keepAliveCheck()
{
    // Only while something is out: an idle panel wakes for nothing.
    const bool waiting = std::any_of(m_questions.cbegin(), m_questions.cend(),
                                     [](const Question &question) { return !question.started; });
    if (waiting && m_socket >= 0 && !m_alive->isActive())
        m_alive->start();
    else if (!waiting && m_alive->isActive()) {
        m_alive->stop();
        m_aliveAsked = false;
    }
}
