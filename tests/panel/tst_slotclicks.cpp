// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's rules without a window: clicks, the letter row, letters and
// catalogues.
#include "helpers/BoardFixture.h"

class TestSlotClicks : public BoardFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(makeTargets(m_dir.path())); }
    void init() { startEmpty(); }

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
        QTest::newRow("clicked while the start's question is out: opens when it is answered") << "Games" << " Games" << true << false << " Games" << "from start";
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
        startOn(entries, late == "from start");
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
            m_desktop->targets.answer(targetPath); // a change heard later opens nothing
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
};

QTEST_GUILESS_MAIN(TestSlotClicks)
#include "tst_slotclicks.moc"
