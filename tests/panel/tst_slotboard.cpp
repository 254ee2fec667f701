// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's rules without a window, on a fake desktop and a store in
// memory: start-up, drops and the eraser, and what the disk and other
// programs do meanwhile.
#include "helpers/BoardFixture.h"
#include "panel/SlotRules.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QThread>
#include <QTimer>

#include <thread>

class TestSlotBoard : public BoardFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(makeTargets(m_dir.path()));
        m_threads = QDir("/proc/self/task").count();
    }
    // Every store let go has ended its disk's thread.
    void cleanupTestCase()
    {
        m_board.reset(), m_patient.reset();
        QTRY_COMPARE(QDir("/proc/self/task").count(), m_threads);
    }
    void init() { startEmpty(); }

    // Each slot as the store gives it; none marked, no row, no hover text. A
    // store that cannot be made or read is said once, and while it stands no
    // change is stored and drops are refused. Then the slot follows what the
    // disk and other programs do.
    void startUp_data()
    {
        QTest::addColumn<QStringList>("entries"); // none: no store yet
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QString>("told");   // the store cannot be made, or read: in its message
        QTest::addColumn<QString>("change"); // on disk, once the panel is up
        QTest::addColumn<int>("messages");
        QTest::addColumn<QStringList>("listed"); // the slot list at the end
        QTest::addColumn<bool>("drops");         // taken
        QStringList targets = emptyStore();
        targets[3] = path("Games"), targets[15] = " Games";
        targets[4] = path("gone.txt"), targets[16] = "gone.txt";
        targets[6] = path("doomed.txt"), targets[18] = "doomed.txt";
        const QStringList shortStore{"1", m_dir.path()};
        const QStringList edited = editedStore();
        QStringList own = targets;
        own[9] = path("a.txt"), own[21] = "a.txt";
        const QString create = "создать", read = "прочитает его заново";
        // clang-format off
        QTest::newRow("new store: slot 12") << QStringList() << 12 << "1" << false << "" << "" << 0 << emptyStore() << true;
        QTest::newRow("a file that is gone") << targets << 4 << "gone.txt" << false << "" << "" << 0 << targets << true;
        QTest::newRow("short store: slot 1") << shortStore << 1 << "" << true << "" << "" << 0 << shortStore << true;
        QTest::newRow("cannot be created: refuses changes") << QStringList() << 2 << "" << false << create << "" << 3 << emptyStore() << true;
        QTest::newRow("cannot be read: refuses changes") << QStringList{"1"} << 2 << "" << false << read << "" << 2 << QStringList() << false;
        QTest::newRow("answered late: no picture until then") << targets << 3 << " Games" << true << "" << "late" << 0 << targets << true;
        QTest::newRow("target deleted") << targets << 6 << "doomed.txt" << false << "" << "deleted" << 0 << targets << true;
        QTest::newRow("store edited outside") << targets << 2 << "a.txt" << true << "" << "edited" << 0 << edited << true;
        QTest::newRow("store half written outside: kept") << targets << 3 << " Games" << true << "" << "half" << 0 << targets << true;
        QTest::newRow("store cut short at a line's end outside: kept") << targets << 3 << " Games" << true << "" << "short" << 0 << targets << true;
        QTest::newRow("own save: nothing asked again") << targets << 3 << " Games" << true << "" << "own" << 0 << own << true;
        QTest::newRow("not created, then room: placeholders saved") << QStringList() << 2 << " " << false << create << "room" << 1 << emptyStore() << true;
        QTest::newRow("unread store fixed outside") << QStringList{"1"} << 2 << "a.txt" << true << read << "edited" << 1 << edited << true;
        // clang-format on
    }

    void startUp()
    {
        QFETCH(QStringList, entries);
        QFETCH(int, slot);
        QFETCH(QString, caption);
        QFETCH(bool, picture);
        QFETCH(QString, told);
        QFETCH(QString, change);
        QFETCH(int, messages);
        QFETCH(QStringList, listed);
        QFETCH(bool, drops);
        m_store = MemoryStore();
        if (told == "создать")
            m_store.writeFailure = std::make_error_code(std::errc::read_only_file_system);
        if (told == "прочитает его заново")
            m_store.readFailure = std::make_error_code(std::errc::permission_denied);
        QVERIFY(writeBytes(path("doomed.txt"), "d"));
        entries.isEmpty() ? start(change == "late") : startOn(entries, change == "late");
        FakeTargetStates &disk = m_desktop->targets;
        const QStringList paths = (m_board->list().entries() + QStringList(12, "")).mid(1, 12);
        QCOMPARE(disk.followed, told.isEmpty() ? paths : QStringList());
        if (change == "late") {
            QVERIFY(!m_view.pictures[slot]);
            disk.release();
        } else if (change == "deleted") {
            QVERIFY(QFile::remove(path("doomed.txt")));
            disk.answer(path("doomed.txt"));
        } else if (change == "edited" || change == "half" || change == "short") {
            const QByteArray bytes = *StoreFile::serialise(editedStore());
            m_store.bytes =
                bytes.left(change == "edited" ? bytes.size()
                           : change == "half" ? bytes.size() - 3
                                              : bytes.indexOf('\n', bytes.size() / 2) + 1);
            m_store.readFailure.clear();
            m_board->storeChanged();
        } else if (change == "room") {
            m_store.writeFailure.clear();
            m_board->erase(2);
            QVERIFY(m_view.erased[2]);
            QCOMPARE(m_store.bytes, StoreFile::serialise(emptyStore()));
        } else if (change == "own") {
            m_board->drop(9, {{path("a.txt"), true}});
            disk.holding = true;
            m_board->storeChanged();
            QVERIFY(disk.asked.isEmpty());
        }
        if (!told.isEmpty() && change.isEmpty()) { // said where, and why; nothing stored since
            QVERIFY(m_desktop->messages.texts[0].contains(m_store.path()));
            QVERIFY(m_desktop->messages.texts[0].contains(told));
            m_board->drop(2, {{path("a.txt"), true}});
            m_board->erase(2);
            QVERIFY(!m_view.erased[2]);
            QCOMPARE(m_store.writes, 0);
        } else if (entries.isEmpty() && told.isEmpty()) {
            QCOMPARE(m_store.bytes.value(), QByteArray("1\r").repeated(24) + "1\r\n"); // 51 bytes
        }
        QCOMPARE(m_desktop->messages.titles, QStringList(messages, "КаталогOrlanta"));
        QCOMPARE(m_board->list().entries(), listed);
        QCOMPARE(m_view.drops, drops);
        QCOMPARE(m_view.captions[slot], caption);
        QCOMPARE(m_view.pictures[slot], picture);
        QCOMPARE(m_view.marked, told.isEmpty() ? 0 : -1);
        QVERIFY(m_view.row && m_view.hover.isEmpty()); // untouched
    }

    // The last file, or the eraser's blank, is stored and shown once the disk
    // has answered. A name the store cannot hold, or a failed save, leaves
    // slot and store, and says so.
    void drop_data()
    {
        QTest::addColumn<QStringList>("dropped"); // a name that ends in "/": the drop said folder
        QTest::addColumn<bool>("eraser");         // the eraser instead
        QTest::addColumn<QString>("failing");     // "save" fails, or the last "name" is not exact
        QTest::addColumn<QString>("caption");     // empty: refused
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QString>("meanwhile"); // what the store or the disk does
        QTest::addColumn<int>("messages");
        // clang-format off
        QTest::newRow("three, the last wins") << QStringList{"a.txt", "report.doc", "Games"} << false << "" << " Games" << true << "" << 0;
        QTest::newRow("refused: CR") << QStringList{"two\rlines"} << false << "" << "" << false << "" << 1;
        QTest::newRow("refused: no exact name") << QStringList{"a.txt", "café"} << false << "name" << "" << false << "" << 1;
        QTest::newRow("the save fails") << QStringList{"report.doc"} << false << "save" << "" << false << "" << 1;
        QTest::newRow("nothing dropped") << QStringList{} << false << "" << "" << false << "" << 0;
        QTest::newRow("the eraser") << QStringList{} << true << "" << " " << false << "" << 0;
        QTest::newRow("the eraser, the save fails: as stored") << QStringList{} << true << "save" << "" << false << "" << 1;
        QTest::newRow("after an edit outside: both kept") << QStringList{"report.doc"} << false << "" << "report.doc" << true << "edited" << 0;
        QTest::newRow("a save after an unseen outside rewrite: both kept") << QStringList{} << true << "" << " " << false << "raced" << 0;
        QTest::newRow("an outside rewrite of the store as read, just after the save: both kept") << QStringList{"report.doc"} << false << "" << "report.doc" << true << "stale" << 0;
        QTest::newRow("an outside rewrite of the store as read, heard of after the save: both kept") << QStringList{"report.doc"} << false << "" << "report.doc" << true << "stale, heard" << 0;
        QTest::newRow("the slot put back outside after a version showed the drop: put back") << QStringList{"report.doc"} << false << "" << "" << true << "stale, heard once shown" << 0;
        QTest::newRow("the save fails, then an outside rewrite of the store as read: not put back") << QStringList{"report.doc"} << false << "save" << "" << false << "stale, heard" << 1;
        QTest::newRow("a drop while a kept change is saved, then the rewrite again: all kept") << QStringList{"report.doc"} << false << "" << "report.doc" << true << "stale, heard, dropped meanwhile" << 0;
        QTest::newRow("the slot put back outside seconds after the drop: put back") << QStringList{"report.doc"} << false << "" << "" << true << "stale, heard too late" << 0;
        QTest::newRow("answered late: stored then") << QStringList{"report.doc"} << false << "" << "report.doc" << true << "late" << 0;
        QTest::newRow("erased before the answer") << QStringList{"report.doc"} << false << "" << " " << false << "late, erased" << 0;
        QTest::newRow("a folder unanswered for a second: stored as a file, then marked") << QStringList{"Games"} << false << "" << " Games" << true << "slow" << 0;
        QTest::newRow("a file unanswered for a second: stored then") << QStringList{"report.doc"} << false << "" << "report.doc" << true << "slow" << 0;
        QTest::newRow("a folder the drop said was one: marked before the answer") << QStringList{"Games/"} << false << "" << " Games" << true << "slow" << 0;
        QTest::newRow("closed before the answer: stored, then marked") << QStringList{"Games"} << false << "" << " Games" << true << "slow, closed" << 0;
        QTest::newRow("a folder stored unanswered, renamed outside before the answer: not marked") << QStringList{"Games"} << false << "" << "Игры" << true << "slow, renamed" << 0;
        QTest::newRow("a folder stored unanswered, renamed outside unheard of before the answer: not marked") << QStringList{"Games"} << false << "" << "Игры" << true << "slow, renamed unheard" << 0;
        QTest::newRow("the disk stalls the save: a drop on another slot meanwhile kept") << QStringList{"report.doc"} << false << "" << "report.doc" << true << "stalled, dropped" << 0;
        QTest::newRow("closed while the disk stalls the save: told") << QStringList{"report.doc"} << false << "" << "report.doc" << true << "stalled, closed" << 1;
        QTest::newRow("the display gone while the disk stalls the save: finished before a new start") << QStringList{"report.doc"} << false << "" << "report.doc" << true << "stalled, display gone" << 0;
        QTest::newRow("the disk cannot say: the name as dropped") << QStringList{"report.doc"} << false << "" << "report.doc" << false << "cannot say" << 0;
        QTest::newRow("the disk cannot say of a folder: never a lone space") << QStringList{"Games"} << false << "" << "Games" << false << "slow, cannot say" << 0;
        // clang-format on
    }

    void drop()
    {
        QFETCH(QStringList, dropped);
        QFETCH(bool, eraser);
        QFETCH(QString, failing);
        QFETCH(QString, caption);
        QFETCH(bool, picture);
        QFETCH(QString, meanwhile);
        QFETCH(int, messages);
        m_board->drop(5, {{path("a.txt"), true}});
        QStringList before = m_board->list().entries();
        // Another program's edit of slot 7 on the store as it stands now.
        if (meanwhile == "edited" || meanwhile.startsWith("raced") || meanwhile.startsWith("stale"))
            before[7] = path("Games"), before[19] = " Games";
        const QByteArray outside = StoreFile::serialise(before).value();
        if (meanwhile == "edited") // not yet heard of
            m_store.bytes = outside;
        if (meanwhile == "raced")
            m_store.renamedBefore = outside;
        if (meanwhile == "stale")
            m_store.renamedAfter = outside;
        m_desktop->targets.holding = meanwhile.startsWith("late") || meanwhile.startsWith("slow");
        if (failing == "save")
            m_store.writeFailure = std::make_error_code(std::errc::no_space_on_device);
        QList<DroppedFile> files;
        for (QString name : dropped) {
            const bool saidFolder = name.endsWith('/');
            name.remove('/');
            files.append(
                {path(name), failing != "name" || files.size() + 1 < dropped.size(), saidFolder});
        }
        if (meanwhile.endsWith("cannot say"))
            m_desktop->targets.cannotSay.append(files.last().path);
        QStringList openedMeanwhile, shownMeanwhile;
        std::optional<QByteArray> finished;
        if (meanwhile.startsWith("stalled")) {
            m_store.stall = std::make_shared<QSemaphore>();
            QTimer::singleShot(50, this, [&] {
                m_board->click(2);
                openedMeanwhile = m_desktop->opener.opened;
                shownMeanwhile.append(m_view.captions[5]);
                if (meanwhile.endsWith("closed"))
                    m_board->closing();
                if (meanwhile.endsWith("display gone")) { // no event loop may run now
                    QVERIFY(!m_patient->finishWork(QDeadlineTimer(100))); // not by its deadline
                    std::thread([stall = m_store.stall] {
                        QThread::msleep(200);
                        stall->release(100);
                    }).detach();
                    QVERIFY(m_patient->finishWork(QDeadlineTimer(5000)));
                    finished = m_store.bytes;
                }
                m_store.stall->release(100);
                if (meanwhile.endsWith("dropped")) // asked while the save is out
                    m_board->drop(7, {{path("a.txt"), true}});
            });
        }
        if (eraser) {
            m_board->erase(5);
            QCOMPARE(m_view.erased[5], failing.isEmpty());
        } else {
            m_board->drop(5, files);
        }
        if (meanwhile.startsWith("stalled")) {
            QCOMPARE(openedMeanwhile, QStringList{"1"});
            QCOMPARE(shownMeanwhile, QStringList{caption});
        }
        if (meanwhile.startsWith("late")) {
            QCOMPARE(m_board->list().entries(), before);
            QCOMPARE(m_view.captions[5], "report.doc"); // shown at once
            if (meanwhile.endsWith("erased")) {
                m_board->erase(5);
                QVERIFY(m_view.erased[5]);
            }
            m_desktop->targets.release();
        }
        if (meanwhile.startsWith("stale, heard")) {
            // Kept within the time, which a keeping does not renew.
            if (meanwhile.endsWith("too late")) {
                QTest::qWait(SlotList::OwnChangeMilliseconds / 2);
                m_store.bytes = outside;
                m_board->storeChanged();
                QCOMPARE(m_board->list().pathEntry(5), files.last().path);
                QTest::qWait(SlotList::OwnChangeMilliseconds / 2 + 100);
            }
            if (meanwhile.endsWith("once shown")) {
                QStringList shown = m_board->list().entries();
                shown[7] = path("Games"), shown[19] = " Games";
                m_store.bytes = StoreFile::serialise(shown);
                m_board->storeChanged();
            }
            if (meanwhile.endsWith("dropped meanwhile")) { // on slot 9, while the kept one is saved
                m_store.stall = std::make_shared<QSemaphore>();
                QTimer::singleShot(50, this, [&] {
                    m_store.stall->release(100);
                    m_board->drop(9, {{path("a.txt"), true}});
                });
            }
            m_store.bytes = outside;
            m_board->storeChanged();
            if (meanwhile.endsWith("dropped meanwhile")) { // then the same rewrite again
                m_store.bytes = outside;
                m_board->storeChanged();
            }
        }
        if (meanwhile.startsWith("slow")) {
            // Stored as dropped: after a second, or as the panel closes.
            const QString asDropped =
                SlotRules::droppedCaption(files.last().path, files.last().folder);
            if (meanwhile.contains("closed")) // long before the second is up
                m_board->closing();
            else
                QTRY_COMPARE_WITH_TIMEOUT(m_board->list().captionEntry(5), asDropped,
                                          SlotBoard::AnswerMilliseconds + 500);
            QCOMPARE(m_board->list().captionEntry(5), asDropped);
            QCOMPARE(m_board->list().pathEntry(5), files.last().path);
            QCOMPARE(m_view.captions[5], asDropped);
            const bool renamed = meanwhile.contains("renamed");
            if (renamed) { // by the user, in the store, before the disk answers
                QStringList edited = m_board->list().entries();
                edited[17] = caption;
                m_store.bytes = StoreFile::serialise(edited);
                if (!meanwhile.endsWith("unheard"))
                    m_board->storeChanged();
            }
            const int writes = m_store.writes;
            m_desktop->targets.release();
            // One more to mark it, unless it was edited since.
            QCOMPARE(m_store.writes, writes + (asDropped != caption && !renamed));
        }

        const bool erased = eraser || meanwhile.endsWith("erased");
        QStringList expected = before;
        if (!caption.isEmpty())
            expected[5] = erased ? "1" : files.last().path, expected[17] = erased ? "1" : caption;
        if (meanwhile.endsWith("dropped"))
            expected[7] = path("a.txt"), expected[19] = "a.txt";
        if (meanwhile.endsWith("dropped meanwhile"))
            expected[9] = path("a.txt"), expected[21] = "a.txt";
        QCOMPARE(m_board->list().entries(), expected);
        QCOMPARE(m_store.bytes, StoreFile::serialise(expected));
        if (meanwhile.endsWith("display gone"))
            QCOMPARE(finished, m_store.bytes);
        QCOMPARE(m_view.captions[5], caption.isEmpty() ? "a.txt" : caption);
        QCOMPARE(m_view.pictures[5], picture || caption.isEmpty() || eraser); // the panel clears it
        QCOMPARE(m_desktop->messages.texts.size(), messages);
    }

    // Closing while a drop waits for its look-up and the disk holds every
    // save: the disk gets the few seconds of the store's rule in all, and
    // the user is told once.
    void closingOnAStalledDisk()
    {
        m_desktop->targets.holding = true;
        m_board->drop(5, {{path("a.txt"), true}});
        m_store.stall = std::make_shared<QSemaphore>();
        QTimer::singleShot(2 * SlotBoard::ClosingMilliseconds, this,
                           [stall = m_store.stall] { stall->release(100); });
        QElapsedTimer closing;
        closing.start();
        m_board->closing();
        QCOMPARE_LT(closing.elapsed(), SlotBoard::ClosingMilliseconds + 500);
        QCOMPARE(m_desktop->messages.texts.size(), 1);
        QVERIFY(m_desktop->messages.texts[0].contains(m_store.path()));
        m_store.stall->release(100);
    }

private:
    uint m_threads = 0;
};

QTEST_GUILESS_MAIN(TestSlotBoard)
#include "tst_slotboard.moc"
