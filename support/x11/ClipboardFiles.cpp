// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClipboardFiles.h"

#include "internal/X11Connection.h"

#include <QAbstractNativeEventFilter>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <cstdlib>

#include <xcb/xcb.h>

namespace {

const char *const Formats[] = {"text/uri-list", "x-special/gnome-copied-files"};

} // namespace

// The question to the clipboard's owner, on a window of its own, and the
// answer as it comes through Qt's event loop.
class ClipboardFiles::X11Question : public QAbstractNativeEventFilter
{
public:
    X11Question(ClipboardFiles *files, xcb_connection_t *connection);
    ~X11Question() override;

    void ask(int k);
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override;

private:
    void convert(int format);
    void converted(xcb_atom_t property);
    void giveUp();

    ClipboardFiles *m_files;
    xcb_connection_t *m_connection;
    xcb_window_t m_window = 0;
    xcb_atom_t m_clipboard = XCB_ATOM_NONE, m_property = XCB_ATOM_NONE;
    xcb_atom_t m_incremental = XCB_ATOM_NONE; // a list sent in parts
    xcb_atom_t m_formats[2] = {XCB_ATOM_NONE, XCB_ATOM_NONE};
    int m_slot = 0;
    int m_format = -1; // the format asked for; -1: nothing out
    QTimer m_patience;
};

ClipboardFiles::ClipboardFiles(QObject *parent)
    : QObject(parent)
{}

ClipboardFiles::~ClipboardFiles() = default;

void ClipboardFiles::ask(int k)
{
    // Made at the first paste, not at start-up: it costs round trips to the
    // server.
    if (!m_x11)
        if (xcb_connection_t *connection = X11::connection())
            m_x11 = std::make_unique<X11Question>(this, connection);
    if (m_x11)
        return m_x11->ask(k);
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    for (const char *format : Formats) {
        const QByteArray list = data ? data->data(QString::fromLatin1(format)) : QByteArray();
        if (!list.isEmpty() && list.size() <= LargestList)
            return Q_EMIT read(k, QString::fromLatin1(format), list);
    }
}

ClipboardFiles::X11Question::X11Question(ClipboardFiles *files, xcb_connection_t *connection)
    : m_files(files)
    , m_connection(connection)
{
    m_patience.setSingleShot(true);
    m_patience.setInterval(PatienceMilliseconds);
    QObject::connect(&m_patience, &QTimer::timeout, files, [this] { giveUp(); });
    // A window of its own to receive the answers on: Qt's own clipboard
    // window would take them for Qt's questions.
    m_window = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, X11::root(m_connection), 0, 0,
                      1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    m_clipboard = X11::atom(m_connection, "CLIPBOARD");
    m_property = X11::atom(m_connection, "KATALOG_PASTE");
    m_incremental = X11::atom(m_connection, "INCR");
    for (int i = 0; i < 2; ++i)
        m_formats[i] = X11::atom(m_connection, Formats[i]);
    xcb_flush(m_connection);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

ClipboardFiles::X11Question::~X11Question()
{
    QCoreApplication::instance()->removeNativeEventFilter(this);
    xcb_destroy_window(m_connection, m_window);
    xcb_flush(m_connection);
}

void ClipboardFiles::X11Question::ask(int k)
{
    m_slot = k;
    convert(0);
}

void ClipboardFiles::X11Question::convert(int format)
{
    m_format = format;
    xcb_convert_selection(m_connection, m_window, m_clipboard, m_formats[format], m_property,
                          XCB_CURRENT_TIME);
    xcb_flush(m_connection);
    m_patience.start();
}

bool ClipboardFiles::X11Question::nativeEventFilter(const QByteArray &type, void *message,
                                                    qintptr *)
{
    if (type != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY)
        return false;
    const auto *notify = static_cast<const xcb_selection_notify_event_t *>(message);
    if (notify->requestor != m_window)
        return false;
    if (m_format >= 0 && notify->target == m_formats[m_format]) {
        converted(notify->property);
    } else if (notify->property != XCB_ATOM_NONE) { // too late: not wanted
        xcb_delete_property(m_connection, m_window, notify->property);
        xcb_flush(m_connection);
    }
    return true;
}

void ClipboardFiles::X11Question::converted(xcb_atom_t property)
{
    if (property == XCB_ATOM_NONE) // not offered in this format
        return m_format + 1 < 2 ? convert(m_format + 1) : giveUp();
    const int format = m_format;
    m_format = -1;
    m_patience.stop();
    // At most the bound and a word more: a longer list is never fetched.
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 1, m_window, m_property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                         uint32_t(LargestList / 4 + 1)),
        nullptr);
    if (!reply)
        return;
    const int length = xcb_get_property_value_length(reply);
    const bool whole = reply->format == 8 && reply->bytes_after == 0 && length <= LargestList &&
                       reply->type != m_incremental;
    const QByteArray list =
        whole ? QByteArray(static_cast<const char *>(xcb_get_property_value(reply)), length)
              : QByteArray();
    std::free(reply);
    if (!whole) {
        // The rest is not wanted: the property is dropped, and with it any
        // transfer in parts the owner began.
        xcb_delete_property(m_connection, m_window, m_property);
        xcb_flush(m_connection);
        qWarning("katalog: the clipboard's file list is over %lld bytes; not taken",
                 qlonglong(LargestList));
        return;
    }
    Q_EMIT m_files->read(m_slot, QString::fromLatin1(Formats[format]), list);
}

void ClipboardFiles::X11Question::giveUp()
{
    // An answer that comes later is for a question no longer asked.
    if (m_format >= 0)
        qWarning("katalog: the clipboard's owner did not answer within %d ms",
                 PatienceMilliseconds);
    m_format = -1;
    m_patience.stop();
}
