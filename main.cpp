// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueLetters.h"
#include "panel/ShowIconsForm.h"
#include "support/clock/EventLoopPause.h"
#include "support/dialogs/FileSaveDialog.h"
#include "support/dialogs/MessageBoxMessages.h"
#include "support/disk/DiskFolderMaker.h"
#include "support/disk/DiskStore.h"
#include "support/disk/PatientStore.h"
#include "support/disk/StoreWatch.h"
#include "support/gateway/DiskGateway.h"
#include "support/launch/OpenCommand.h"
#include "support/look/FontFaces.h"
#include "support/look/IconTheme.h"
#include "support/look/QtTranslation.h"
#include "support/session/DisplayPlatform.h"
#include "support/session/PanelInstance.h"
#include "support/session/SessionBus.h"
#include "support/session/SessionRestart.h"
#include "support/session/TerminationSignals.h"
#include "support/targets/GatewayTargetStates.h"
#include "support/widgets/ScreenPlacement.h"
#include "support/x11/DisplayLoss.h"
#include "support/x11/WindowHints.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
    // Run by the disk helper to open one target.
    if (const std::optional<int> status = OpenCommand::run(argc, argv))
        return *status;
    // Qt reads the platform and the scale as the application is made; the
    // programs the panel starts get the user's own back.
    const QByteArray userPlatform = DisplayPlatform::choosePlatform();
    const QByteArray userScale = DisplayPlatform::wholeScale();
    QApplication app(argc, argv);
    DisplayPlatform::giveBack("QT_QPA_PLATFORM", userPlatform);
    DisplayPlatform::giveBack("QT_SCALE_FACTOR", userScale);
    IconTheme::ensureFallback();
    installQtRussian();
    FontFaces::mapWindowsFaces();
    SessionRestart::leaveToAutostart();
    SessionBus bus; // may come and go while the panel runs
    // Programs the panel starts work in "/", and relative targets are taken
    // from there.
    QDir::setCurrent(QStringLiteral("/"));
    // The panel is drawn at the user's scale where the whole of it fits.
    ScreenPlacement::fitScreens(ShowIconsForm::ClientSize,
                                WindowManager::frameEstimate(ShowIconsForm::ClientSize));
    MessageBoxMessages messages;
    const QString folder = QCoreApplication::applicationDirPath();
    const QString storePath = folder + QStringLiteral("/knw.dll");
    PanelInstance instance(folder, storePath);
    const bool replace = app.arguments().contains(QStringLiteral("--replace"));
    if (const std::optional<int> status = instance.claim(replace, messages, ShowIconsForm::Title))
        return *status;

    // The targets are asked about, watched and opened by a helper beside
    // the program, never by the panel's own threads.
    DiskGateway gateway(folder + QStringLiteral("/katalog-probe"),
                        OpenCommand::opener(QCoreApplication::applicationFilePath()));
    GatewayTargetStates targets(gateway, CatalogueLetters::FirstLetter);
    EventLoopPause pause;
    FileSaveDialog saveDialog;
    DiskFolderMaker folders;
    DiskStore disk(storePath);
    PatientStore store(disk); // a stalled disk holds up its save, never the window
    // A compositor that restarts its XWayland gets the panel back, saved.
    DisplayLoss displayLoss([&store](QDeadlineTimer by) { return store.finishWork(by); });
    ShowIconsForm form({targets, messages, gateway, pause, saveDialog, folders}, store);
    messages.setOwner(&form);
    QObject::connect(&instance.channel(), &InstanceChannel::raiseRequested, &form,
                     [&form] { WindowManager::bringToFront(&form); });
    // Every change is saved already: closing loses nothing.
    QObject::connect(&instance.channel(), &InstanceChannel::replaceRequested, &form,
                     &QWidget::close);
    // A start while the panel closes is not sent away: it waits for this
    // panel to let go of the folder, and runs in its place.
    QObject::connect(&form, &ShowIconsForm::closeStarted, &instance.channel(),
                     &InstanceChannel::stopListening);
    form.start();
    StoreWatch storeWatch(storePath); // another program's edit shows, and the next save keeps it
    QObject::connect(&storeWatch, &StoreWatch::settled, &form, &ShowIconsForm::reloadStore);
    // A logout, a closed terminal or Ctrl+C closes the panel as its close box does.
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::received, &app, &QApplication::closeAllWindows);
    form.show();
    return app.exec();
}
