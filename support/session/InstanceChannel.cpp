// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstanceChannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// A plain Unix socket rather than Qt's local sockets: the panel would load Qt's
// network library, and the Kerberos and proxy libraries it brings, for two words.
namespace {

constexpr int LongestRequest = 16;
constexpr int PatienceMilliseconds = 2000;

const QByteArray Yes = QByteArrayLiteral("ok\n");
const QByteArray No = QByteArrayLiteral("refused\n");

QByteArray requestLine(InstanceChannel::Request request)
{
    return request == InstanceChannel::Request::Raise ? QByteArrayLiteral("raise\n")
                                                      : QByteArrayLiteral("replace\n");
}

bool addressOf(const QString &path, sockaddr_un &address)
{
    const QByteArray name = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return true;
}

// The socket's folder already keeps others out where it is the user's
// runtime folder; the peer's own word settles it anywhere.
bool fromThisUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

bool waitFor(int fd, short events, int milliseconds)
{
    pollfd one{fd, events, 0};
    int ready;
    do
        ready = ::poll(&one, 1, milliseconds);
    while (ready < 0 && errno == EINTR);
    return ready == 1 && (one.revents & events);
}

// One caller: its request line, at most a few bytes, then one answer.
class Caller : public QObject
{
public:
    Caller(int fd, InstanceChannel *channel, std::function<void(bool raise)> granted)
        : QObject(channel)
        , m_fd(fd)
        , m_granted(std::move(granted))
        , m_readable(new QSocketNotifier(fd, QSocketNotifier::Read, this))
    {
        connect(m_readable, &QSocketNotifier::activated, this, &Caller::read);
        // A caller that says nothing is not waited for.
        QTimer::singleShot(PatienceMilliseconds, this, [this] { finish({}); });
    }
    ~Caller() override { ::close(m_fd); }

private:
    void read()
    {
        char bytes[LongestRequest + 1];
        const ssize_t got = ::recv(m_fd, bytes, sizeof bytes, MSG_DONTWAIT);
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (got <= 0)
            return finish({});
        m_line.append(bytes, got);
        if (!m_line.contains('\n') && m_line.size() <= LongestRequest)
            return;
        const bool raise = m_line == requestLine(InstanceChannel::Request::Raise);
        const bool replace = m_line == requestLine(InstanceChannel::Request::Replace);
        finish(fromThisUser(m_fd) && (raise || replace) ? Yes : No);
        if (m_answered == Yes)
            m_granted(raise);
    }
    void finish(const QByteArray &answer)
    {
        if (m_done)
            return;
        m_done = true;
        m_answered = answer;
        m_readable->setEnabled(false);
        if (!answer.isEmpty())
            (void)::send(m_fd, answer.constData(), size_t(answer.size()), MSG_NOSIGNAL);
        deleteLater();
    }

    int m_fd;
    std::function<void(bool raise)> m_granted;
    QSocketNotifier *m_readable;
    QByteArray m_line, m_answered;
    bool m_done = false;
};

} // namespace

InstanceChannel::InstanceChannel(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
{}

InstanceChannel::~InstanceChannel()
{
    stopListening();
}

void InstanceChannel::stopListening()
{
    if (m_fd < 0)
        return;
    delete m_calls;
    m_calls = nullptr;
    ::close(m_fd);
    m_fd = -1;
    ::unlink(QFile::encodeName(m_path).constData());
}

QStringList InstanceChannel::socketPaths(const QString &folder)
{
    const QString name =
        QStringLiteral("/katalog-") +
        QString::fromLatin1(
            QCryptographicHash::hash(QDir::cleanPath(folder).toUtf8(), QCryptographicHash::Sha256)
                .toHex()
                .left(16));
    QStringList paths;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        paths.append(runtime + name);
    // Where the runtime folder is missing or read-only: a folder of the
    // user's own in the temporary folder.
    paths.append(QDir::tempPath() + QStringLiteral("/katalog-%1").arg(::getuid()) + name);
    return paths;
}

namespace {

// The socket's folder is the user's runtime folder, or the private one made
// for it here: a folder that is not the user's alone is not used.
bool privateFolderFor(const QString &socket)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(socket).path());
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info = {};
    return ::lstat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

} // namespace

bool InstanceChannel::listen()
{
    if (m_fd >= 0)
        return false;
    const QStringList paths = socketPaths(m_folder);
    for (const QString &path : paths) {
        sockaddr_un address;
        if ((path == paths.constLast() && !privateFolderFor(path)) || !addressOf(path, address))
            continue;
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (m_fd < 0)
            return false;
        // Only the lock's holder gets here: a socket there is a dead panel's.
        ::unlink(address.sun_path);
        const mode_t mask = ::umask(077);
        const bool bound =
            ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        ::umask(mask);
        if (bound && ::listen(m_fd, 4) == 0) {
            m_path = path;
            break;
        }
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_fd < 0)
        return false;
    m_calls = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_calls, &QSocketNotifier::activated, this, [this] {
        const int caller = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (caller >= 0)
            new Caller(caller, this, [this](bool raise) {
                raise ? Q_EMIT raiseRequested() : Q_EMIT replaceRequested();
            });
    });
    return true;
}

bool InstanceChannel::ask(const QString &folder, Request request, int milliseconds)
{
    // The running panel listens at the first place it could.
    for (const QString &path : socketPaths(folder)) {
        if (askAt(path, request, milliseconds))
            return true;
    }
    return false;
}

bool InstanceChannel::askAt(const QString &path, Request request, int milliseconds)
{
    sockaddr_un address;
    if (!addressOf(path, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const QByteArray line = requestLine(request);
    QByteArray answer;
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::send(fd, line.constData(), size_t(line.size()), MSG_NOSIGNAL) == line.size()) {
        char bytes[16];
        while (!answer.contains('\n') && waitFor(fd, POLLIN, milliseconds)) {
            const ssize_t got = ::recv(fd, bytes, sizeof bytes, 0);
            if (got <= 0)
                break;
            answer.append(bytes, got);
        }
    }
    ::close(fd);
    return answer == Yes;
}
