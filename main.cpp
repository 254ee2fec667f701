// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ShowIconsForm.h"
#include "panel/StoreLocation.h"
#include "support/DisplayPlatform.h"
#include "support/FontFaces.h"
#include "support/GioIconSource.h"
#include "support/IconTheme.h"
#include "support/MessageBoxMessages.h"
#include "support/SingleInstance.h"

#include <QApplication>

int main(int argc, char **argv) {
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

    GioIconSource icons;
    ShowIconsForm form(icons, messages, programStorePath);
    form.Form_Load();
    form.show();
    return app.exec();
}
