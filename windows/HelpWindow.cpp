// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpWindow.h"

#include "FixedWindow.h"

#include "images/Pictures.h"
#include "support/x11/WindowHints.h"

#include <QLabel>
#include <QPainter>

namespace {

constexpr int LinePitch = 14;

// A label whose lines stand a fixed pitch apart, whatever the face's own line
// spacing: the help text's layout is measured in lines of 14 px.
class PitchedLabel : public QLabel
{
public:
    using QLabel::QLabel;

    QSize sizeHint() const override
    {
        const QStringList lines = text().split(QLatin1Char('\n'));
        int width = 0;
        for (const QString &line : lines)
            width = std::max(width, fontMetrics().horizontalAdvance(line));
        return {width, int(lines.size()) * LinePitch};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        int top = 0;
        for (const QString &line : text().split(QLatin1Char('\n'))) {
            painter.drawText(QRect(0, top, width(), LinePitch), Qt::AlignLeft | Qt::AlignTop, line);
            top += LinePitch;
        }
    }
};

} // namespace

const QString HelpWindow::Text =
    QStringLiteral("При выборе пункта меню (Создать каталог папок)\r\n"
                   "Введите вначале название каталога, например (Мои книги).\r\n"
                   "При этом в этой папке (Мои книги), будут созданы папки\r\n"
                   "по русскому алфавиту см. рисунок. Где вы и расположите свои\r\n"
                   "файлы. \r\n"
                   "Что бы назначить кнопке определенный каталог или файл\r\n"
                   "просто перетащите его значок на кнопку. Нажав на кнопку\r\n"
                   "вы указываете алфавитному ряду, в каком каталоге искать\r\n"
                   "папку на \"букву\". При отсутствии каталога будут\r\n"
                   "открываться сами папки или запускаться \r\n"
                   "назначенные программы.\r\n");

HelpWindow::HelpWindow(QWidget *owner)
    : FixedWindow(
          owner,
          {QStringLiteral("Справка"), QRect(495, 161, 381, 355), Qt::white, TitleBar::CloseBox},
          true)
    , m_picture(new QLabel(this))
    , m_text(new PitchedLabel(this))
{

    m_picture->move(38, 6);
    m_picture->setPixmap(Pictures::helpPicture());
    m_picture->adjustSize();

    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    m_text->setFont(font);
    QPalette blue = m_text->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_text->setPalette(blue);
    m_text->move(4, 186);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(false);
    // A label breaks lines at LF; the final line break leaves the empty
    // twelfth line below the text.
    QString shown = Text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_text->setText(shown);
    m_text->adjustSize();

    WindowManager::hideTaskbarEntry(this);
    closeOnEscape();
}
