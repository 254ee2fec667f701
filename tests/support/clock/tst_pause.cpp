// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/clock/EventLoopPause.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <ctime>

class TestPause : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // It returns only after its time, sleeping rather than spinning: a
    // spinning wait burns the whole time in CPU, a sleeping one next to
    // nothing. The bounds are loose so that a loaded machine cannot fail it.
    void returnsAfterItsTimeAsleep_data()
    {
        QTest::addColumn<int>("milliseconds");
        // clang-format off
        QTest::newRow("zero") << 0;
        QTest::newRow("short") << 30;
        QTest::newRow("the lock's second") << 1000;
        // clang-format on
    }

    void returnsAfterItsTimeAsleep()
    {
        QFETCH(int, milliseconds);
        const clock_t cpu = clock();
        QElapsedTimer clock;
        clock.start();
        m_pause.wait(milliseconds);
        const qint64 took = clock.nsecsElapsed();
        QVERIFY2(took > qint64(milliseconds) * 1000000, qPrintable(QString::number(took)));
        QVERIFY2(took < qint64(qMax(milliseconds, 0) + 500) * 1000000,
                 qPrintable(QString::number(took)));
        QVERIFY(::clock() - cpu < CLOCKS_PER_SEC / 10);
    }

    // Events run meanwhile, a nested pause among them, which finishes first;
    // quitting ends a pause at once (last: it quits the application's loops).
    void nestedPausesAndQuitting()
    {
        QStringList order;
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(10, this, [&] { order.append(QStringLiteral("event")); });
        QTimer::singleShot(20, this, [&] {
            m_pause.wait(200);
            order.append(QStringLiteral("inner"));
        });
        m_pause.wait(50);
        order.append(QStringLiteral("outer"));
        QCOMPARE(order, (QStringList{"event", "inner", "outer"}));
        QVERIFY(clock.elapsed() >= 220);
        QTimer::singleShot(20, qApp, [] { QCoreApplication::exit(0); });
        clock.restart();
        m_pause.wait(5000);
        QVERIFY(clock.elapsed() < 2000);
    }

private:
    EventLoopPause m_pause;
};

QTEST_GUILESS_MAIN(TestPause)
#include "tst_pause.moc"
