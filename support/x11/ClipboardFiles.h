// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

// The files a file manager's Copy put on the clipboard, asked for without
// waiting on the clipboard's owner: under X11 its answer comes through the
// event loop, and an owner that does not answer within PatienceMilliseconds,
// or offers more than LargestList bytes, is given up (the data is never
// held). Elsewhere Qt's clipboard is read at once.
class ClipboardFiles : public QObject
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

Q_SIGNALS:
    // The list in one of the two formats file managers offer
    // ("text/uri-list", "x-special/gnome-copied-files").
    void read(int k, const QString &format, const QByteArray &list);

private:
    class X11Question;
    std::unique_ptr<X11Question> m_x11; // made at the first paste under X11
};
