// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShowIconsForm.h"

#include "SlotButton.h"
#include "StoreFile.h"
#include "catalogue/CatalogueLetters.h"
#include "images/Pictures.h"
#include "support/IconSource.h"
#include "support/UserMessages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

// Positions are the layout's pixels at 96 dpi; Qt scales them on dense screens.
constexpr QRect ClientArea(683, 127, 81, 523);
constexpr QRect Text1Box(0, -2, 77, 43);
constexpr int SlotLeft = 8;
constexpr int SlotSide = 37;
constexpr int FirstSlotTop = 44;
constexpr int SlotStep = 38;
constexpr QRect Frame1Box(45, 42, 37, 475);
constexpr QRect Picture3Box(10, 498, 24, 24);
constexpr QRect PicDocumentBox(28, 536, 16, 16);
constexpr QRect Picture2Box(124, 428, 25, 15);
constexpr QSize TileSize(30, 20);

// Tile tops inside the letter row, in alphabetical order: a step of 16 px,
// but К to Л is 14 and Л to М is 18.
constexpr std::array<int, 28> TileTops = {4,   20,  36,  52,  68,  84,  100, 116, 132, 148,
                                          162, 180, 196, 212, 228, 244, 260, 276, 292, 308,
                                          324, 340, 356, 372, 388, 404, 420, 436};

QLabel *pictureBox(QWidget *parent, const QRect &box, const QPixmap &picture) {
    auto *label = new QLabel(parent);
    label->setGeometry(box);
    if (!picture.isNull())
        label->setPixmap(picture);
    return label;
}

} // namespace

ShowIconsForm::ShowIconsForm(IconSource &icons, UserMessages &messages,
                             SlotList::PathFunction storePath, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_icons(icons)
    , m_messages(messages)
    , m_list1(std::move(storePath)) {
    setWindowTitle(Title);
    setWindowIcon(Pictures::windowIcon());
    setGeometry(ClientArea);
    setFixedSize(ClientArea.size());
    QPalette ground = palette();
    ground.setColor(QPalette::Window, Qt::black);
    setPalette(ground);
    setAutoFillBackground(true);
    buildWidgets();
    setFocusOrder();
}

void ShowIconsForm::buildWidgets() {
    m_text1 = new QPlainTextEdit(this);
    m_text1->setGeometry(Text1Box);
    m_text1->setReadOnly(true);
    m_text1->setFrameShape(QFrame::NoFrame);
    m_text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_text1->document()->setDocumentMargin(2);
    QFont hoverFont(QStringLiteral("Microsoft Sans Serif"));
    hoverFont.setPointSizeF(8.25);
    m_text1->setFont(hoverFont);
    QPalette hover = m_text1->palette();
    hover.setColor(QPalette::Base, Qt::black);
    hover.setColor(QPalette::Text, QColor(0, 255, 0));
    m_text1->setPalette(hover);

    const QColor tooltipGround = QApplication::palette().color(QPalette::ToolTipBase);
    for (int k = 1; k <= SlotList::SlotCount; ++k) {
        auto *slot = new SlotButton(k, this);
        slot->setGeometry(SlotLeft, FirstSlotTop + SlotStep * (k - 1), SlotSide, SlotSide);
        slot->setBackColor(k == 1 ? QColor::fromRgb(PlainColour) : tooltipGround);
        m_slots[k - 1] = slot;
    }

    m_frame1 = new QWidget(this);
    m_frame1->setGeometry(Frame1Box);
    m_frame1->setAutoFillBackground(true);
    m_frame1->hide();
    const QList<int> codes = CatalogueLetters::codes();
    for (qsizetype n = 0; n < codes.size(); ++n) {
        const int code = codes.at(n);
        const int index = code - CatalogueLetters::TileIndexOffset;
        QLabel *tile = pictureBox(m_frame1, QRect(QPoint(0, TileTops.at(n)), TileSize),
                                  Pictures::letterTile(code));
        tile->setAccessibleName(QString(CatalogueLetters::letterForCode(code)));
        m_picture1[index] = tile;
    }
    // Where tiles overlap, the smaller index lies on top.
    for (auto it = m_picture1.rbegin(); it != m_picture1.rend(); ++it)
        it->second->raise();

    m_picture3 = pictureBox(this, Picture3Box, Pictures::eraser());
    m_picture3->setToolTip(QStringLiteral("Резинка (Перетащи и бось для очистки кнопки)"));
    m_picture3->raise(); // over the bottom row of slot 12

    m_picDocument = pictureBox(this, PicDocumentBox, Pictures::dragIcon());
    m_picture2 = pictureBox(this, Picture2Box, QPixmap());
    m_picture2->setToolTip(QStringLiteral("Резинка для очистки кнопки"));
}

void ShowIconsForm::setFocusOrder() {
    QList<QWidget *> order;
    for (int k = 1; k <= 10; ++k)
        order.append(Command1(k));
    for (const auto &[index, tile] : m_picture1)
        order.append(tile);
    order.append(Command1(11));
    order.append(Command1(12));
    order.append(m_text1);
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    Command1(1)->setFocus();
}

QLabel *ShowIconsForm::Picture1(int index) const {
    const auto found = m_picture1.find(index);
    return found == m_picture1.end() ? nullptr : found->second;
}

void ShowIconsForm::Form_Load() {
    // Changing flags re-creates the native window and forgets where the client
    // area was placed, so place it again.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setGeometry(ClientArea);

    if (!StoreFile::exists(m_list1.storePath())) {
        const StoreResult created = m_list1.WriteDefaultStore();
        if (!created.ok()) {
            reportStoreFailure(created);
            return;
        }
    }
    const StoreResult loaded = m_list1.LoadSlotList();
    if (!loaded.ok()) {
        reportStoreFailure(loaded);
        return;
    }

    for (int k = 1; k <= SlotList::SlotCount; ++k) {
        Command1(k)->setToolTip(m_list1.captionEntry(k));
        Command1(k)->setPicture(GetFileIcon(m_list1.pathEntry(k)));
    }
    for (int k = 1; k <= SlotList::SlotCount; ++k)
        Command1(k)->setBackColor(QColor::fromRgb(PlainColour));
}

void ShowIconsForm::closeEvent(QCloseEvent *event) {
    event->accept();
    Form_Unload();
}

void ShowIconsForm::Form_Unload() {
    // The other windows go with the panel; nothing needs saving, the store
    // already matches the slots.
    QCoreApplication::quit();
}

QIcon ShowIconsForm::GetFileIcon(const QString &path) {
    return m_icons.iconFor(path);
}

void ShowIconsForm::reportStoreFailure(const StoreResult &result) {
    m_messages.showWarning(Title, result.message());
}
