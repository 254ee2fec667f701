// SPDX-License-Identifier: GPL-3.0-or-later
#include "FixedWindow.h"

#include "images/Pictures.h"
#include "support/widgets/ScreenPlacement.h"
#include "support/x11/WindowHints.h"

#include <QEvent>
#include <QShortcut>
#include <QTimer>

Qt::WindowFlags FixedWindow::flags(TitleBar bar, bool onTop)
{
    Qt::WindowFlags flags =
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    flags.setFlag(Qt::WindowSystemMenuHint, bar == TitleBar::CloseBoxAndMenu);
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    return flags;
}

FixedWindow::FixedWindow(QWidget *owner, const Look &look, bool onTop)
    : QWidget(owner, flags(look.bar, onTop))
    , m_bar(look.bar)
{
    setWindowTitle(look.title);
    setWindowIcon(Pictures::windowIcon());
    setFixedSize(look.clientArea.size());
    ScreenPlacement::place(this, look.clientArea);
    QPalette ground = palette();
    ground.setColor(QPalette::Window, look.background);
    setPalette(ground);
    setAutoFillBackground(true);
}

void FixedWindow::setOnTop(bool onTop)
{
    setWindowFlags(flags(m_bar, onTop));
}

namespace {

constexpr int SettleMilliseconds = 300;

class FixedPlace : public QObject
{
public:
    explicit FixedPlace(QWidget *window)
        : QObject(window)
        , m_window(window)
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            if (!m_mapped) {
                m_mapped = true;
                QTimer::singleShot(SettleMilliseconds, this, &FixedPlace::fitMapped);
            }
            break;
        case QEvent::WindowStateChange:
            if (m_window->windowState() &
                (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
                QTimer::singleShot(0, this, &FixedPlace::restore);
            break;
        case QEvent::Move:
        case QEvent::Resize:
            // Only a move of the window as it should be is the user's; a
            // maximised window may keep its size and still be moved.
            if (m_window->size() != m_window->minimumSize())
                QTimer::singleShot(0, this, &FixedPlace::restore);
            else if (m_window->windowState() == Qt::WindowNoState && !m_restoring)
                m_place = m_window->geometry();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void restore()
    {
        putBack();
        // The manager's own moves for its change of state may come later:
        // once more when they are done, and none of them taken for the user's.
        if (!m_restoring) {
            m_restoring = true;
            QTimer::singleShot(SettleMilliseconds, this, [this] {
                putBack();
                m_restoring = false;
            });
        }
    }
    void putBack()
    {
        if (m_window->windowState() != Qt::WindowNoState)
            m_window->setWindowState(Qt::WindowNoState);
        if (m_window->geometry() != m_place && m_place.isValid())
            m_window->setGeometry(m_place);
    }
    void fitMapped()
    {
        const QRect shown = m_window->geometry();
        const std::optional<QPoint> real = WindowManager::clientPlaceOnScreen(m_window);
        const QRect place = real ? QRect(*real, shown.size()) : shown;
        // The frame is known now; Qt takes the window's place from the
        // request this makes, where its manager told it wrong.
        ScreenPlacement::refit(m_window, place);
    }

    QWidget *m_window;
    QRect m_place;
    bool m_mapped = false;
    bool m_restoring = false;
};

} // namespace

void FixedWindow::keepFixed()
{
    installEventFilter(new FixedPlace(this));
}

void FixedWindow::closeOnEscape()
{
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this,
            &QWidget::close);
}
