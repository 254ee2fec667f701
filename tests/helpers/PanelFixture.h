// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "helpers/FakeDesktop.h"
#include "helpers/TestFiles.h"
#include "panel/ShowIconsForm.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include <memory>

// Mouse events as the window system delivers them, propagation included.
void mouse(QWidget *widget, QEvent::Type type, Qt::MouseButton button, QPoint at = {5, 5})
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button,
                      type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
void press(QWidget *widget, Qt::MouseButton button, QPoint at = {5, 5})
{
    mouse(widget, QEvent::MouseButtonPress, button, at);
    mouse(widget, QEvent::MouseButtonRelease, button, at);
}

// The items and place of the popup menu that comes up next, then closed;
// looked once the events before it are handled.
struct MenuSeen
{
    QStringList items;
    QRect place;
    bool looked = false;
};
std::shared_ptr<MenuSeen> watchForMenu(QObject *context)
{
    auto seen = std::make_shared<MenuSeen>();
    QTimer::singleShot(0, context, [seen] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            for (QAction *action : popup->actions())
                seen->items.append(action->text());
            seen->place = popup->geometry();
            popup->close();
        }
        seen->looked = true;
    });
    return seen;
}

constexpr QRgb Plain = 0xFFFFFFC0, Red = 0xFFFF0000;

// The panel's widgets.
class PanelFixture : public FakeDesktopFixture
{
protected:
    void start(bool late = false) override
    {
        m_form.reset();
        m_desktop = std::make_unique<FakeDesktop>();
        m_desktop->targets.holding = late;
        m_form = std::make_unique<ShowIconsForm>(m_desktop->services(), m_store);
        m_form->start();
    }
    void showPanel()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    std::unique_ptr<ShowIconsForm> m_form;
};
