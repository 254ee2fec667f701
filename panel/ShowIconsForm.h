// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SlotList.h"

#include <QWidget>

#include <array>
#include <map>

class IconSource;
class QLabel;
class QPlainTextEdit;
class SlotButton;
class UserMessages;

// The panel: a narrow black column, always above other windows, with the hover
// text, twelve slots, the hidden letter row and the eraser. Its handlers keep
// the names the panel's design gives them.
class ShowIconsForm : public QWidget {
    Q_OBJECT

public:
    static constexpr QRgb PlainColour = 0xFFFFFFC0;  // red 255, green 255, blue 192
    static constexpr QRgb MarkedColour = 0xFFFF0000; // pure red
    static inline const QString Title = QStringLiteral("КаталогOrlanta");

    ShowIconsForm(IconSource &icons, UserMessages &messages, SlotList::PathFunction storePath,
                  QWidget *parent = nullptr);

    // Runs once before the window is first shown: keeps the window on top,
    // creates the store if it is missing, loads it and fills the slots.
    // A store that cannot be made or read is reported, and the slots keep
    // their initial state.
    void Form_Load();

    SlotButton *Command1(int k) const { return m_slots.at(k - 1); }
    QWidget *Frame1() const { return m_frame1; }
    // Null for the indexes without a letter (10, 27, 28, 29).
    QLabel *Picture1(int index) const;
    QLabel *Picture2() const { return m_picture2; }
    QLabel *Picture3() const { return m_picture3; }
    QLabel *picDocument() const { return m_picDocument; }
    QPlainTextEdit *Text1() const { return m_text1; }
    SlotList &List1() { return m_list1; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWidgets();
    void setFocusOrder();
    void Form_Unload();
    QIcon GetFileIcon(const QString &path);
    void reportStoreFailure(const StoreResult &result);

    IconSource &m_icons;
    UserMessages &m_messages;
    SlotList m_list1;

    QPlainTextEdit *m_text1 = nullptr;
    std::array<SlotButton *, SlotList::SlotCount> m_slots{};
    QWidget *m_frame1 = nullptr;
    std::map<int, QLabel *> m_picture1;
    QLabel *m_picture3 = nullptr;
    QLabel *m_picDocument = nullptr;
    QLabel *m_picture2 = nullptr;
};
