// SPDX-License-Identifier: GPL-3.0-or-later
#include "FixedWindow.h"

#include "images/Pictures.h"
#include "support/widgets/ScreenPlacement.h"
#include "support/x11/WindowHints.h"

#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

Qt::WindowFlags fixedWindowFlags(TitleBar bar, bool onTop)
{
    Qt::WindowFlags flags =
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    flags.setFlag(Qt::WindowSystemMenuHint, bar == TitleBar::CloseBoxAndMenu);
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    return flags;
}

void setUpFixedWindow(QWidget *window, const QString &title, const QRect &clientArea,
                      const QColor &background)
{
    window->setWindowTitle(title);
    window->setWindowIcon(Pictures::windowIcon());
    window->setFixedSize(clientArea.size());
    ScreenPlacement::place(window, clientArea);
    QPalette ground = window->palette();
    ground.setColor(QPalette::Window, background);
    window->setPalette(ground);
    window->setAutoFillBackground(true);
}

namespace {

// Escape pressed anywhere in the window, and not taken by a child, closes it.
class EscapeCloses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape &&
            static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
            static_cast<QWidget *>(parent())->close();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

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
        const std::optional<QPoint> real = clientPlaceOnScreen(m_window);
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

void keepFixed(QWidget *window)
{
    window->installEventFilter(new FixedPlace(window));
}

void closeOnEscape(QWidget *window)
{
    window->installEventFilter(new EscapeCloses(window));
}
