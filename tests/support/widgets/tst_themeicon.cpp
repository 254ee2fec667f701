// SPDX-License-Identifier: GPL-3.0-or-later
// A target's picture: the first of the names the disk gave that the icon
// theme has, else the picture read from the file.
#include "support/look/IconTheme.h"
#include "support/widgets/ThemeIcon.h"

#include <QIcon>
#include <QImage>
#include <QTest>

class TestThemeIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        IconTheme::ensureFallback();
        QVERIFY(QIcon::hasThemeIcon("folder") && QIcon::hasThemeIcon("text-x-generic"));
    }

    void icon_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("picture");  // one read from the file
        QTest::addColumn<QString>("shown"); // the theme's name shown, empty for none
        QTest::addColumn<bool>("drawn");
        const QString lacking = QStringLiteral("katalog-no-such-icon");
        // clang-format off
        QTest::newRow("the first name") << QStringList{"text-x-generic", "folder"} << false << "text-x-generic" << true;
        QTest::newRow("a name the theme lacks passed over") << QStringList{lacking, "folder"} << true << "folder" << true;
        QTest::newRow("no name the theme has: the file's picture") << QStringList{lacking} << true << "" << true;
        QTest::newRow("no name the theme has, no picture: bare") << QStringList{lacking} << false << "" << false;
        QTest::newRow("nothing said: bare") << QStringList() << false << "" << false;
        // clang-format on
    }

    void icon()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, picture);
        QFETCH(QString, shown);
        QFETCH(bool, drawn);
        QImage image;
        if (picture) {
            image = QImage(16, 16, QImage::Format_ARGB32);
            image.fill(Qt::red);
        }
        const QIcon icon = themeIcon(names, image);
        QCOMPARE(icon.name(), shown);
        QCOMPARE(!icon.pixmap(16).isNull(), drawn);
    }
};

QTEST_MAIN(TestThemeIcon)
#include "tst_themeicon.moc"
