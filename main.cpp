// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ShowIconsForm.h"
#include "panel/StoreLocation.h"
#include "support/DesktopOpener.h"
#include "support/DisplayPlatform.h"
#include "support/FontFaces.h"
#include "support/GioIconSource.h"
#include "support/IconTheme.h"
#include "support/MessageBoxMessages.h"
#include "support/Pause.h"
#include "support/SaveDialog.h"
#include "support/SingleInstance.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
    DisplayPlatform::preferXWayland();
    QApplication app(argc, argv);
    IconTheme::ensureFallback();
    FontFaces::mapWindowsFaces();

    MessageBoxMessages messages;
    SingleInstance instance(programStorePath());
    if (instance.acquire() == SingleInstance::Outcome::AlreadyRunning) {
        messages.showWarning(ShowIconsForm::Title,
                             QStringLiteral("Каталог уже запущен из этой папки.\n"
                                            "Вторая копия закрывается, чтобы не испортить "
                                            "файл кнопок «%1».")
                                 .arg(programStorePath()));
        return 1;
    }

    // Programs the panel starts work in "/", and relative targets are taken
    // from there.
    QDir::setCurrent(QStringLiteral("/"));

    GioIconSource icons;
    DesktopOpener opener;
    EventLoopPause pause;
    FileSaveDialog saveDialog;
    ShowIconsForm form({icons, messages, opener, pause, saveDialog}, programStorePath);
    messages.setOwner(&form);
    form.Form_Load();
    form.show();
    return app.exec();
}
