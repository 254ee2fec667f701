// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThemeIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <functional>

namespace {

// An icon looked up when it is first drawn, then kept.
class LazyIconEngine : public QIconEngine
{
public:
    explicit LazyIconEngine(std::function<QIcon()> lookUp)
        : m_lookUp(std::move(lookUp))
    {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        resolved().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return resolved().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return resolved().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return resolved().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return resolved().availableSizes(mode, state);
    }
    QString iconName() override { return resolved().name(); }
    QString key() const override { return QStringLiteral("katalog-lazy-icon"); }
    QIconEngine *clone() const override { return new LazyIconEngine(*this); }

private:
    const QIcon &resolved()
    {
        if (m_lookUp) {
            m_icon = m_lookUp();
            m_lookUp = nullptr;
        }
        return m_icon;
    }

    std::function<QIcon()> m_lookUp;
    QIcon m_icon;
};

} // namespace

QIcon themeIcon(const QStringList &names, const QImage &picture)
{
    if (names.isEmpty() && picture.isNull())
        return {};
    return QIcon(new LazyIconEngine([names, picture] {
        for (const QString &name : names) {
            if (QIcon::hasThemeIcon(name))
                return QIcon::fromTheme(name);
        }
        return picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture));
    }));
}
