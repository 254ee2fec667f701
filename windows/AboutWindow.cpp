// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutWindow.h"

#include "FixedWindow.h"
#include "support/ShellOpener.h"
#include "support/widgets/ClickableLabel.h"

namespace {

QFont fontOf(const QString &family, qreal points, bool bold, bool italic)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace

AboutWindow::AboutWindow(ShellOpener &opener, QWidget *owner)
    : FixedWindow(owner,
                  {QStringLiteral("О проге"), QRect(242, 334, 312, 141), QColor(192, 192, 192),
                   TitleBar::CloseBoxAndMenu},
                  true)
    , m_opener(opener)
    , m_label1(new QLabel(this))
    , m_label2(new QLabel(this))
    , m_label3(new ClickableLabel(this))
{
    closeOnEscape();

    m_label1->setGeometry(4, 8, 303, 65);
    m_label1->setWordWrap(true);
    m_label1->setFont(fontOf(QStringLiteral("Arial"), 14.25, true, true));
    m_label1->setText(QStringLiteral("Программа написана ") + QStringLiteral("командой Katalog") +
                      QStringLiteral(" для ВАС."));

    m_label2->move(12, 80);
    m_label2->setFont(fontOf(QStringLiteral("Arial"), 9, false, false));
    m_label2->setText(QStringLiteral("Сайт программы"));
    m_label2->adjustSize();

    m_label3->setGeometry(126, 80, 183, 19);
    QFont heavy = fontOf(QStringLiteral("Arial Black"), 9, false, false);
    // Arial Black is heavy by design; the face that stands in for it needs
    // the weight said.
    heavy.setWeight(QFont::Black);
    m_label3->setFont(heavy);
    QPalette blue = m_label3->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_label3->setPalette(blue);
    m_label3->setText(Address);
    m_label3->setCursor(Qt::SizeAllCursor);
    connect(m_label3, &ClickableLabel::clicked, this, &AboutWindow::Label3_Click);

    // The ground is a fixed grey, so the text is a fixed black: a dark
    // theme's light text would not show on it.
    for (QLabel *label : {m_label1, m_label2}) {
        QPalette black = label->palette();
        black.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(black);
    }
    // Text starts at the top of its box, not in its middle.
    for (QLabel *label : {m_label1, m_label2, static_cast<QLabel *>(m_label3)}) {
        label->setFocusPolicy(Qt::NoFocus);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
}

void AboutWindow::Label3_Click()
{
    m_opener.open(m_label3->text());
}
