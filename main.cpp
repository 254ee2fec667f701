// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ShowIconsForm.h"
#include "support/BackgroundOpener.h"
#include "support/DesktopOpener.h"
#include "support/DiskFolderMaker.h"
#include "support/DiskStore.h"
#include "support/DiskTargetStates.h"
#include "support/EventLoopPause.h"
#include "support/FileSaveDialog.h"
#include "support/MessageBoxMessages.h"
#include "support/PanelInstance.h"
#include "support/PatientStore.h"
#include "support/ProcessSetUp.h"
#include "support/StoreWatch.h"
#include "support/TargetLookup.h"
#include "support/TerminationSignals.h"
#include "support/WindowHints.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
    ProcessSetUp process;
    QApplication app(argc, argv);
    process.applicationMade();
    MessageBoxMessages messages;
    const QString folder = QCoreApplication::applicationDirPath();
    const QString storePath = folder + QStringLiteral("/knw.dll");
    PanelInstance instance(folder, storePath);
    const bool replace = app.arguments().contains(QStringLiteral("--replace"));
    if (const std::optional<int> status = instance.claim(replace, messages, ShowIconsForm::Title))
        return *status;
    // Programs the panel starts work in "/", and relative targets are taken from there.
    QDir::setCurrent(QStringLiteral("/"));

    DiskTargetStates targets(lookUpTarget);
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
    form.Form_Load();
    StoreWatch storeWatch(storePath); // another program's edit shows, and the next save keeps it
    QObject::connect(&storeWatch, &StoreWatch::settled, &form, &ShowIconsForm::Store_Changed);
    // A logout, a closed terminal or Ctrl+C closes the panel as its close box does.
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::received, &app, &QApplication::closeAllWindows);
    form.show();
    return app.exec();
}
