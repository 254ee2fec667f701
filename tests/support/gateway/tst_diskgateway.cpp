// SPDX-License-Identifier: GPL-3.0-or-later
// The disk gateway with its real helper: what it answers, what it never asks,
// a helper killed or stopped, and opens that a slow or hung disk holds up.
#include "support/gateway/DiskGateway.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Records each target in opened; those named "slow…" take a second first
// (and say they have started), those named "hung…" three; "say" says so on
// standard error.
const QString Opener = QStringLiteral(
    "case \"$1\" in slow*) : > \"started $1\"; sleep 1;; hung*) sleep 3;; say) echo said say >&2;; "
    "esac; printf '%s\\n' \"$1\" >> opened");

} // namespace

class TestDiskGateway : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath("folder"));
        QVERIFY(QFile::link(m_dir.filePath("nowhere"), m_dir.filePath("dangling")));
        QVERIFY(QFile::link(m_dir.filePath("folder"), m_dir.filePath("to folder")));
        QVERIFY(QFile::link(m_dir.filePath("loop"), m_dir.filePath("loop")));
        QFile file(m_dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("first bytes") > 0);
        file.close();
        QVERIFY(mkfifo(qPrintable(m_dir.filePath("pipe")), 0600) == 0);
        // The test runs elsewhere than "/": what the helper is asked of a
        // relative path shows where it was asked.
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }
    void init()
    {
        QFile::remove(m_dir.filePath("opened"));
        m_gateway = std::make_unique<DiskGateway>(
            KATALOG_PROBE,
            QStringList{"/bin/sh", "-c", "cd " + m_dir.path() + " && " + Opener, "opener"});
    }
    void cleanup() { m_gateway.reset(); }

    // Answered by the helper, or at once, without asking, where the path
    // cannot name anything.
    void answers_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("lstatError");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("linkTarget");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("unknown"); // the disk could not say
        const QString dir = m_dir.path();
        // clang-format off
        QTest::newRow("a folder") << dir << 0 << true << "" << true << false;
        QTest::newRow("missing") << dir + "/missing" << ENOENT << false << "" << true << false;
        QTest::newRow("a link to nothing is there, and says where it leads") << dir + "/dangling" << 0 << false << dir + "/nowhere" << true << false;
        QTest::newRow("a link followed by the helper") << dir + "/to folder" << 0 << true << dir + "/folder" << true << false;
        QTest::newRow("below a file") << "/etc/hostname/x" << ENOTDIR << false << "" << true << false;
        QTest::newRow("through a link loop: nothing, not unknown") << dir + "/loop/x" << ELOOP << false << "" << true << false;
        QTest::newRow("relative: from /") << "etc" << 0 << true << "" << true << false;
        QTest::newRow("relative, there only here: not from here") << "dangling" << ENOENT << false << "" << true << false;
        QTest::newRow("empty: not asked") << "" << ENOENT << false << "" << false << false;
        QTest::newRow("a NUL: not asked") << dir + QChar(0) + "/x" << ENOENT << false << "" << false << false;
        QTest::newRow("too long: not asked") << "/" + QString(5000, 'x') << ENAMETOOLONG << false << "" << false << false;
        // clang-format on
    }
    void answers()
    {
        QFETCH(QString, path);
        QFETCH(int, lstatError);
        QFETCH(bool, folder);
        QFETCH(QString, linkTarget);
        QFETCH(bool, asked);
        QFETCH(bool, unknown);
        std::optional<EntryFacts> facts;
        m_gateway->describe(path, this, [&](const EntryFacts *answer) { facts = *answer; });
        QCOMPARE(m_gateway->questionsOut(), int(asked));
        QTRY_VERIFY(facts);
        QCOMPARE(facts->path, path);
        QCOMPARE(facts->lstatError, lstatError);
        QCOMPARE(facts->isDir(), folder);
        QCOMPARE(facts->linkTarget, linkTarget);
        QCOMPARE(facts->unknown(), unknown);
        QCOMPARE(m_gateway->questionsOut(), 0);
    }

    // A plain file's first bytes; nothing from anything else, without
    // waiting for a pipe's writer or reading a device that never ends.
    void reads_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("most");
        QTest::addColumn<QByteArray>("bytes"); // "none": nothing
        // clang-format off
        QTest::newRow("a file, whole") << m_dir.filePath("file") << 100 << QByteArray("first bytes");
        QTest::newRow("a file, its first bytes") << m_dir.filePath("file") << 5 << QByteArray("first");
        QTest::newRow("a folder") << m_dir.path() << 100 << QByteArray("none");
        QTest::newRow("a pipe") << m_dir.filePath("pipe") << 100 << QByteArray("none");
        QTest::newRow("a device") << "/dev/zero" << 100 << QByteArray("none");
        QTest::newRow("missing") << m_dir.filePath("missing") << 100 << QByteArray("none");
        // clang-format on
    }
    void reads()
    {
        QFETCH(QString, path);
        QFETCH(int, most);
        QFETCH(QByteArray, bytes);
        std::optional<std::optional<QByteArray>> read;
        m_gateway->read(path, most, this,
                        [&](const std::optional<QByteArray> *answer) { read = *answer; });
        QTRY_VERIFY(read);
        QCOMPARE(read->value_or("none"), bytes);
    }

    // A helper that dies or stops is replaced within a few seconds: the
    // question out is asked again, and its every asker told "not known
    // yet" at its deadline and the answer when it comes; the watches are
    // set again; opens go on.
    void helperTrouble_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("killed") << SIGKILL;
        QTest::newRow("stopped") << SIGSTOP;
    }
    void helperTrouble()
    {
        QFETCH(int, signal);
        const QString folder = m_dir.filePath("folder");
        QSignalSpy changed(m_gateway.get(), &DiskGateway::folderChanged);
        m_gateway->watch(folder, this,
                         [](int error) { QFAIL(qPrintable(QString::number(error))); });
        QTRY_VERIFY(m_gateway->helperProcess() > 0 && m_gateway->questionsOut() == 0);
        // An open the helper has started goes on without it, and is not made again.
        m_gateway->open("slow");
        QTRY_VERIFY(QFile::exists(m_dir.filePath("started slow")));
        QTRY_COMPARE(m_gateway->opensStarted(), 1);
        const qint64 first = m_gateway->helperProcess();
        QCOMPARE(::kill(pid_t(first), signal), 0);
        const auto reap = qScopeGuard([&] { ::kill(pid_t(first), SIGKILL); });

        QList<bool> told[2]; // null: not known yet
        for (QList<bool> &answers : told)
            m_gateway->describe(
                folder, this,
                [&answers](const EntryFacts *facts) { answers.append(facts && facts->isDir()); },
                200);
        // An asker gone before the answer is not told.
        bool goneTold = false;
        auto *gone = new QObject;
        m_gateway->describe(folder, gone, [&](const EntryFacts *) { goneTold = true; });
        delete gone;
        QCOMPARE(m_gateway->questionsOut(), 2); // the describe and the open started
        m_gateway->open("local");
        QTRY_COMPARE_WITH_TIMEOUT(told[0], (QList<bool>{false, true}), 4000);
        QCOMPARE(told[1], told[0]);
        QVERIFY(!goneTold);
        QVERIFY(m_gateway->helperProcess() != first);
        QTRY_COMPARE_WITH_TIMEOUT(opened().size(), 2, 3000);
        QStringList both = opened();
        both.sort();
        QCOMPARE(both, (QStringList{"local", "slow"}));
        changed.clear();
        QVERIFY(QFile(folder + "/new " + QTest::currentDataTag()).open(QIODevice::WriteOnly));
        QTRY_VERIFY(changed.contains(QVariantList{folder}));
    }

    // Opens run side by side, each as long as its disk takes: one held up
    // holds up no other, and one asked again while it is out is made once.
    void opens_data()
    {
        QTest::addColumn<QStringList>("targets");
        QTest::addColumn<QStringList>("opened"); // in the order they end
        // clang-format off
        QTest::newRow("as given, never read as an option") << QStringList{"-n $(touch x)"} << QStringList{"-n $(touch x)"};
        QTest::newRow("asked again while out: once") << QStringList{"slow", "slow", "local"} << QStringList{"local", "slow"};
        QTest::newRow("a local open behind three held up") << QStringList{"hung 1", "hung 2", "hung 3", "local"} << QStringList{"local"};
        QTest::newRow("a NUL: nothing") << QStringList{QString("x") + QChar(0), "local"} << QStringList{"local"};
        QTest::newRow("what it says goes to the panel's standard error") << QStringList{"say"} << QStringList{"say"};
        // clang-format on
    }
    void opens()
    {
        QFETCH(QStringList, targets);
        QFETCH(QStringList, opened);
        // This process's standard error, for the time of the row.
        QTemporaryFile said;
        QVERIFY(said.open());
        const int standardError = dup(STDERR_FILENO);
        dup2(said.handle(), STDERR_FILENO);
        for (const QString &target : targets)
            m_gateway->open(target);
        dup2(standardError, STDERR_FILENO);
        close(standardError);
        QTRY_COMPARE_WITH_TIMEOUT(this->opened(), opened, 2000);
        QVERIFY(said.seek(0)); // the opener's writes moved the shared offset
        QCOMPARE(said.readAll(), QByteArray(targets.contains("say") ? "said say\n" : ""));
    }

    void leavesNothingOpen()
    {
        const uint descriptors = QDir("/proc/self/fd").count();
        int answered = 0;
        for (int i = 0; i < 50; ++i)
            m_gateway->describe(m_dir.filePath(QString::number(i)), this,
                                [&](const EntryFacts *) { ++answered; });
        QTRY_COMPARE(answered, 50);
        QCOMPARE(QDir("/proc/self/fd").count(), descriptors);
    }

    // In the process list by its own name, never as a second panel; holding
    // none of the panel's standard streams, which a hung share would keep open.
    void namedInProcessList()
    {
        QTemporaryFile streams; // the panel's, while it starts the helper
        QVERIFY(streams.open());
        int saved[3];
        for (int fd = 0; fd < 3; ++fd) {
            saved[fd] = dup(fd);
            dup2(streams.handle(), fd);
        }
        m_gateway = std::make_unique<DiskGateway>(KATALOG_PROBE, QStringList{"/bin/true"});
        for (int fd = 0; fd < 3; ++fd) {
            dup2(saved[fd], fd);
            close(saved[fd]);
        }
        QTRY_VERIFY(m_gateway->helperProcess() > 0);
        const QString process = "/proc/" + QString::number(m_gateway->helperProcess());
        const auto read = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        // Its arguments show a moment after its start returned.
        QTRY_VERIFY(read(process + "/cmdline").startsWith(QByteArray("katalog-probe\0", 14)));
        QCOMPARE(read(process + "/comm"), "katalog-probe\n");
        for (int fd = 0; fd < 3; ++fd)
            QCOMPARE(QFile::symLinkTarget(process + "/fd/" + QString::number(fd)), "/dev/null");
    }

private:
    QStringList opened() const
    {
        QFile file(m_dir.filePath("opened"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<DiskGateway> m_gateway;
};

QTEST_GUILESS_MAIN(TestDiskGateway)
#include "tst_diskgateway.moc"
