// SPDX-License-Identifier: GPL-3.0-or-later
#include "GioIconSource.h"

#include <QFile>
#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <memory>

namespace {

template <typename T> struct GObjectDeleter
{
    void operator()(T *object) const { g_object_unref(object); }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectDeleter<T>>;

// The first of several theme names that the icon theme has, looked up when
// the icon is first drawn: like QIcon::fromTheme, it costs nothing until then,
// so the theme's tables load after the window is on screen.
class FirstThemeIconEngine : public QIconEngine
{
public:
    explicit FirstThemeIconEngine(QStringList names)
        : m_names(std::move(names))
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
    QString key() const override { return QStringLiteral("katalog-first-theme-icon"); }
    QIconEngine *clone() const override { return new FirstThemeIconEngine(*this); }

private:
    const QIcon &resolved()
    {
        if (!m_resolved) {
            for (const QString &name : std::as_const(m_names)) {
                if (QIcon::hasThemeIcon(name)) {
                    m_icon = QIcon::fromTheme(name);
                    break;
                }
            }
            m_resolved = true;
        }
        return m_icon;
    }

    QStringList m_names;
    QIcon m_icon;
    bool m_resolved = false;
};

QIcon iconFromGIcon(GIcon *icon)
{
    if (G_IS_THEMED_ICON(icon)) {
        QStringList names;
        const gchar *const *name = g_themed_icon_get_names(G_THEMED_ICON(icon));
        for (; name && *name; ++name)
            names.append(QString::fromUtf8(*name));
        return names.isEmpty() ? QIcon() : QIcon(new FirstThemeIconEngine(names));
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
    GObjectPtr<GDesktopAppInfo> app(g_desktop_app_info_new_from_filename(localPath.constData()));
    if (!app)
        return {};
    GIcon *icon = g_app_info_get_icon(G_APP_INFO(app.get()));
    return icon ? iconFromGIcon(icon) : QIcon();
}

// Loads what every later look-up needs: the file system layer, the MIME
// globs, magic and icon tables. GIO guards them with its own locks.
void warmUp()
{
    (void)g_vfs_get_default();
    gchar *type =
        g_content_type_guess("warm-up.txt", reinterpret_cast<const guchar *>("text"), 4, nullptr);
    if (type) {
        GObjectPtr<GIcon> icon(g_content_type_get_icon(type));
        g_free(type);
    }
}

} // namespace

GioIconSource::GioIconSource()
    : m_warmUp(warmUp)
{}

GioIconSource::~GioIconSource()
{
    m_warmUp.join();
}

QIcon GioIconSource::iconFor(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return {};
    const QByteArray localPath = QFile::encodeName(path);

    if (path.endsWith(QLatin1String(".desktop")) && QFileInfo(path).isFile()) {
        const QIcon own = desktopApplicationIcon(localPath);
        if (!own.isNull())
            return own;
    }

    GObjectPtr<GFile> file(g_file_new_for_path(localPath.constData()));
    GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_ICON,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!info)
        return {};
    GIcon *icon = g_file_info_get_icon(info.get());
    return icon ? iconFromGIcon(icon) : QIcon();
}
