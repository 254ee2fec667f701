// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueLetters.h"
#include "panel/ShowIconsForm.h"
#include "support/launch/BackgroundOpener.h"
#include "support/launch/DesktopOpener.h"
#include "support/disk/DiskFolderMaker.h"
#include "support/disk/DiskStore.h"
#include "support/targets/DiskTargetStates.h"
#include "support/EventLoopPause.h"
#include "support/dialogs/FileSaveDialog.h"
#include "support/dialogs/MessageBoxMessages.h"
#include "support/session/PanelInstance.h"
#include "support/disk/PatientStore.h"
#include "support/session/ProcessSetUp.h"
#include "support/disk/StoreWatch.h"
#include "support/targets/TargetLookup.h"
#include "support/session/TerminationSignals.h"
#include "support/x11/WindowHints.h"

#include <QApplication>

int main(int argc, char **argv)
{
    ProcessSetUp process(argv);
    QApplication app(argc, argv);
    process.applicationMade();
    MessageBoxMessages messages;
    const QString folder = QCoreApplication::applicationDirPath();
    const QString storePath = folder + QStringLiteral("/knw.dll");
    PanelInstance instance(folder, storePath);
    const bool replace = app.arguments().contains(QStringLiteral("--replace"));
    if (const std::optional<int> status = instance.claim(replace, messages, ShowIconsForm::Title))
        return *status;

    DiskTargetStates targets(
        [](const QString &path) { return lookUpTarget(path, CatalogueLetters::FirstLetter); });
    BackgroundOpener opener(std::make_shared<DesktopOpener>(process.unsetForLaunches()));
    EventLoopPause pause;
    FileSaveDialog saveDialog;
    DiskFolderMaker folders;
    DiskStore disk(storePath);
    PatientStore store(disk); // a stalled disk holds up its save, never the window
    ShowIconsForm form({targets, messages, opener, pause, saveDialog, folders}, store);
    messages.setOwner(&form);
    QObject::connect(&instance.channel(), &InstanceChannel::raiseRequested, &form,
                     [&form] { bringToFront(&form); });
    // Every change is saved already: closing loses nothing.
    QObject::connect(&instance.channel(), &InstanceChannel::replaceRequested, &form,
                     &QWidget::close);
    // A start while the panel closes is not sent away: it waits for this
    // panel to let go of the folder, and runs in its place.
    QObject::connect(&form, &ShowIconsForm::closeStarted, &instance.channel(),
                     &InstanceChannel::stopListening);
    form.Form_Load();
    StoreWatch storeWatch(storePath); // another program's edit shows, and the next save keeps it
    QObject::connect(&storeWatch, &StoreWatch::settled, &form, &ShowIconsForm::Store_Changed);
    // A logout, a closed terminal or Ctrl+C closes the panel as its close box does.
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::received, &app, &QApplication::closeAllWindows);
    form.show();
    return app.exec();
}
