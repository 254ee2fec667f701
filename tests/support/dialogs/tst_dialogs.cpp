// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own dialogs as the panel shows them: in Russian under any locale, a
// message in the middle of the panel's screen.
#include "support/dialogs/FileSaveDialog.h"
#include "support/dialogs/MessageBoxMessages.h"
#include "support/look/QtTranslation.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWindow>

class TestDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Qt's own windows speak Russian too, under any locale: the names a
    // screen reader reads in the save dialog and a message, and the dialog's
    // file list's types and dates. The save dialog belongs to the shown panel
    // even when its owner is a window never shown.
    void qtWindowsInRussian()
    {
        QVERIFY(installQtRussian());
        QTemporaryDir home;
        QVERIFY(QDir(home.path()).mkpath("Папка"));
        const QByteArray ownHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        QStringList english;
        QString type, date;
        QPoint offCentre;
        QWindow *transientParent = nullptr;
        const auto readModal = [&] {
            QDialog *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!modal)
                return;
            transientParent = modal->windowHandle()->transientParent();
            offCentre =
                modal->frameGeometry().center() - modal->screen()->availableGeometry().center();
            if (QTreeView *list = modal->findChild<QTreeView *>()) {
                if (!QTest::qWaitFor(
                        [&] { return list->model()->rowCount(list->rootIndex()) > 0; }))
                    return;
                const QModelIndex folder = list->model()->index(0, 0, list->rootIndex());
                type = folder.siblingAtColumn(2).data().toString();
                date = folder.siblingAtColumn(3).data().toString();
            }
            for (QWidget *widget : modal->findChildren<QWidget *>()) {
                const QAccessibleInterface *named = QAccessible::queryAccessibleInterface(widget);
                const QString name = named ? named->text(QAccessible::Name) : QString();
                if (!name.startsWith('/') && name.contains(QRegularExpression("[A-Za-z]{2,}")))
                    english.append(name);
            }
            modal->reject();
        };
        QWidget panel;
        panel.show();
        QWidget about(&panel, Qt::Window);
        QTimer::singleShot(0, this, readModal);
        QVERIFY(!FileSaveDialog().askPath(&about, "Создание", "Имя (*)"));
        QCOMPARE(transientParent, panel.windowHandle());
        about.show(); // a shown owner keeps it
        QTimer::singleShot(0, this, readModal);
        QVERIFY(!FileSaveDialog().askPath(&about, "Создание", "Имя (*)"));
        QCOMPARE(transientParent, about.windowHandle());
        qputenv("HOME", ownHome);
        QTimer::singleShot(0, this, readModal);
        MessageBoxMessages messages;
        messages.setOwner(&panel);
        messages.showInformation("Все исполненно", "Каталог создан в папке с длинным "
                                                   "именем, которое раздвигает окно");
        QVERIFY2(offCentre.manhattanLength() <= 1,
                 qPrintable(QString("off by %1, %2").arg(offCentre.x()).arg(offCentre.y())));
        QVERIFY2(english.isEmpty(), qPrintable(english.join(" | ")));
        QCOMPARE(type, "Папка");
        QVERIFY2(!date.isEmpty() && !date.contains(QRegularExpression("[A-Za-z]")),
                 qPrintable(date));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
