// SPDX-License-Identifier: GPL-3.0-or-later
#include "GioIconSource.h"

#include "GObjectRef.h"

#include <QFile>
#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <functional>
#include <memory>

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

QIcon iconFromGIcon(GIcon *icon)
{
    if (G_IS_THEMED_ICON(icon)) {
        const gchar *const *names = g_themed_icon_get_names(G_THEMED_ICON(icon));
        for (; names && *names; ++names) {
            const QString name = QString::fromUtf8(*names);
            if (QIcon::hasThemeIcon(name))
                return QIcon::fromTheme(name);
        }
        return {};
    }
    if (G_IS_FILE_ICON(icon)) {
        GFile *file = g_file_icon_get_file(G_FILE_ICON(icon));
        gchar *local = g_file_get_path(file);
        QIcon result;
        if (local)
            result = QIcon(QFile::decodeName(local));
        g_free(local);
        return result;
    }
    return {};
}

QIcon desktopApplicationIcon(const QByteArray &localPath)
{
    GObjectRef<GDesktopAppInfo> app(g_desktop_app_info_new_from_filename(localPath.constData()));
    if (!app)
        return {};
    GIcon *icon = g_app_info_get_icon(G_APP_INFO(app.get()));
    return icon ? iconFromGIcon(icon) : QIcon();
}

QIcon lookUp(const QString &path)
{
    const QByteArray localPath = QFile::encodeName(path);

    if (path.endsWith(QLatin1String(".desktop")) && QFileInfo(path).isFile()) {
        const QIcon own = desktopApplicationIcon(localPath);
        if (!own.isNull())
            return own;
    }

    GObjectRef<GFile> file(g_file_new_for_path(localPath.constData()));
    GObjectRef<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_ICON,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!info)
        return {};
    GIcon *icon = g_file_info_get_icon(info.get());
    return icon ? iconFromGIcon(icon) : QIcon();
}

} // namespace

QIcon GioIconSource::iconFor(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return {};
    return QIcon(new LazyIconEngine([path] { return lookUp(path); }));
}
