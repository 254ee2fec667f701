// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSaveDialog.h"

#include "support/widgets/ScreenPlacement.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace {

// Qt's file list writes sizes and dates in the system's language, and calls
// a folder "Folder" in every language: here they are written in Russian.
class RussianColumns : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex file = mapToSource(index);
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        switch (index.column()) {
        case 1:
            if (!files->isDir(file))
                return russian.formattedDataSize(files->size(file));
            break;
        case 2:
            if (files->isDir(file))
                return QStringLiteral("Папка");
            break;
        case 3:
            return russian.toString(files->lastModified(file), QLocale::ShortFormat);
        default:
            break;
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// The window the user sees: the owner's, or where that is not shown, the
// first shown one it belongs to. Marco and metacity take a dialog transient
// for a window never mapped as no one's: it gets a task-list entry of its
// own and is put beside the focused window.
QWidget *shownWindow(QWidget *owner)
{
    QWidget *window = owner ? owner->window() : nullptr;
    while (window && !window->isVisible() && window->parentWidget())
        window = window->parentWidget()->window();
    return window;
}

} // namespace

std::optional<QString> FileSaveDialog::askPath(QWidget *owner, const QString &title,
                                               const QString &filter)
{
    QFileDialog dialog(shownWindow(owner), title, QDir::homePath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QString());
    // Qt's own dialog in every session: the desktop's (GTK's under XFCE, MATE
    // and GNOME) takes its words from the system's language, not the panel's
    // Russian, and its place from its own rules.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new RussianColumns(&dialog));
    // Above the panel even where a manager does not keep a transient above
    // its window; it is modal and soon gone.
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    ScreenPlacement::centreOnOwnersScreen(&dialog, owner);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
