// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/LetterRow.h"
#include "catalogue/LetterTile.h"
#include "helpers/FakeDesktop.h"
#include "helpers/TestFiles.h"
#include "helpers/Unprivileged.h"
#include "images/Pictures.h"
#include "panel/EraserPicture.h"
#include "panel/ShowIconsForm.h"
#include "panel/SlotButton.h"
#include "panel/StoreFile.h"
#include "support/GioIconSource.h"
#include "support/IconTheme.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestShowIconsForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { IconTheme::ensureFallback(); }

    void init()
    {
        m_store = m_dir.filePath(QStringLiteral("knw.dll"));
        QFile::remove(m_store);
        m_messages = RecordingMessages();
    }

    void firstStartCreatesTheStoreAndPlainSlots()
    {
        const auto form = startPanel();
        QCOMPARE(readBytes(m_store), StoreFile::defaultContent());
        QCOMPARE(form->List1().entries(), QStringList(25, QStringLiteral("1")));
        for (int k = 1; k <= 12; ++k) {
            QCOMPARE(form->Command1(k)->toolTip(), QStringLiteral("1"));
            QVERIFY(form->Command1(k)->picture().isNull());
            QCOMPARE(form->Command1(k)->backColor().rgb(), 0xFFFFFFC0u);
        }
        QVERIFY(form->Frame1()->isHidden());
        QVERIFY(form->Text1()->toPlainText().isEmpty());
        QVERIFY(m_messages.texts.isEmpty());
    }

    void letterTilesOverlapSmallerIndexOnTop()
    {
        const auto form = startPanel();
        for (int missing : {10, 27, 28, 29})
            QVERIFY(!form->Picture1(missing));
        QCOMPARE(form->Picture1(11)->y(), 148);
        QCOMPARE(form->Picture1(12)->y(), 162);
        QCOMPARE(form->Picture1(13)->y(), 180);
        QCOMPARE(form->Picture1(32)->y(), 436);
        // Row 21 of the frame lies in tile 1 (4..23) and tile 2 (20..39).
        QCOMPARE(form->Frame1()->childAt(10, 21), form->Picture1(1));
        QCOMPARE(form->Frame1()->childAt(10, 161), form->Picture1(11));
        QVERIFY(form->Picture1(1)->picture().isNull()); // drawn when first shown
        form->show();
        form->Frame1()->show();
        QVERIFY(!form->Picture1(1)->picture().isNull());
        // The eraser covers the bottom row of slot 12.
        QCOMPARE(form->childAt(20, 498), form->Picture3());
    }

    void slotsShowTheDesktopIconOfExistingTargets()
    {
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("Games")));
        const QString folder = m_dir.filePath(QStringLiteral("Games"));
        const QString deleted = m_dir.filePath(QStringLiteral("deleted.txt"));
        QStringList entries(25, QStringLiteral("1"));
        entries[3] = folder;
        entries[15] = QStringLiteral(" Games");
        entries[4] = deleted;
        entries[16] = QStringLiteral("deleted.txt");
        writeStore(entries);

        const auto form = startPanel();
        QVERIFY(!form->Command1(3)->picture().isNull());
        QVERIFY(!form->Command1(3)->picture().pixmap(32, 32).isNull());
        QCOMPARE(form->Command1(3)->toolTip(), QStringLiteral(" Games"));
        QVERIFY(form->Command1(4)->picture().isNull());
        QCOMPARE(form->Command1(4)->toolTip(), QStringLiteral("deleted.txt"));
    }

    void slotsUseOnlyTheFirst24Entries()
    {
        QStringList entries(30, QStringLiteral("1"));
        for (int i = 13; i < 30; ++i)
            entries[i] = QStringLiteral("caption %1").arg(i);
        writeStore(entries);

        const auto form = startPanel();
        QCOMPARE(form->List1().count(), 30);
        QCOMPARE(form->Command1(1)->toolTip(), QStringLiteral("caption 13"));
        QCOMPARE(form->Command1(12)->toolTip(), QStringLiteral("caption 24"));
    }

    void shortStoreLeavesMissingSlotsEmpty()
    {
        QVERIFY(writeBytes(m_store, "1\r\n" + QFile::encodeName(m_dir.path()) + "\r\n"));
        const auto form = startPanel();
        QVERIFY(!form->Command1(1)->picture().isNull());
        for (int k = 1; k <= 12; ++k)
            QVERIFY(form->Command1(k)->toolTip().isEmpty());
        QVERIFY(form->Command1(2)->picture().isNull());
        QCOMPARE(form->Command1(12)->backColor().rgb(), 0xFFFFFFC0u);
    }

    void storeThatCannotBeCreatedIsReported()
    {
        QTemporaryDir readOnly;
        QVERIFY(makeReadOnly(readOnly.path()));
        m_store = readOnly.filePath(QStringLiteral("knw.dll"));
        std::unique_ptr<ShowIconsForm> form;
        {
            Unprivileged asUser;
            form = startPanel();
        }
        QVERIFY(makeWritableByAll(readOnly.path()));
        QCOMPARE(m_messages.texts.size(), 1);
        QCOMPARE(m_messages.titles.first(), QStringLiteral("КаталогOrlanta"));
        QVERIFY(m_messages.texts.first().contains(m_store));
        QVERIFY(m_messages.texts.first().contains(QStringLiteral("создать")));
        QVERIFY(!QFile::exists(m_store));
        // The panel opens all the same, its slots as they were laid out.
        QVERIFY(form->Command1(1)->toolTip().isEmpty());
        QCOMPARE(form->List1().count(), 0);
    }

    void unreadableStoreIsExplainedOnceAndNeverShownChanged()
    {
        QVERIFY(QDir().mkpath(m_store)); // exists, and cannot be read as a file
        const auto form = startPanel();
        QCOMPARE(m_messages.texts.size(), 1);
        QVERIFY(m_messages.texts.first().contains(QStringLiteral("перезапустите")));
        const QList<DroppedFile> drop{{m_dir.path(), true}};
        form->Command1_OLEDragDrop(2, drop);
        form->Command1_OLEDragDrop(3, drop);
        form->Command1_DragDrop(4, form->Picture3());
        QCOMPARE(m_messages.texts.size(), 2); // the refusal, explained once
        QVERIFY(m_messages.texts.last().contains(QStringLiteral("не изменён")));
        for (int k : {2, 3, 4}) {
            QVERIFY(form->Command1(k)->caption().isEmpty());
            QVERIFY(form->Command1(k)->picture().isNull());
        }
        QVERIFY(QFileInfo(m_store).isDir());
        QVERIFY(QDir().rmdir(m_store));
    }

    void picturesForDenseScreens_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        for (const char *name : {"eraser", "drag icon", "help picture", "tile А", "tile Я"}) {
            const QSize size = picture(name, 1).size();
            QTest::newRow(name) << name << size;
        }
    }

    void picturesForDenseScreens()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QVERIFY(!size.isEmpty());
        const QPixmap dense = picture(name, 2);
        QCOMPARE(dense.devicePixelRatio(), 2.0);
        QCOMPARE(dense.size(), size * 2);
        QCOMPARE(dense.deviceIndependentSize().toSize(), size);
        QVERIFY(Pictures::windowIcon().availableSizes().contains(QSize(64, 64)));
    }

