// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's rules without a window, on a fake desktop and a store in
// memory: start-up, drops, the eraser, clicks, letters and catalogues, and
// what the disk and other programs do meanwhile.
#include "helpers/FakeDesktop.h"
#include "helpers/TestFiles.h"
#include "panel/SlotBoard.h"
#include "panel/SlotRules.h"
#include "panel/SlotView.h"
#include "panel/StoreFile.h"
#include "support/disk/PatientStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// What the panel would show; -1: never marked.
struct RecordedView : SlotView
{
    void showCaption(int k, const QString &caption, const QString &, const QString &) override
    {
        captions[k] = caption;
    }
    void showPicture(int k, const QIcon &picture) override { pictures[k] = !picture.isNull(); }
    void showErasedPicture(int k) override { erased[k] = true; }
    void markSlot(int k) override { marked = k; }
    void showLetterRow(bool shown) override { row = shown; }
    void showHoverText(const QString &text) override { hover = text; }
    void takeDrops(bool taken) override { drops = taken; }
    QString title() const override { return QStringLiteral("КаталогOrlanta"); }

    QString captions[13];
    bool pictures[13]{};
    bool erased[13]{};
    int marked = -1;
    bool row = true; // as a row shown before
    QString hover;
    bool drops = true;
};

} // namespace

