// SPDX-License-Identifier: GPL-3.0-or-later
// Where windows go on the screens, pictures for dense screens and whole
// scales: no window is shown.
#include "images/Pictures.h"
#include "support/session/DisplayPlatform.h"
#include "support/widgets/ScreenPlacement.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <functional>

Q_DECLARE_METATYPE(DisplayPlatform::Session)

class TestPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // On the screen that holds it, else on the primary, moved the least; a
    // window with an owner on its owner's screen, from that screen's corner.
    void placement_data()
    {
        QTest::addColumn<QRect>("client");
        QTest::addColumn<QRect>("available"); // the primary's, from its top left
        QTest::addColumn<QRect>("second");    // another screen, right of it
        QTest::addColumn<QRect>("owner");     // the panel's place, for Help and About
        QTest::addColumn<QPoint>("placed");
        const QRect panel(683, 127, 81, 523), screen(0, 0, 1024, 768), help(495, 161, 381, 355);
        // clang-format off
        QTest::newRow("fits: stays") << panel << screen << QRect() << QRect() << QPoint(683, 127);
        QTest::newRow("1024 x 600: up by the least") << panel << QRect(0, 0, 1024, 600) << QRect() << QRect() << QPoint(683, 76);
        QTest::newRow("below a top bar") << panel << QRect(0, 30, 1024, 570) << QRect() << QRect() << QPoint(683, 76);
        QTest::newRow("narrow: left by the least") << panel << QRect(0, 0, 640, 768) << QRect() << QRect() << QPoint(558, 127);
        QTest::newRow("too tall below a top bar: its edge shows") << QRect(683, 127, 81, 1046) << QRect(0, 30, 1024, 738) << QRect() << QRect() << QPoint(683, 50);
        QTest::newRow("left of the screen") << QRect(-50, 127, 81, 523) << screen << QRect() << QRect() << QPoint(1, 127);
        QTest::newRow("on a second screen: stays") << QRect(1707, 127, 81, 523) << screen << QRect(1024, 0, 1024, 768) << QRect() << QPoint(1707, 127);
        QTest::newRow("low on a second screen: up on it") << QRect(1707, 300, 81, 523) << screen << QRect(1024, 0, 1024, 600) << QRect() << QPoint(1707, 76);
        QTest::newRow("on no screen: to the primary") << QRect(3000, 127, 81, 523) << screen << QRect(1024, 0, 1024, 768) << QRect() << QPoint(942, 127);
        QTest::newRow("Help beside the panel on the primary: as stored") << help << screen << QRect(1024, 0, 1024, 768) << panel << QPoint(495, 161);
        QTest::newRow("Help beside the panel on a second screen: on it") << help << screen << QRect(1024, 0, 1024, 768) << QRect(1707, 127, 81, 523) << QPoint(1519, 161);
        QTest::newRow("Help beside the panel on a short second screen: fitted there") << help << screen << QRect(1024, 0, 1024, 400) << QRect(1707, 100, 81, 200) << QPoint(1519, 44);
        QTest::newRow("Help beside a panel on no screen: on the primary") << help << screen << QRect(1024, 0, 1024, 768) << QRect(3000, 127, 81, 523) << QPoint(495, 161);
        // clang-format on
    }

    void placement()
    {
        QFETCH(QRect, client);
        QFETCH(QRect, available);
        QFETCH(QRect, second);
        QFETCH(QRect, owner);
        QFETCH(QPoint, placed);
        QList<ScreenPlacement::Screen> screens{
            {{0, 0, available.right() + 1, available.bottom() + 1}, available}};
        if (!second.isNull())
            screens.append({second, second});
        QCOMPARE(ScreenPlacement::placeOn(screens, client, {1, 20, 1, 1}, owner),
                 QRect(placed, client.size()));
    }

    // The largest whole scale, up to the user's, at which the panel and its
    // frame fit the screen's available area.
    void fittingScale_data()
    {
        QTest::addColumn<int>("user");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<int>("drawn");
        QTest::newRow("2 on 1366 x 768: 1") << 2 << QRect(0, 0, 1366, 768) << 1;
        QTest::newRow("2 on 1920 x 1080 below a 30-px panel: 1")
            << 2 << QRect(0, 30, 1920, 1050) << 1;
        QTest::newRow("2 on 1920 x 1080 with room for the frame: 2")
            << 2 << QRect(0, 0, 1920, 1067) << 2;
        QTest::newRow("4 on 2560 x 1440: down to 2") << 4 << QRect(0, 0, 2560, 1440) << 2;
        QTest::newRow("2 on a strip too narrow: 1") << 2 << QRect(0, 0, 163, 2160) << 1;
        QTest::newRow("1 on a screen too small: still 1") << 1 << QRect(0, 0, 640, 400) << 1;
        QTest::newRow("below 1: 1") << 0 << QRect(0, 0, 3840, 2160) << 1;
    }

    void fittingScale()
    {
        QFETCH(int, user);
        QFETCH(QRect, available);
        QFETCH(int, drawn);
        QCOMPARE(ScreenPlacement::fittingScale(user, {81, 523}, {1, 20, 1, 1}, available), drawn);
    }

    // Run at QT_SCALE_FACTOR 2 on an 800 x 800 screen.
    void screensDrawnAtFittingScale()
    {
        QScreen *screen = QGuiApplication::primaryScreen();
        ScreenPlacement::fitScreens({81, 200}, {});
        QCOMPARE(screen->devicePixelRatio(), 2.0);
        ScreenPlacement::fitScreens({81, 523}, {});
        QCOMPARE(screen->devicePixelRatio(), 1.0);
        QCOMPARE(screen->geometry().size(), QSize(800, 800));
    }

    // Help and About follow the panel to its screen, at the same place from
    // that screen's corner; a message is centred on the panel's screen.
    void withTheirOwner_data()
    {
        QTest::addColumn<bool>("message");
        QTest::addColumn<int>("ownerScreen");  // 0: the primary
        QTest::addColumn<int>("windowScreen"); // where Help was last shown
        QTest::newRow("Help after the panel went to the second screen") << false << 1 << 0;
        QTest::newRow("Help after the panel came back to the primary") << false << 0 << 1;
        QTest::newRow("a message, the panel on the second screen") << true << 1 << 0;
        QTest::newRow("a message, the panel on the primary") << true << 0 << 0;
    }

    void withTheirOwner()
    {
        QFETCH(bool, message);
        QFETCH(int, ownerScreen);
        QFETCH(int, windowScreen);
        const QList<QScreen *> screens = QGuiApplication::screens();
        QCOMPARE(screens.size(), 2);
        QCOMPARE(screens.first(), QGuiApplication::primaryScreen());
        QWidget panel;
        panel.setGeometry(
            {screens[ownerScreen]->geometry().topLeft() + QPoint(100, 50), QSize(81, 200)});
        QWidget window(&panel, Qt::Window);
        const QPoint corner(40, 30);
        window.setGeometry({screens[windowScreen]->geometry().topLeft() + corner, QSize(100, 80)});
        if (message) {
            ScreenPlacement::centreOnOwnersScreen(&window, &panel);
            const QPoint off =
                window.geometry().center() - screens[ownerScreen]->availableGeometry().center();
            QVERIFY2(off.manhattanLength() <= 1,
                     qPrintable(QString("off by %1, %2").arg(off.x()).arg(off.y())));
        } else {
            ScreenPlacement::followOwner(&window);
            QCOMPARE(window.geometry().topLeft(),
                     screens[ownerScreen]->geometry().topLeft() + corner);
        }
    }

    void picturesForDenseScreens()
    {
        const auto tile = [](qreal ratio) { return Pictures::letterTile(192, ratio); };
        for (const auto &picture : std::initializer_list<std::function<QPixmap(qreal)>>{
                 Pictures::eraser, Pictures::dragIcon, Pictures::helpPicture, tile}) {
            QCOMPARE(picture(2).size(), picture(1).size() * 2);
            QCOMPARE(picture(2).devicePixelRatio(), 2.0);
        }
        QCOMPARE(Pictures::windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {64, 64}}));
    }

    // The panel is drawn at a whole scale, on a platform Qt has; what it
    // starts gets the user's own settings.
    void wholeScale_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QByteArray>("user"); // null: not set
        QTest::addColumn<QByteArray>("drawn");
        const QByteArray scale("QT_SCALE_FACTOR");
        QTest::newRow("1.25: 1") << scale << QByteArray("1.25") << QByteArray("1");
        QTest::newRow("1.5: 2") << scale << QByteArray("1.5") << QByteArray("2");
        QTest::newRow("0.4: at least 1") << scale << QByteArray("0.4") << QByteArray("1");
        QTest::newRow("not a number: as it is") << scale << QByteArray("big") << QByteArray("big");
        QTest::newRow("not set") << scale << QByteArray() << QByteArray();
        QTest::newRow("a platform Qt lacks: X11")
            << QByteArray("QT_QPA_PLATFORM") << QByteArray("nosuch") << QByteArray("xcb");
    }

    void wholeScale()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, drawn);
        const QByteArray before = qgetenv(variable);
        user.isNull() ? qunsetenv(variable) : qputenv(variable, user);
        const QByteArray kept = variable == "QT_SCALE_FACTOR" ? DisplayPlatform::wholeScale()
                                                              : DisplayPlatform::choosePlatform();
        QCOMPARE(qgetenv(variable), drawn);
        DisplayPlatform::giveBack(variable, kept);
        QCOMPARE(qgetenv(variable), user);
        QCOMPARE(qEnvironmentVariableIsSet(variable), !user.isNull());
        before.isNull() ? qunsetenv(variable) : qputenv(variable, before);
    }

    // Whatever QT_QPA_PLATFORM says, the panel starts.
    void platform_data()
    {
        QTest::addColumn<QByteArray>("asked"); // null: not set
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<DisplayPlatform::Session>("session");
        QTest::addColumn<QByteArray>("chosen");
        const QStringList x11{"xcb", "offscreen"}, both{"wayland", "xcb"};
        const DisplayPlatform::Session xorg{false, true}, xwayland{true, true},
            sway{true, true, true};
        // clang-format off
        QTest::newRow("wayland missing under X11: xcb") << QByteArray("wayland") << x11 << xorg << QByteArray("xcb");
        QTest::newRow("wayland missing in a Wayland session: XWayland") << QByteArray("wayland") << x11 << xwayland << QByteArray("xcb");
        QTest::newRow("a name no plugin has: xcb") << QByteArray("nosuch") << x11 << xorg << QByteArray("xcb");
        QTest::newRow("wayland there: as asked") << QByteArray("wayland") << both << xwayland << QByteArray("wayland");
        QTest::newRow("a list with one there: as asked") << QByteArray("wayland;xcb") << x11 << xwayland << QByteArray("wayland;xcb");
        QTest::newRow("named as Qt names it, options and all: as asked") << QByteArray("Offscreen:x=1") << x11 << xwayland << QByteArray("Offscreen:x=1");
        QTest::newRow("not set in a Wayland session: XWayland") << QByteArray() << QStringList() << xwayland << QByteArray("xcb");
        QTest::newRow("empty in a Wayland session: XWayland") << QByteArray("") << QStringList() << xwayland << QByteArray("xcb");
        QTest::newRow("not set under X11: not set") << QByteArray() << QStringList() << xorg << QByteArray();
        QTest::newRow("not set under sway: not set") << QByteArray() << QStringList() << sway << QByteArray();
        QTest::newRow("missing under sway: Wayland") << QByteArray("nosuch") << both << sway << QByteArray("wayland");
        QTest::newRow("missing under sway, no Qt Wayland: XWayland") << QByteArray("wayland") << x11 << sway << QByteArray("xcb");
        QTest::newRow("missing with no X server: Wayland") << QByteArray("nosuch") << both << DisplayPlatform::Session{true} << QByteArray("wayland");
        QTest::newRow("none the panel runs on: as asked, for Qt to say") << QByteArray("wayland") << QStringList{"offscreen"} << xwayland << QByteArray("wayland");
        // clang-format on
    }

    void platform()
    {
        QFETCH(QByteArray, asked);
        QFETCH(QStringList, installed);
        QFETCH(DisplayPlatform::Session, session);
        QFETCH(QByteArray, chosen);
        QCOMPARE(DisplayPlatform::platformFor(asked, installed, session), chosen);
        QVERIFY(DisplayPlatform::installedPlatforms().contains("offscreen")); // as this test runs
    }
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