private:
    static QPixmap picture(const QString &name, qreal ratio)
    {
        if (name == "eraser")
            return Pictures::eraser(ratio);
        if (name == "drag icon")
            return Pictures::dragIcon(ratio);
        if (name == "help picture")
            return Pictures::helpPicture(ratio);
        return Pictures::letterTile(name.endsWith(u'А') ? 192 : 223, ratio);
    }

    std::unique_ptr<ShowIconsForm> startPanel();
    void writeStore(const QStringList &entries);

    QTemporaryDir m_dir;
    QString m_store;
    GioIconSource m_icons;
    RecordingMessages m_messages;
    RecordingOpener m_opener;
    ScriptedPause m_pause;
    ScriptedSaveDialog m_saveDialog;
};

std::unique_ptr<ShowIconsForm> TestShowIconsForm::startPanel()
{
    auto form = std::make_unique<ShowIconsForm>(
        DesktopServices{m_icons, m_messages, m_opener, m_pause, m_saveDialog},
        [this] { return m_store; });
    form->Form_Load();
    return form;
}

void TestShowIconsForm::writeStore(const QStringList &entries)
{
    QByteArray bytes;
    QVERIFY(StoreFile::serialise(entries, &bytes, m_store).ok());
    QVERIFY(writeBytes(m_store, bytes));
}

QTEST_MAIN(TestShowIconsForm)
#include "tst_showiconsform.moc"
