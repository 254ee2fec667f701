// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpers/TestFiles.h"
#include "helpers/Unprivileged.h"
#include "support/SingleInstance.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Outcome = SingleInstance::Outcome;

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondPanelOnTheSameStoreIsRefused()
    {
        QTemporaryDir dir;
        const QString store = dir.filePath(QStringLiteral("knw.dll"));
        auto first = std::make_unique<SingleInstance>(store);
        QCOMPARE(first->acquire(), Outcome::Acquired);

        SingleInstance second(store);
        QCOMPARE(second.acquire(), Outcome::AlreadyRunning);
        QVERIFY(!QFile::exists(store));

        SingleInstance elsewhere(dir.filePath(QStringLiteral("other/knw.dll")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("other")));
        QCOMPARE(elsewhere.acquire(), Outcome::Acquired);

        first.reset();
        SingleInstance third(store);
        QCOMPARE(third.acquire(), Outcome::Acquired);
    }

    void programsStartedByThePanelDoNotHoldItsLock()
    {
        QTemporaryDir dir;
        const QString store = dir.filePath(QStringLiteral("knw.dll"));
        auto panel = std::make_unique<SingleInstance>(store);
        QCOMPARE(panel->acquire(), Outcome::Acquired);
        QProcess launched;
        launched.start(QStringLiteral("sleep"), {QStringLiteral("5")});
        QVERIFY(launched.waitForStarted());
        panel.reset();
        SingleInstance next(store);
        QCOMPARE(next.acquire(), Outcome::Acquired);
        launched.kill();
        launched.waitForFinished();
    }

    void lockOfADeadPanelIsTakenOver()
    {
        QTemporaryDir dir;
        const QString store = dir.filePath(QStringLiteral("knw.dll"));
        // A panel that was killed leaves its lock file behind, unlocked.
        QVERIFY(writeBytes(store + QStringLiteral(".lock"), QByteArray()));
        SingleInstance instance(store);
        QCOMPARE(instance.acquire(), Outcome::Acquired);
    }

    void readOnlyFolderDoesNotStopThePanel()
    {
        QTemporaryDir dir;
        QVERIFY(makeReadOnly(dir.path()));
        Outcome outcome;
        {
            Unprivileged asUser;
            SingleInstance instance(dir.filePath(QStringLiteral("knw.dll")));
            outcome = instance.acquire();
        }
        QVERIFY(makeWritableByAll(dir.path()));
        QCOMPARE(outcome, Outcome::Unavailable);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
