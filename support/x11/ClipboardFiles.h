// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <xcb/xcb.h>

// The files a file manager's Copy put on the clipboard, asked for without
// waiting on the clipboard's owner: under X11 its answer comes through the
// event loop, and an owner that does not answer within PatienceMilliseconds,
// or offers more than LargestList bytes, is given up (the data is never
// held). Elsewhere Qt's clipboard is read at once.
class ClipboardFiles : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    static constexpr int PatienceMilliseconds = 500;
    static constexpr qsizetype LargestList = 1 << 20;

    explicit ClipboardFiles(QObject *parent = nullptr);
    ~ClipboardFiles() override;

    // Asks for the clipboard's file list on behalf of slot k; a new question
    // replaces one still out.
    void ask(int k);

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override;

Q_SIGNALS:
    // The list in one of the two formats file managers offer
    // ("text/uri-list", "x-special/gnome-copied-files").
    void read(int k, const QString &format, const QByteArray &list);

private:
    bool connectToX11();
    void convert(int format);
    void converted(xcb_atom_t property);
    void giveUp();

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_window = 0;
    xcb_atom_t m_clipboard = XCB_ATOM_NONE, m_property = XCB_ATOM_NONE;
    xcb_atom_t m_incremental = XCB_ATOM_NONE; // a list sent in parts
    xcb_atom_t m_formats[2] = {XCB_ATOM_NONE, XCB_ATOM_NONE};
    int m_slot = 0;
    int m_format = -1; // the format asked for; -1: nothing out
    QTimer m_patience;
};
