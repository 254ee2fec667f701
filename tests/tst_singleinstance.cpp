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
    void onePanelPerFolder()
    {
        QTemporaryDir dir;
        const QString store = dir.filePath(QStringLiteral("knw.dll"));
        QVERIFY(makeReadOnly(dir.path())); // a shared install's folder
        auto first = std::make_unique<SingleInstance>(store);
        Outcome outcome;
        {
            Unprivileged asUser;
            QVERIFY(asUser.active());
            outcome = first->acquire();
        }
        QCOMPARE(outcome, Outcome::Acquired);
        // Nothing beside the store for a user to delete.
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());

        SingleInstance second(store);
        QCOMPARE(second.acquire(), Outcome::AlreadyRunning);
        QVERIFY(makeWritableByAll(dir.path()));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("other")));
        SingleInstance elsewhere(dir.filePath(QStringLiteral("other/knw.dll")));
        QCOMPARE(elsewhere.acquire(), Outcome::Acquired);

        // A program the panel started outlives it without holding its lock.
        QProcess launched;
        launched.start(QStringLiteral("sleep"), {QStringLiteral("5")});
        QVERIFY(launched.waitForStarted());
        first.reset();
        SingleInstance third(store);
        QCOMPARE(third.acquire(), Outcome::Acquired);
        launched.kill();
        launched.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
