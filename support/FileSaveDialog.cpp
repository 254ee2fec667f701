// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSaveDialog.h"

#include "ScreenPlacement.h"

#include <QDir>
#include <QFileDialog>

std::optional<QString> FileSaveDialog::askPath(QWidget *owner, const QString &title,
                                               const QString &filter)
{
    QFileDialog dialog(owner, title, QDir::homePath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QString());
    // Qt's own dialog in every session: the desktop's (GTK's under XFCE, MATE
    // and GNOME) takes its words from the system's language, not the panel's
    // Russian, and its place from its own rules.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Its owner need not be shown, so nothing keeps it above the panel but
    // this; it is modal and soon gone.
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    ScreenPlacement::centreOnOwnersScreen(&dialog, owner);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