class TestSlotBoard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *folder : {"Games", "Arch/А"})
            QVERIFY(QDir(m_dir.path()).mkpath(QString::fromUtf8(folder)));
        for (const char *file : {"report.doc", "a.txt"})
            QVERIFY(QFile(path(file)).open(QIODevice::WriteOnly));
    }

    void init()
    {
        m_store = MemoryStore();
        startOn(emptyStore());
    }

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
        QTest::addColumn<QString>("told");   // the store cannot be made, or read
        QTest::addColumn<QString>("change"); // on disk, once the panel is up
        QStringList targets = emptyStore();
        targets[3] = path("Games"), targets[15] = " Games";
        targets[4] = path("gone.txt"), targets[16] = "gone.txt";
        targets[6] = path("doomed.txt"), targets[18] = "doomed.txt";
        const QStringList shortStore{"1", m_dir.path()};
        // clang-format off
        QTest::newRow("new store: slot 12") << QStringList() << 12 << "1" << false << "" << "";
        QTest::newRow("a folder that exists") << targets << 3 << " Games" << true << "" << "";
        QTest::newRow("a file that is gone") << targets << 4 << "gone.txt" << false << "" << "";
        QTest::newRow("short store: slot 1") << shortStore << 1 << "" << true << "" << "";
        QTest::newRow("cannot be created") << QStringList() << 2 << "" << false << "создать" << "";
        QTest::newRow("cannot be read") << QStringList{"1"} << 2 << "" << false << "прочитает его заново" << "";
        QTest::newRow("answered late: no picture until then") << targets << 3 << " Games" << true << "" << "late";
        QTest::newRow("target deleted") << targets << 6 << "doomed.txt" << false << "" << "deleted";
        QTest::newRow("store edited outside") << targets << 2 << "a.txt" << true << "" << "edited";
        QTest::newRow("store half written outside: kept") << targets << 3 << " Games" << true << "" << "half";
        QTest::newRow("store cut short at a line's end outside: kept") << targets << 3 << " Games" << true << "" << "short";
        QTest::newRow("own save: nothing asked again") << targets << 3 << " Games" << true << "" << "own";
        QTest::newRow("not created, then room: placeholders saved") << QStringList() << 2 << " " << false << "создать" << "room";
        QTest::newRow("unread store fixed outside") << QStringList{"1"} << 2 << "a.txt" << true << "прочитает его заново" << "edited";
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
        int messages = told.isEmpty() ? 0 : told == "создать" ? 3 : 2;
        if (change == "late") {
            QVERIFY(!m_view.pictures[slot]);
            disk.release();
        } else if (change == "deleted") {
            QVERIFY(QFile::remove(path("doomed.txt")));
            disk.answer(path("doomed.txt"));
        } else if (change == "edited" || change == "half" || change == "short") {
            QStringList edited = emptyStore() + QStringList{"extra"};
            edited[2] = path("a.txt"), edited[14] = "a.txt", edited[3] = "edited";
            const QByteArray bytes = *StoreFile::serialise(edited);
            m_store.bytes =
                bytes.left(change == "edited" ? bytes.size()
                           : change == "half" ? bytes.size() - 3
                                              : bytes.indexOf('\n', bytes.size() / 2) + 1);
            m_store.readFailure.clear();
            m_board->storeChanged();
            if (change == "edited")
                entries = edited, messages = told.isEmpty() ? 0 : 1;
        } else if (change == "room") {
            m_store.writeFailure.clear();
            m_board->erase(2);
            QVERIFY(m_view.erased[2]);
            QCOMPARE(m_store.bytes, StoreFile::serialise(emptyStore()));
            entries = emptyStore(), messages = 1;
        } else if (change == "own") {
            m_board->drop(9, {{path("a.txt"), true}});
            entries = m_board->list().entries();
            disk.holding = true;
            m_board->storeChanged();
            QVERIFY(disk.asked.isEmpty());
        }
        if (!told.isEmpty() && change.isEmpty()) {
            QVERIFY(m_desktop->messages.texts[0].contains(m_store.path()));
            QVERIFY(m_desktop->messages.texts[0].contains(told));
            m_board->drop(2, {{path("a.txt"), true}});
            m_board->erase(2);
            QVERIFY(!m_view.erased[2]);
            QCOMPARE(m_store.writes, 0);
            entries = told == "создать" ? emptyStore() : QStringList{}; // as it would be, or none
        } else if (entries.isEmpty()) {
            QCOMPARE(m_store.bytes.value(), QByteArray("1\r").repeated(24) + "1\r\n"); // 51 bytes
            entries = emptyStore();
        }
        QCOMPARE(m_desktop->messages.titles, QStringList(messages, "КаталогOrlanta"));
        QCOMPARE(m_board->list().entries(), entries);
        QCOMPARE(m_view.drops, told != "прочитает его заново" || change == "edited");
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
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QString>("caption"); // empty: refused
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QString>("meanwhile"); // what the store or the disk does
        // clang-format off
        QTest::newRow("file") << QStringList{"report.doc"} << "report.doc" << true << "";
        QTest::newRow("folder") << QStringList{"Games"} << " Games" << true << "";
        QTest::newRow("three, the last wins") << QStringList{"a.txt", "report.doc", "Games"} << " Games" << true << "";
        QTest::newRow("refused: LF") << QStringList{"two\nlines"} << "" << false << "";
        QTest::newRow("refused: CR") << QStringList{"two\rlines"} << "" << false << "";
        QTest::newRow("refused: no exact name") << QStringList{"a.txt", "?café"} << "" << false << "";
        QTest::newRow("the save fails") << QStringList{"!report.doc"} << "" << false << "";
        QTest::newRow("nothing dropped") << QStringList{} << "" << false << "";
        QTest::newRow("the eraser") << QStringList{"eraser"} << " " << false << "";
        QTest::newRow("the eraser, the save fails: as stored") << QStringList{"!eraser"} << "" << false << "";
        QTest::newRow("after an edit outside: both kept") << QStringList{"report.doc"} << "report.doc" << true << "edited";
        QTest::newRow("answered late: stored then") << QStringList{"report.doc"} << "report.doc" << true << "late";
        QTest::newRow("erased before the answer") << QStringList{"report.doc"} << " " << false << "late, erased";
        QTest::newRow("a folder unanswered for a second: stored as a file, then marked") << QStringList{"Games"} << " Games" << true << "slow";
        QTest::newRow("a file unanswered for a second: stored then") << QStringList{"report.doc"} << "report.doc" << true << "slow";
        QTest::newRow("a folder the drop said was one: marked before the answer") << QStringList{"Games/"} << " Games" << true << "slow";
        QTest::newRow("closed before the answer: stored, then marked") << QStringList{"Games"} << " Games" << true << "slow, closed";
        QTest::newRow("the disk stalls the save: another slot opens meanwhile") << QStringList{"report.doc"} << "report.doc" << true << "stalled";
        QTest::newRow("the disk stalls the save: a drop on another slot meanwhile kept") << QStringList{"report.doc"} << "report.doc" << true << "stalled, dropped";
        QTest::newRow("closed while the disk stalls the save: told") << QStringList{"report.doc"} << "report.doc" << true << "stalled, closed";
        QTest::newRow("the disk cannot say: the name as dropped") << QStringList{"report.doc"} << "report.doc" << false << "cannot say";
        QTest::newRow("the disk cannot say of a folder: never a lone space") << QStringList{"Games"} << "Games" << false << "slow, cannot say";
        // clang-format on
    }

    void drop()
    {
        QFETCH(QStringList, dropped);
        QFETCH(QString, caption);
        QFETCH(bool, picture);
        QFETCH(QString, meanwhile);
        m_board->drop(5, {{path("a.txt"), true}});
        QStringList before = m_board->list().entries();
        if (meanwhile == "edited") { // not yet heard of
            before[7] = path("Games"), before[19] = " Games";
            m_store.bytes = StoreFile::serialise(before);
        }
        m_desktop->targets.holding = meanwhile.startsWith("late") || meanwhile.startsWith("slow");
        const bool failing = !dropped.isEmpty() && dropped[0].startsWith('!');
        if (failing)
            m_store.writeFailure = std::make_error_code(std::errc::no_space_on_device);
        const bool eraser = !dropped.isEmpty() && dropped[0].endsWith("eraser");
        QList<DroppedFile> files;
        for (QString name : dropped) {
            const bool saidFolder = name.endsWith('/');
            name.remove('/');
            files.append({path(name.mid(QStringLiteral("?!").contains(name.front()))),
                          !name.startsWith('?'), saidFolder});
        }
        if (meanwhile.endsWith("cannot say"))
            m_desktop->targets.cannotSay.append(files.last().path);
        QStringList openedMeanwhile, shownMeanwhile;
        if (meanwhile.startsWith("stalled")) {
            m_store.stall = std::make_shared<QSemaphore>();
            QTimer::singleShot(50, this, [&] {
                m_board->click(2);
                openedMeanwhile = m_desktop->opener.opened;
                shownMeanwhile.append(m_view.captions[5]);
                if (meanwhile.endsWith("closed"))
                    m_board->closing();
                m_store.stall->release(100);
                if (meanwhile.endsWith("dropped")) // asked while the save is out
                    m_board->drop(7, {{path("a.txt"), true}});
            });
        }
        if (eraser) {
            m_board->erase(5);
            QCOMPARE(m_view.erased[5], !failing);
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
        if (meanwhile.startsWith("slow")) {
            // Stored as dropped: after a second, or as the panel closes.
            const QString asDropped =
                SlotRules::droppedCaption(files.last().path, files.last().folder);
            if (meanwhile.contains("closed"))
                m_board->closing();
            QTRY_COMPARE_WITH_TIMEOUT(m_board->list().captionEntry(5), asDropped,
                                      SlotBoard::AnswerMilliseconds + 500);
            QCOMPARE(m_board->list().pathEntry(5), files.last().path);
            QCOMPARE(m_view.captions[5], asDropped);
            const int writes = m_store.writes;
            m_desktop->targets.release();
            QCOMPARE(m_store.writes, writes + (asDropped != caption)); // one more to mark it
        }

        const bool erased = eraser || meanwhile.endsWith("erased");
        QStringList expected = before;
        if (!caption.isEmpty())
            expected[5] = erased ? "1" : files.last().path, expected[17] = erased ? "1" : caption;
        if (meanwhile.endsWith("dropped"))
            expected[7] = path("a.txt"), expected[19] = "a.txt";
        QCOMPARE(m_board->list().entries(), expected);
        QCOMPARE(m_store.bytes, StoreFile::serialise(expected));
        QCOMPARE(m_view.captions[5], caption.isEmpty() ? "a.txt" : caption);
        QCOMPARE(m_view.pictures[5], picture || caption.isEmpty() || eraser); // the panel clears it
        QCOMPARE(m_desktop->messages.texts.size(),
                 (caption.isEmpty() && !dropped.isEmpty()) + meanwhile.endsWith("stalled, closed"));
    }

    // A click marks its slot and opens it, or shows the letter row of a
    // catalogue, hiding one shown before; only the last click's answer shows
    // the row, and a target answered late opens then, once.
    void click_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("letterRow");
        QTest::addColumn<QString>("hoverText");
        QTest::addColumn<QString>("late"); // the disk answers after the lock
        // clang-format off
        QTest::newRow("file") << "report.doc" << "report.doc" << true << false << "" << "";
        QTest::newRow("folder") << "Games" << " Games" << true << false << " Games" << "";
        QTest::newRow("catalogue") << "Arch" << " Arch" << false << true << " Arch" << "";
        QTest::newRow("catalogue, no folder mark") << "Arch" << "Arch" << true << false << "" << "";
        QTest::newRow("file with a leading space") << "report.doc" << " report.doc" << true << false << " report.doc" << "";
        QTest::newRow("unassigned") << "" << "1" << true << false << "" << "";
        QTest::newRow("cleared") << "" << " " << true << false << " " << "";
        QTest::newRow("empty caption") << "Arch" << "" << true << false << "" << "";
        QTest::newRow("folder answered late") << "Games" << " Games" << true << false << " Games" << "once";
        QTest::newRow("catalogue answered late") << "Arch" << " Arch" << false << true << " Arch" << "once";
        QTest::newRow("clicked again, answer still out: one open") << "Games" << " Games" << true << false << " Games" << "twice";
        QTest::newRow("catalogue answered after another click: no row") << "Arch" << " Arch" << false << false << " Arch" << "then slot 2";
        // clang-format on
    }

    void click()
    {
        QFETCH(QString, target);
        QFETCH(QString, caption);
        QFETCH(bool, opens);
        QFETCH(bool, letterRow);
        QFETCH(QString, hoverText);
        QFETCH(QString, late);
        const QString targetPath = target.isEmpty() ? "1" : path(target);
        QStringList entries = emptyStore();
        entries[3] = targetPath, entries[15] = caption;
        entries[2] = path("a.txt"), entries[14] = "a.txt";
        startOn(entries);
        m_view.row = true;
        m_desktop->targets.holding = !late.isEmpty();
        m_board->click(3);
        if (!late.isEmpty()) {
            QVERIFY(m_desktop->opener.opened.isEmpty() && !m_view.row);
            QCOMPARE(m_view.marked, 3);
            if (late == "twice")
                m_board->click(3);
            if (late == "then slot 2")
                m_board->click(2);
            m_desktop->targets.release();
        }

        QStringList opened = opens ? QStringList{targetPath} : QStringList();
        if (late == "then slot 2")
            opened = QStringList{entries[2]};
        QCOMPARE(m_desktop->opener.opened, opened);
        QCOMPARE(m_board->currentPath(), late == "then slot 2" ? entries[2] : targetPath);
        QCOMPARE(m_view.row, letterRow);
        QCOMPARE(m_view.hover, hoverText);
        QCOMPARE(m_view.marked, late == "then slot 2" ? 2 : 3);
    }

    // Making stops at the first folder that cannot be made, and says so.
    void createCatalogue_data()
    {
        QTest::addColumn<int>("refused"); // -1: none
        QTest::addColumn<int>("made");
        QTest::addColumn<QString>("title"); // empty: no message
        // clang-format off
        QTest::newRow("made") << -1 << 29 << "Все исполненно";
        QTest::newRow("its own folder refused") << 0 << 0 << "КаталогOrlanta";
        QTest::newRow("the letter К refused: those before stay") << 10 << 10 << "КаталогOrlanta";
        // clang-format on
    }

    void createCatalogue()
    {
        QFETCH(int, refused);
        QFETCH(int, made);
        QFETCH(QString, title);
        const QString path = QStringLiteral("/home/u/Фото.2006");
        const QStringList folders = catalogueFolders(path);
        if (refused >= 0)
            m_desktop->folders.refused = {folders.at(refused)};
        m_board->createCatalogue(path);
        QCOMPARE(m_desktop->folders.made, folders.mid(0, made));
        QCOMPARE(m_desktop->messages.titles, title.isEmpty() ? QStringList() : QStringList{title});
        const QString text = m_desktop->messages.texts.value(0);
        QCOMPARE(text.contains(folders.value(refused, path)), !title.isEmpty());
        QCOMPARE(text.contains("уже есть"), refused >= 0); // the reason, in Russian
        QCOMPARE(text.contains("остались на месте"), refused > 0);
    }

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    // A fresh board on the store as it stands (missing unless written); with
    // late, the disk's answers wait for the test.
    void start(bool late = false)
    {
        m_board.reset();
        m_patient.reset();
        m_view = RecordedView();
        m_desktop = std::make_unique<FakeDesktop>();
        m_desktop->targets.holding = late;
        // The disk's work on a thread of its own, as the panel does it.
        m_patient = std::make_unique<PatientStore>(m_store);
        m_board = std::make_unique<SlotBoard>(m_desktop->services(), *m_patient, m_view);
        m_board->load();
    }
    void startOn(const QStringList &entries, bool late = false)
    {
        m_store.bytes = StoreFile::serialise(entries);
        QVERIFY(m_store.bytes);
        start(late);
    }

    QTemporaryDir m_dir;
    MemoryStore m_store;
    RecordedView m_view;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<PatientStore> m_patient;
    std::unique_ptr<SlotBoard> m_board;
};

QTEST_GUILESS_MAIN(TestSlotBoard)
#include "tst_slotboard.moc"
