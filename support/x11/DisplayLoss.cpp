// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayLoss.h"

#include "internal/X11Connection.h"

#include <QByteArrayList>
#include <QFile>
#include <QString>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <xcb/xcb.h>

namespace {

const DisplayLoss::FinishSaves *finishSaves = nullptr; // the living object's
QtMessageHandler previous = nullptr;

// The compositor's socket still takes connections: the session goes on.
bool compositorAnswers()
{
    const QByteArray name = qgetenv("WAYLAND_DISPLAY");
    if (name.isEmpty())
        return false; // the X server was the session
    const QByteArray path = name.startsWith('/') ? name : qgetenv("XDG_RUNTIME_DIR") + '/' + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // A compositor too busy to take it at once is still there.
    const bool taken = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 ||
                       errno == EAGAIN || errno == EINPROGRESS;
    ::close(fd);
    return taken;
}

// Asks the display for a connection on a thread of its own: a compositor
// holds the display's socket while its XWayland starts again, and a
// connection made then is answered only once the server runs. One attempt
// at a time; one still unanswered is waited for again next time.
class DisplayKnock
{
public:
    bool answersWithin(int milliseconds)
    {
        const QDeadlineTimer deadline(milliseconds);
        if (!m_attempt) {
            m_attempt = std::make_shared<Attempt>();
            std::thread([attempt = m_attempt] {
                xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
                const bool answered = !xcb_connection_has_error(connection);
                xcb_disconnect(connection);
                const std::lock_guard lock(attempt->mutex);
                attempt->answered = answered;
                attempt->finished = true;
                attempt->done.notify_one();
            }).detach();
        }
        const std::shared_ptr<Attempt> attempt = m_attempt;
        std::unique_lock lock(attempt->mutex);
        if (!attempt->done.wait_for(lock, deadline.remainingTimeAsDuration(),
                                    [&attempt] { return attempt->finished; }))
            return false;
        m_attempt.reset();
        if (!attempt->answered) // refused at once: asked again only after the interval
            std::this_thread::sleep_for(deadline.remainingTimeAsDuration());
        return attempt->answered;
    }

private:
    struct Attempt
    {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool answered = false;
    };
    std::shared_ptr<Attempt> m_attempt;
};

// The command line or environment the program was started with, as the
// system keeps them: the environment before the program changed its own.
QByteArrayList startedWith(const char *file)
{
    QFile kept(QString::fromLatin1(file));
    QByteArrayList parts;
    if (kept.open(QIODevice::ReadOnly))
        parts = kept.readAll().split('\0');
    if (!parts.isEmpty() && parts.constLast().isEmpty())
        parts.removeLast();
    return parts;
}

std::vector<char *> pointersTo(QByteArrayList &strings)
{
    std::vector<char *> pointers;
    for (QByteArray &string : strings)
        pointers.push_back(string.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Returns only when the program could not be run again.
void startAgain()
{
    QByteArrayList arguments = startedWith("/proc/self/cmdline");
    QByteArrayList environment = startedWith("/proc/self/environ");
    std::vector<char *> argv = pointersTo(arguments), envp = pointersTo(environment);
    // Nothing goes to the new image, not even what a library opened without
    // close-on-exec: the folder's lock, the instance socket and the disk
    // helper's socket (the helper ends as it closes) are let go.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    // By its path, so that the process keeps its name rather than "exe"; a
    // program replaced there meanwhile starts as the newer one.
    QByteArray path = QFile::encodeName(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    if (path.endsWith(" (deleted)"))
        path.chop(qstrlen(" (deleted)"));
    ::execve(path.constData(), argv.data(), envp.data());
    ::execve("/proc/self/exe", argv.data(), envp.data());
}

void say(const QMessageLogContext &context, const QString &what)
{
    previous(QtWarningMsg, context,
             QStringLiteral("katalog: the X display %1 broke off %2")
                 .arg(QString::fromLocal8Bit(qgetenv("DISPLAY")), what));
}

// Qt finds the connection broken where it reads it or where Xlib writes to
// it, and ends the program after its message, the latter with Xlib's words
// too. Either way it ends here, as Qt would end it, or starts again.
[[noreturn]] void displayLost(const QMessageLogContext &context)
{
    QString why = QStringLiteral("while the store's disk did not answer");
    if ((*finishSaves)(QDeadlineTimer(DisplayLoss::FinishMilliseconds))) {
        // No event loop notes a termination signal now: it ends the program
        // at once, as it would any program.
        for (const int signal : {SIGTERM, SIGHUP, SIGINT})
            std::signal(signal, SIG_DFL);
        DisplayKnock knock;
        switch (DisplayLoss::awaitDisplay([&knock](int ms) { return knock.answersWithin(ms); })) {
        case DisplayLoss::Outcome::Back:
            say(context, QStringLiteral("and answers again: starting again"));
            startAgain();
            why = QStringLiteral("and could not start again (%1)")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
            break;
        case DisplayLoss::Outcome::SessionOver:
            why = QStringLiteral("with the session");
            break;
        case DisplayLoss::Outcome::NotBack:
            why = QStringLiteral("and did not answer again within %1 s")
                      .arg(DisplayLoss::LongestWaitMilliseconds / 1000);
            break;
        }
    }
    say(context, why + QStringLiteral(": ending"));
    std::exit(1);
}

// Qt's X11 platform says this, and ends the program, once it finds its
// connection broken; Qt offers no other word of it.
void onMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    static std::atomic_flag seen = ATOMIC_FLAG_INIT;
    if (finishSaves && type == QtWarningMsg &&
        message.startsWith(QLatin1String("The X11 connection broke")) && !seen.test_and_set())
        displayLost(context);
    previous(type, context, message);
}

} // namespace

DisplayLoss::DisplayLoss(FinishSaves finishSaves)
    : m_finishSaves(std::move(finishSaves))
{
    if (!X11::connection())
        return;
    ::finishSaves = &m_finishSaves;
    previous = qInstallMessageHandler(onMessage);
}

DisplayLoss::~DisplayLoss()
{
    if (::finishSaves != &m_finishSaves)
        return;
    ::finishSaves = nullptr;
    qInstallMessageHandler(previous);
}

DisplayLoss::Outcome DisplayLoss::awaitDisplay(const std::function<bool(int)> &displayAnswers)
{
    for (int waited = 0; waited < LongestWaitMilliseconds; waited += LookMilliseconds) {
        if (!compositorAnswers())
            return Outcome::SessionOver;
        if (displayAnswers(LookMilliseconds))
            return Outcome::Back;
    }
    return Outcome::NotBack;
}
