// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHints.h"

#include "internal/X11Connection.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QList>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <xcb/xcb.h>

namespace {

using X11::atom;

// Asks the window manager as a pager does, which is how a mapped window's
// workspace and state are changed.
void askManager(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t type,
                std::initializer_list<uint32_t> data)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    int i = 0;
    for (const uint32_t value : data)
        message.data.data32[i++] = value;
    xcb_send_event(connection, 0, X11::root(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
}

// The property's 32-bit values; empty when the window has none.
QList<uint32_t> values(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property,
                       xcb_atom_t type)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 1024), nullptr);
    QList<uint32_t> result;
    if (reply && reply->format == 32) {
        const auto *data = static_cast<const uint32_t *>(xcb_get_property_value(reply));
        result = QList<uint32_t>(data, data + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    return result;
}

constexpr uint32_t AllWorkspaces = 0xFFFFFFFF;

// Watches the window's workspace and asks for all of them again whenever it
// is mapped or its workspace is set to one. At most one request in a while,
// so a manager that insists is not answered in a loop.
class WorkspaceKeeper : public QObject, public QAbstractNativeEventFilter
{
public:
    WorkspaceKeeper(QWidget *window, xcb_connection_t *connection)
        : QObject(window)
        , m_window(window)
        , m_connection(connection)
        , m_id(xcb_window_t(window->winId()))
        , m_desktop(atom(connection, "_NET_WM_DESKTOP"))
        , m_state(atom(connection, "_NET_WM_STATE"))
        , m_sticky(atom(connection, "_NET_WM_STATE_STICKY"))
    {
        // An unmapped window states its wishes in its own properties.
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, m_id, m_desktop, XCB_ATOM_CARDINAL,
                            32, 1, &AllWorkspaces);
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, m_id, m_state, XCB_ATOM_ATOM, 32, 1,
                            &m_sticky);
        xcb_flush(connection);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~WorkspaceKeeper() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        const uint8_t kind = event->response_type & 0x7f;
        const bool mapped = kind == XCB_MAP_NOTIFY &&
                            reinterpret_cast<const xcb_map_notify_event_t *>(event)->window == m_id;
        const auto *property = reinterpret_cast<const xcb_property_notify_event_t *>(event);
        const bool moved =
            kind == XCB_PROPERTY_NOTIFY && property->window == m_id && property->atom == m_desktop;
        if (mapped || moved)
            QTimer::singleShot(0, this, &WorkspaceKeeper::check);
        return false;
    }

private:
    void check()
    {
        if (!m_window->isVisible() || onEveryWorkspace())
            return;
        if (m_lastAsked.isValid() && m_lastAsked.elapsed() < 500) {
            if (!m_again) {
                m_again = true;
                QTimer::singleShot(500, this, [this] {
                    m_again = false;
                    check();
                });
            }
            return;
        }
        m_lastAsked.start();
        askManager(m_connection, m_id, m_desktop, {AllWorkspaces, 2});
        askManager(m_connection, m_id, m_state, {1 /* add */, m_sticky, 0, 2});
        xcb_flush(m_connection);
    }
    bool onEveryWorkspace()
    {
        return values(m_connection, m_id, m_desktop, XCB_ATOM_CARDINAL) ==
               QList<uint32_t>{AllWorkspaces};
    }

    QWidget *m_window;
    xcb_connection_t *m_connection;
    xcb_window_t m_id;
    xcb_atom_t m_desktop;
    xcb_atom_t m_state;
    xcb_atom_t m_sticky;
    QElapsedTimer m_lastAsked;
    bool m_again = false;
};

} // namespace

namespace WindowManager {

void showOnEveryWorkspace(QWidget *window)
{
    if (xcb_connection_t *connection = X11::connection())
        new WorkspaceKeeper(window, connection);
}

void keepAboveOwner(QWidget *window, QWidget *owner)
{
    xcb_connection_t *connection = X11::connection();
    if (!connection)
        return;
    // Qt says this only of dialogs and tool windows; the window manager then
    // keeps the window above its owner, even a panel kept above all others.
    const xcb_window_t ownerId = xcb_window_t(owner->winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()),
                        XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &ownerId);
    xcb_flush(connection);
}

std::optional<QPoint> clientPlaceOnScreen(QWidget *window)
{
    xcb_connection_t *connection = X11::connection();
    if (!connection || !window->windowHandle())
        return std::nullopt;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_translate_coordinates_reply_t *reply = xcb_translate_coordinates_reply(
        connection,
        xcb_translate_coordinates(connection, xcb_window_t(window->winId()), root, 0, 0), nullptr);
    if (!reply)
        return std::nullopt;
    const QPoint place(reply->dst_x, reply->dst_y);
    free(reply);
    // The server counts in device pixels, Qt's geometry in its own.
    return place / window->devicePixelRatioF();
}

void bringToFront(QWidget *window)
{
    window->showNormal();
    window->raise();
    window->activateWindow();
    xcb_connection_t *connection = X11::connection();
    if (!connection)
        return;
    // Qt asks as the application, with its own last input time, which a
    // window manager that guards the focus refuses; a pager's request is
    // granted.
    askManager(connection, xcb_window_t(window->winId()), atom(connection, "_NET_ACTIVE_WINDOW"),
               {2 /* a pager */, XCB_CURRENT_TIME});
    xcb_flush(connection);
}

void hideTaskbarEntry(QWidget *window)
{
    xcb_connection_t *connection = X11::connection();
    if (!connection)
        return;
    // An unmapped window states its wishes in its own _NET_WM_STATE; Qt keeps
    // the states it does not manage itself.
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, xcb_window_t(window->winId()), state,
                        XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_flush(connection);
}

QMargins frameEstimate(const QSize &client)
{
    xcb_connection_t *connection = X11::connection();
    if (!connection)
        return {};
    const xcb_atom_t request = atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = atom(connection, "_NET_FRAME_EXTENTS");
    const xcb_window_t root = X11::root(connection);
    if (request == XCB_ATOM_NONE ||
        !values(connection, root, atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM)
             .contains(request))
        return {};
    // A window of our own that is never mapped: the manager answers in its
    // property, which is read rather than waited for, since Qt reads the
    // connection's events.
    const xcb_window_t probe = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, probe, root, 0, 0, uint16_t(client.width()),
                      uint16_t(client.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    askManager(connection, probe, request, {});
    xcb_flush(connection);
    QMargins frame;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const QList<uint32_t> sides = values(connection, probe, extents, XCB_ATOM_CARDINAL);
        if (sides.size() == 4) { // left, right, top, bottom
            frame = QMargins(int(sides[0]), int(sides[2]), int(sides[1]), int(sides[3]));
            break;
        }
        if (waited.elapsed() > 500)
            break;
        QThread::msleep(5);
    }
    xcb_destroy_window(connection, probe);
    xcb_flush(connection);
    return frame;
}

} // namespace WindowManager
