// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/LetterRow.h"
#include "helpers/PanelFixture.h"
#include "helpers/TestFiles.h"
#include "panel/EraserPicture.h"
#include "panel/ShowIconsForm.h"
#include "panel/SlotButton.h"
#include "panel/StoreFile.h"

#include <QApplication>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QUrl>

#include <memory>

namespace {

QStringList emptyStore()
{
    return QStringList(25, QStringLiteral("1"));
}

// A drop of these paths, or of these URIs where they have a scheme.
std::unique_ptr<QMimeData> filesData(const QStringList &paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(path.startsWith(QLatin1String("file:")) ? QUrl(path)
                                                            : QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

} // namespace

class TestSlotHandlers : public QObject, private PanelFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QDir dir(m_dir.path());
        QVERIFY(dir.mkpath(QStringLiteral("Games")));
        QVERIFY(dir.mkpath(QStringLiteral("Arch/А")));
        QVERIFY(writeBytes(path(QStringLiteral("report.doc")), "x"));
        QVERIFY(writeBytes(path(QStringLiteral("a.txt")), "x"));
        QVERIFY(writeBytes(path(QStringLiteral(".profile")), "x"));
        QVERIFY(writeBytes(path(QStringLiteral("Café résumé.pdf")), "x"));
        QVERIFY(writeBytes(path(QStringLiteral("🎵 playlist.m3u")), "x"));
        QVERIFY(dir.mkpath(QStringLiteral("数据")));
        QVERIFY(writeBytes(path(QStringLiteral("<i>x.txt")), "x"));
        QVERIFY(writeBytes(path(QStringLiteral("a<br>b.txt")), "x"));
        QVERIFY(QFile::link(path(QStringLiteral("nowhere")), path(QStringLiteral("dangling"))));
        m_store = storePath();
    }

    void init() { startPanelOn(emptyStore()); }

    void dropAssignsTheLastFile_data()
    {
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("picture");

        QTest::newRow("file") << QStringList{"report.doc"} << "report.doc" << true;
        QTest::newRow("folder") << QStringList{"Games"} << " Games" << true;
        QTest::newRow("hidden file") << QStringList{".profile"} << " " << true;
        QTest::newRow("three at once, the last wins")
            << QStringList{"a.txt", "report.doc", "Games"} << " Games" << true;
        QTest::newRow("accented Latin")
            << QStringList{"Café résumé.pdf"} << "Café résumé.pdf" << true;
        QTest::newRow("emoji outside the BMP")
            << QStringList{"🎵 playlist.m3u"} << "🎵 playlist.m3u" << true;
        QTest::newRow("CJK folder") << QStringList{"数据"} << " 数据" << true;
        QTest::newRow("markup in the name") << QStringList{"<i>x.txt"} << "<i>x.txt" << true;
        QTest::newRow("a line break tag") << QStringList{"a<br>b.txt"} << "a<br>b.txt" << true;
        QTest::newRow("broken symbolic link") << QStringList{"dangling"} << "dangling" << false;
        QTest::newRow("file://localhost/ is this machine")
            << QStringList{"file://localhost" + path("a.txt")} << "a.txt" << true;
    }

    void dropAssignsTheLastFile()
    {
        QFETCH(QStringList, dropped);
        QFETCH(QString, caption);
        QFETCH(bool, picture);
        QStringList paths;
        for (const QString &name : dropped)
            paths.append(name.startsWith(QLatin1String("file:")) ? name : path(name));

        m_form->Command1_OLEDragDrop(5, filesData(paths).get());

        QStringList expected = emptyStore();
        expected[5] = path(QFileInfo(paths.last()).fileName());
        expected[17] = caption;
        QCOMPARE(m_form->List1().entries(), expected);
        QCOMPARE(m_form->Command1(5)->caption(), caption);
        QCOMPARE(!m_form->Command1(5)->picture().isNull(), picture);
        // The tooltip shows the caption as it is, markup or not.
        const QString tip = m_form->Command1(5)->toolTip();
        QTextDocument shown;
        shown.setHtml(tip);
        QCOMPARE(Qt::mightBeRichText(tip) ? shown.toPlainText() : tip, caption);
        QByteArray bytes;
        QVERIFY(StoreFile::serialise(expected, &bytes, m_store).ok());
        QCOMPARE(readBytes(m_store), bytes);
        QVERIFY(m_desktop->messages.texts.isEmpty());
    }

