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
    , m_authors(new QLabel(this))
    , m_siteCaption(new QLabel(this))
    , m_siteLink(new ClickableLabel(this))
{
    closeOnEscape();

    m_authors->setGeometry(4, 8, 303, 65);
    m_authors->setWordWrap(true);
    m_authors->setFont(fontOf(QStringLiteral("Arial"), 14.25, true, true));
    m_authors->setText(QStringLiteral("Программа написана ") + QStringLiteral("командой Katalog") +
                       QStringLiteral(" для ВАС."));

    m_siteCaption->move(12, 80);
    m_siteCaption->setFont(fontOf(QStringLiteral("Arial"), 9, false, false));
    m_siteCaption->setText(QStringLiteral("Сайт программы"));
    m_siteCaption->adjustSize();

    m_siteLink->setGeometry(126, 80, 183, 19);
    QFont heavy = fontOf(QStringLiteral("Arial Black"), 9, false, false);
    // Arial Black is heavy by design; the face that stands in for it needs
    // the weight said.
    heavy.setWeight(QFont::Black);
    m_siteLink->setFont(heavy);
    QPalette blue = m_siteLink->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_siteLink->setPalette(blue);
    m_siteLink->setText(Address);
    m_siteLink->setCursor(Qt::SizeAllCursor);
    connect(m_siteLink, &ClickableLabel::clicked, this, &AboutWindow::openSite);

    // The ground is a fixed grey, so the text is a fixed black: a dark
    // theme's light text would not show on it.
    for (QLabel *label : {m_authors, m_siteCaption}) {
        QPalette black = label->palette();
        black.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(black);
    }
    // Text starts at the top of its box, not in its middle.
    for (QLabel *label : {m_authors, m_siteCaption, static_cast<QLabel *>(m_siteLink)}) {
        label->setFocusPolicy(Qt::NoFocus);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
}

void AboutWindow::openSite()
{
    m_opener.open(m_siteLink->text());
}
