// SPDX-License-Identifier: GPL-3.0-or-later
// What a keyboard user and a screen reader get: names and roles as the mouse
// user's tooltips and pictures say, the focus order of the layout, and keys
// that click.
#include "catalogue/LetterRow.h"
#include "catalogue/LetterTile.h"
#include "helpers/PanelFixture.h"
#include "panel/EraserPicture.h"
#include "panel/ShowIconsForm.h"
#include "panel/SlotButton.h"

#include <QAccessible>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestAccessibility : public QObject, private PanelFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        startPanel();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    void namesAndRoles_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");

        QTest::newRow("empty slot") << "slot" << int(QAccessible::Button) << "Пустая кнопка";
        QTest::newRow("letter tile") << "tile" << int(QAccessible::Button) << "К";
        QTest::newRow("eraser") << "eraser" << int(QAccessible::Graphic)
                                << "Резинка (Перетащи и бось для очистки кнопки)";
    }

    void namesAndRoles()
    {
        QFETCH(QString, what);
        QFETCH(int, role);
        QFETCH(QString, name);
        QWidget *widget = what == "slot"   ? static_cast<QWidget *>(m_form->Command1(3))
                          : what == "tile" ? static_cast<QWidget *>(m_form->Picture1(11))
                                           : static_cast<QWidget *>(m_form->Picture3());
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible);
        QCOMPARE(int(accessible->role()), role);
        QCOMPARE(accessible->text(QAccessible::Name), name);
    }

    void tabFollowsTheLayoutsOrder()
    {
        m_form->Frame1()->show();
        QList<QWidget *> expected;
        for (int k = 1; k <= 10; ++k)
            expected.append(m_form->Command1(k));
        for (LetterTile *tile : m_form->Frame1()->tiles())
            expected.append(tile);
        expected.append(m_form->Command1(11));
        expected.append(m_form->Command1(12));

        m_form->Command1(1)->setFocus();
        QList<QWidget *> visited{QApplication::focusWidget()};
        while (visited.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget());
        }
        QCOMPARE(visited, expected);

        // A hidden row is passed over.
        m_form->Frame1()->hide();
        m_form->Command1(10)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_form->Command1(11));
    }

    void keysClick_data()
    {
        QTest::addColumn<bool>("onTile");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("againInTheLock");
        QTest::newRow("Space on a slot") << false << int(Qt::Key_Space) << false;
        QTest::newRow("Enter on a slot") << false << int(Qt::Key_Return) << false;
        QTest::newRow("keypad Enter on a slot") << false << int(Qt::Key_Enter) << false;
        QTest::newRow("Space twice: once, focus stays") << false << int(Qt::Key_Space) << true;
        QTest::newRow("Enter twice: once, focus stays") << false << int(Qt::Key_Return) << true;
        QTest::newRow("Space on a tile") << true << int(Qt::Key_Space) << false;
        QTest::newRow("Enter on a tile") << true << int(Qt::Key_Return) << false;
    }

    void keysClick()
    {
        QFETCH(bool, onTile);
        QFETCH(int, key);
        QFETCH(bool, againInTheLock);
        m_form->Frame1()->show();
        QWidget *target = onTile ? static_cast<QWidget *>(m_form->Picture1(32))
                                 : static_cast<QWidget *>(m_form->Command1(2));
        target->setFocus();
        QWidget *focusInTheLock = nullptr;
        m_desktop->pause.meanwhile = [&] {
            focusInTheLock = QApplication::focusWidget();
            if (againInTheLock)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        };
        QTest::keyClick(target, Qt::Key(key));
        const QString expected = onTile ? QStringLiteral("/Я") : QStringLiteral("1");
        QCOMPARE(m_desktop->opener.opened, QStringList{expected});
        if (!onTile)
            QCOMPARE(focusInTheLock, target);
        QCOMPARE(QApplication::focusWidget(), target);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
