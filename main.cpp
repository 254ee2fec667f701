// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ShowIconsForm.h"
#include "support/BackgroundOpener.h"
#include "support/DesktopOpener.h"
#include "support/DiskFolderMaker.h"
#include "support/DiskProbe.h"
#include "support/DiskStore.h"
#include "support/DiskTargetStates.h"
#include "support/DisplayPlatform.h"
#include "support/EventLoopPause.h"
#include "support/FileSaveDialog.h"
#include "support/FontFaces.h"
#include "support/IconTheme.h"
#include "support/InstanceChannel.h"
#include "support/MessageBoxMessages.h"
#include "support/PatientStore.h"
#include "support/QtTranslation.h"
#include "support/SessionBus.h"
#include "support/SessionRestart.h"
#include "support/SingleInstance.h"
#include "support/StoreWatch.h"
#include "support/TargetLookup.h"
#include "support/TerminationSignals.h"
#include "support/WindowHints.h"

#include <QApplication>
#include <QDir>
#include <QThread>

namespace {

// "knw.dll" in the folder that holds the program.
QString programStorePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/knw.dll");
}

constexpr int AnswerMilliseconds = 5000;

// The panel that was asked to make way lets go of the folder as it ends.
bool waitForLock(SingleInstance &instance)
{
    for (int waited = 0; waited < AnswerMilliseconds; waited += 50) {
        if (instance.acquire() != SingleInstance::Outcome::AlreadyRunning)
            return true;
        QThread::msleep(50);
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    DiskProbe::startHelper();
    const bool platformChosen = DisplayPlatform::preferXWayland();
    const QByteArray userScale = DisplayPlatform::wholeScale();
    QApplication app(argc, argv);
    DisplayPlatform::keepUserScale(userScale);
    IconTheme::ensureFallback();
    installQtRussian();
    FontFaces::mapWindowsFaces();
    SessionRestart::leaveToAutostart();
    SessionBus sessionBus;

    MessageBoxMessages messages;
    const QString folder = QCoreApplication::applicationDirPath();
    const bool replace = app.arguments().contains(QStringLiteral("--replace"));
    SingleInstance instance(programStorePath());
    if (instance.acquire() == SingleInstance::Outcome::AlreadyRunning) {
        // The running panel comes to the front, or makes way for this one.
        const bool answered = InstanceChannel::ask(
            folder, replace ? InstanceChannel::Request::Replace : InstanceChannel::Request::Raise,
            AnswerMilliseconds);
        if (answered && !replace)
            return 0;
        if (const std::optional<QString> other = instance.holdersName()) {
            messages.showWarning(SlotBoard::Title,
                                 QStringLiteral("Каталог из этой папки уже запущен другим "
                                                "пользователем (%1): из одной папки может "
                                                "работать только одна панель, иначе они "
                                                "испортили бы общий файл кнопок «%2».")
                                     .arg(*other, programStorePath()));
            return 1;
        }
        if (!answered || !waitForLock(instance)) {
            messages.showWarning(SlotBoard::Title,
                                 QStringLiteral("Каталог уже запущен из этой папки, но не "
                                                "отвечает.\nВторая копия закрывается, чтобы не "
                                                "испортить файл кнопок «%1».")
                                     .arg(programStorePath()));
            return 1;
        }
    }
    InstanceChannel channel(folder);
    channel.listen();

    // Programs the panel starts work in "/", and relative targets are taken
    // from there.
    QDir::setCurrent(QStringLiteral("/"));

    // The disk is asked off the user-interface thread: a hung share holds up
    // its own slots, never the panel.
    DiskTargetStates targets(lookUpTarget);
    // The platform the panel chose for itself is not the launched programs'.
    BackgroundOpener opener(std::make_shared<DesktopOpener>(
        platformChosen ? QStringList{QStringLiteral("QT_QPA_PLATFORM")} : QStringList()));
    EventLoopPause pause;
    FileSaveDialog saveDialog;
    DiskFolderMaker folders;
    DiskStore disk(programStorePath());
    // A stalled disk holds up its save, never the window.
    PatientStore store(disk);
    ShowIconsForm form({targets, messages, opener, pause, saveDialog, folders}, store);
    messages.setOwner(&form);
    QObject::connect(&channel, &InstanceChannel::raiseRequested, &form,
                     [&form] { bringToFront(&form); });
    // Every change is saved already: closing loses nothing.
    QObject::connect(&channel, &InstanceChannel::replaceRequested, &form, &QWidget::close);
    form.Form_Load();
    // Another program's edit of the store shows, and the next save keeps it.
    StoreWatch storeWatch(programStorePath());
    QObject::connect(&storeWatch, &StoreWatch::settled, &form, &ShowIconsForm::Store_Changed);
    // A logout, a closed terminal or Ctrl+C closes the panel as its close box
    // does (and with it any dialog it shows).
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::received, &app, &QApplication::closeAllWindows);
    form.show();
    return app.exec();
}