    void dropWithoutFilesChangesNothing_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("plain text") << "text/plain" << QByteArray("/etc/hostname");
        QTest::newRow("web link only") << "text/uri-list" << QByteArray("https://example.org/\r\n");
        QTest::newRow("empty file list") << "text/uri-list" << QByteArray();
        QTest::newRow("file on another host")
            << "text/uri-list" << QByteArray("file://otherhost/etc/hostname\r\n");
    }

    void dropWithoutFilesChangesNothing()
    {
        QFETCH(QString, format);
        QFETCH(QByteArray, content);
        const QByteArray before = readBytes(m_store);
        QMimeData data;
        data.setData(format, content);

        m_form->Command1_OLEDragDrop(2, &data);

        QCOMPARE(readBytes(m_store), before);
        QCOMPARE(m_form->List1().entries(), emptyStore());
        QCOMPARE(m_form->Command1(2)->caption(), QStringLiteral("1"));
    }

    void nameTheStoreCannotHoldIsRefused_data()
    {
        QTest::addColumn<QString>("uri");
        QTest::newRow("LF in the name") << "two%0Alines.txt";
        QTest::newRow("CR in the name") << "two%0Dlines.txt";
        QTest::newRow("name that is not UTF-8") << "caf%E9.txt";
    }

    void nameTheStoreCannotHoldIsRefused()
    {
        QFETCH(QString, uri);
        m_form->Command1_OLEDragDrop(1, filesData({path(QStringLiteral("a.txt"))}).get());
        const QByteArray before = readBytes(m_store);
        const QStringList entries = m_form->List1().entries();

        const QUrl url(QUrl::fromLocalFile(m_dir.path()).toString() + '/' + uri);
        QMimeData data;
        data.setUrls({url});
        m_form->Command1_OLEDragDrop(1, &data);

        QCOMPARE(readBytes(m_store), before);
        QCOMPARE(m_form->List1().entries(), entries);
        QCOMPARE(m_form->Command1(1)->caption(), QStringLiteral("a.txt"));
        QCOMPARE(m_desktop->messages.texts.size(), 1);
        QVERIFY(m_desktop->messages.texts.first().contains(url.path()));
    }

    void slotAcceptsFilesAndTheEraserOnly_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("offered");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("action");

        const QByteArray file = QUrl::fromLocalFile(QStringLiteral("/etc/hostname")).toEncoded();
        const int copyMove = Qt::CopyAction | Qt::MoveAction;
        QTest::newRow("file, link offered")
            << "text/uri-list" << file << (copyMove | Qt::LinkAction) << true
            << int(Qt::LinkAction);
        QTest::newRow("file, never moved")
            << "text/uri-list" << file << copyMove << true << int(Qt::CopyAction);
        QTest::newRow("plain text") << "text/plain" << QByteArray("x") << copyMove << false << 0;
        QTest::newRow("web link") << "text/uri-list" << QByteArray("https://example.org/")
                                  << copyMove << false << 0;
        QTest::newRow("eraser's type from another program")
            << EraserPicture::MimeType << QByteArray() << int(Qt::MoveAction) << false << 0;
    }

    void slotAcceptsFilesAndTheEraserOnly()
    {
        QFETCH(QString, format);
        QFETCH(QByteArray, content);
        QFETCH(int, offered);
        QFETCH(bool, accepted);
        QFETCH(int, action);
        QMimeData data;
        data.setData(format, content);
        SlotButton *slot = m_form->Command1(7);

        QDragEnterEvent enter(QPoint(5, 5), Qt::DropActions(offered), &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(slot, &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        QDropEvent drop(QPointF(5, 5), Qt::DropActions(offered), &data, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(slot, &drop);
        QCOMPARE(drop.isAccepted(), accepted);
        if (accepted)
            QCOMPARE(int(drop.dropAction()), action);
    }

    void eraserEmptiesTheSlot_data()
    {
        QTest::addColumn<bool>("full");
        QTest::newRow("full slot") << true;
        QTest::newRow("empty slot") << false;
    }

    void eraserEmptiesTheSlot()
    {
        QFETCH(bool, full);
        if (full)
            m_form->Command1_OLEDragDrop(12, filesData({path(QStringLiteral("Games"))}).get());

        m_form->Command1_DragDrop(12, m_form->Picture3());

        QCOMPARE(m_form->Command1(12)->caption(), QStringLiteral(" "));
        QVERIFY(m_form->Command1(12)->picture().isNull());
        QCOMPARE(m_form->List1().entries(), emptyStore());
        QCOMPARE(readBytes(m_store), QByteArray("1\r\n").repeated(25));
    }

    void eraserOverASlotShowsTheDragIcon()
    {
        QVERIFY(m_form->Picture3()->dragIcon().isNull());
        m_form->Command1_DragOver(4, m_form->Command1(1));
        QVERIFY(m_form->Picture3()->dragIcon().isNull());
        m_form->Command1_DragOver(4, m_form->Picture3());
        QCOMPARE(m_form->Picture3()->dragIcon().toImage(),
                 m_form->picDocument()->pixmap().toImage());
    }

    void click_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("letterRow");
        QTest::addColumn<QString>("hoverText");

        QTest::newRow("file") << "report.doc"
                              << "report.doc" << true << false << "";
        QTest::newRow("folder") << "Games"
                                << " Games" << true << false << " Games";
        QTest::newRow("catalogue") << "Arch"
                                   << " Arch" << false << true << " Arch";
        QTest::newRow("catalogue without the folder mark") << "Arch"
                                                           << "Arch" << true << false << "";
        QTest::newRow("file with a leading space")
            << "report.doc"
            << " report.doc" << true << false << " report.doc";
        QTest::newRow("unassigned") << ""
                                    << "1" << true << false << "";
        QTest::newRow("cleared") << ""
                                 << " " << true << false << " ";
        QTest::newRow("empty caption") << "Arch"
                                       << "" << true << false << "";
    }

    void click()
    {
        QFETCH(QString, target);
        QFETCH(QString, caption);
        QFETCH(bool, opens);
        QFETCH(bool, letterRow);
        QFETCH(QString, hoverText);
        const QString targetPath = target.isEmpty() ? QStringLiteral("1") : path(target);
        QStringList entries = emptyStore();
        entries[3] = targetPath;
        entries[15] = caption;
        startPanelOn(entries);

        bool lockedMeanwhile = false;
        m_desktop->pause.meanwhile = [&] { lockedMeanwhile = m_form->Command1(3)->isLocked(); };
        m_form->Command1(3)->click();

        QCOMPARE(m_form->CurrentPath(), targetPath);
        QCOMPARE(m_desktop->opener.opened, opens ? QStringList{targetPath} : QStringList());
        QCOMPARE(!m_form->Frame1()->isHidden(), letterRow);
        QCOMPARE(m_form->Text1()->toPlainText(), hoverText);
        for (int k = 1; k <= 12; ++k) {
            QCOMPARE(m_form->Command1(k)->backColor().rgb(),
                     k == 3 ? ShowIconsForm::MarkedColour : ShowIconsForm::PlainColour);
        }
        QCOMPARE(m_desktop->pause.waits, QList<int>{1000});
        QVERIFY(lockedMeanwhile);
        QVERIFY(!m_form->Command1(3)->isLocked());
    }

    void clickHidesTheLetterRow()
    {
        QStringList entries = emptyStore();
        entries[1] = path(QStringLiteral("Arch"));
        entries[13] = QStringLiteral(" Arch");
        startPanelOn(entries);
        m_form->show();
        m_form->Command1(1)->click();
        QVERIFY(m_form->Frame1()->isVisible());
        m_form->Command1(2)->click();
        QVERIFY(!m_form->Frame1()->isVisible());
    }

    void secondClickDuringTheLockDoesNothing()
    {
        m_desktop->pause.meanwhile = [&] { m_form->Command1(6)->click(); };
        m_form->Command1(6)->click();
        QCOMPARE(m_desktop->opener.opened.size(), 1);
        QCOMPARE(m_desktop->pause.waits.size(), 1);
    }

    void clickOnAnotherSlotDuringTheLockRunsWhole()
    {
        QStringList entries = emptyStore();
        entries[3] = path(QStringLiteral("report.doc"));
        entries[5] = path(QStringLiteral("a.txt"));
        startPanelOn(entries);
        bool outerLockedDuringInner = false;
        m_desktop->pause.meanwhile = [&] {
            m_desktop->pause.meanwhile = [&] {
                outerLockedDuringInner = m_form->Command1(3)->isLocked();
            };
            m_form->Command1(5)->click();
        };

        m_form->Command1(3)->click();

        QCOMPARE(m_desktop->opener.opened, (QStringList{entries[3], entries[5]}));
        QCOMPARE(m_form->CurrentPath(), entries[5]);
        QCOMPARE(m_form->Command1(5)->backColor().rgb(), ShowIconsForm::MarkedColour);
        QCOMPARE(m_form->Command1(3)->backColor().rgb(), ShowIconsForm::PlainColour);
        QVERIFY(outerLockedDuringInner);
        QVERIFY(!m_form->Command1(3)->isLocked() && !m_form->Command1(5)->isLocked());
    }

private:
    // A new panel on a store of these entries.
    void startPanelOn(const QStringList &entries);
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    QString m_store;
};

void TestSlotHandlers::startPanelOn(const QStringList &entries)
{
    m_form.reset();
    QByteArray bytes;
    QVERIFY(StoreFile::serialise(entries, &bytes, m_store).ok());
    QVERIFY(writeBytes(m_store, bytes));
    startPanel();
}

QTEST_MAIN(TestSlotHandlers)
#include "tst_slothandlers.moc"
