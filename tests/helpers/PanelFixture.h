// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "helpers/FakeDesktop.h"
#include "helpers/TestFiles.h"
#include "panel/ShowIconsForm.h"
#include "store/StoreFile.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
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

// A panel on a fake desktop and a store in memory, for the widget tests.
class PanelFixture : public QObject
{
protected:
    // A panel on a fake desktop and a store in memory; m_dir holds whatever real
    // targets a test drops or clicks.
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    // A fresh panel on the store as it stands (missing unless written); with
    // late, the disk's answers wait for the test.
    void startPanel(bool late = false)
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
    // A fresh panel on a store of these entries.
    void startPanelOn(const QStringList &entries, bool late = false)
    {
        m_store.bytes = StoreFile::serialise(entries);
        QVERIFY(m_store.bytes);
        startPanel(late);
    }
    void startEmpty()
    {
        m_store = MemoryStore();
        startPanelOn(emptyStore());
    }

    QTemporaryDir m_dir;
    MemoryStore m_store;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<ShowIconsForm> m_form;
};
