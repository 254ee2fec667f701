// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotBoard.h"

#include "SlotRules.h"
#include "SlotView.h"
#include "catalogue/CatalogueFolders.h"
#include "store/StoreFile.h"
#include "support/ShellOpener.h"
#include "support/TargetStates.h"
#include "support/UserMessages.h"
#include "support/widgets/ThemeIcon.h"

#include <QTimer>

SlotBoard::SlotBoard(const DesktopServices &desktop, StoreMedium &store, SlotView &view)
    : m_desktop(desktop)
    , m_view(view)
    , m_list(store)
{
    connect(&m_desktop.targets, &TargetStates::known, this, &SlotBoard::targetKnown);
}

void SlotBoard::load()
{
    if (!m_list.storeExists()) {
        if (!storeSucceeded(m_list.WriteDefaultStore()))
            return;
    }
    const bool loaded = storeSucceeded(m_list.LoadSlotList());
    takeDropsUnlessUnread();
    if (!loaded)
        return;

    // The pictures come as the disk answers; until then a slot looks as one
    // whose target has no icon.
    showTargets({});
    m_view.markSlot(0);
}

void SlotBoard::drop(int k, const QList<DroppedFile> &files)
{
    if (files.isEmpty())
        return;
    // Each file of the drop replaces the one before it: only the last stays.
    const DroppedFile &dropped = files.last();
    const QString path = dropped.path;
    if (!dropped.exact || !StoreFile::canHold(path)) {
        m_desktop.messages.showWarning(
            m_view.title(),
            QStringLiteral("«%1» нельзя поставить на кнопку: в имени есть знаки, "
                           "которые файл кнопок не может сохранить.\nКнопка не изменилась.")
                .arg(path));
        return;
    }
    // Its caption says whether it is a file or a folder: the answer stores it,
    // or, from a disk that does not answer, the name as dropped.
    const QString shown = SlotRules::droppedCaption(path, dropped.folder);
    m_waits.addDrop(k, path, shown);
    m_view.showCaption(k, shown, SlotRules::spokenName(path, shown),
                       SlotRules::spokenDescription(path, shown));
    m_view.showPicture(k, QIcon());
    m_desktop.targets.lookUp(path);
    QTimer::singleShot(AnswerMilliseconds, this, [this, k, path] { storeUnanswered(k, path); });
}

void SlotBoard::storeUnanswered(int k, const QString &path)
{
    const std::optional<QString> caption = m_waits.storeUnanswered(k, path);
    if (!caption)
        return; // answered, stored, dropped again or erased since
    if (!assignSlot(k, path, *caption)) {
        m_waits.cancelDrop(k);
        return showStored(k);
    }
    showCaption(k, *caption);
}

void SlotBoard::showStored(int k)
{
    showCaption(k, caption(k));
    m_desktop.targets.lookUp(m_list.pathEntry(k));
}

void SlotBoard::closing()
{
    // A stalled disk must not keep a closed panel running: the waiting drops'
    // saves get no more time than the saves already out.
    const QDeadlineTimer deadline(ClosingMilliseconds);
    m_closing = true;
    m_list.closeStoreBy(deadline);
    for (const int k : m_waits.waitingDrops())
        storeUnanswered(k, m_waits.droppedPath(k));
    if (!m_list.settleStore(int(deadline.remainingTime())))
        m_desktop.messages.showWarning(
            m_view.title(),
            QStringLiteral("Диск с файлом кнопок «%1» не ответил за %2 с: последние "
                           "изменения кнопок могут быть не сохранены.")
                .arg(m_list.storePath())
                .arg(ClosingMilliseconds / 1000));
}

void SlotBoard::erase(int k)
{
    m_waits.cancelDrop(k);
    if (!assignSlot(k, SlotRules::Placeholder, SlotRules::Placeholder))
        return;
    // Shown as cleared until the next start reads the placeholder.
    showCaption(k, QString(SlotRules::FolderMark));
    m_view.showErasedPicture(k);
}

void SlotBoard::hover(int k)
{
    m_view.showHoverText(k ? caption(k) : QString());
}

void SlotBoard::click(int k)
{
    m_view.showLetterRow(false);
    m_view.markSlot(k);
    m_currentPath = m_list.pathEntry(k);

    const QString shown = caption(k);
    if (shown.startsWith(SlotRules::FolderMark)) {
        m_view.showHoverText(shown);
        // A folder with an entry "А" is a catalogue: the answer shows its
        // letter row, or opens it.
        m_waits.addClick(m_currentPath);
        m_desktop.targets.lookUp(m_currentPath);
    } else {
        m_waits.addPlainClick();
        m_desktop.opener.open(m_currentPath);
    }
}

void SlotBoard::openLetter(int tileIndex)
{
    m_desktop.opener.open(SlotRules::letterFolder(m_currentPath, tileIndex));
}

void SlotBoard::createCatalogue(const QString &path)
{
    if (const auto failure = CatalogueFolders::create(m_desktop.folders, path)) {
        m_desktop.messages.showWarning(m_view.title(),
                                       CatalogueFolders::failureText(*failure, path));
        return;
    }
    m_desktop.messages.showInformation(QStringLiteral("Все исполненно"),
                                       CatalogueFolders::completionText(path));
}

void SlotBoard::targetKnown(const TargetState &state)
{
    const QIcon picture = themeIcon(state.iconNames, state.iconImage);
    for (int k = 1; k <= SlotList::SlotCount; ++k) {
        if (m_list.pathEntry(k) == state.path)
            m_view.showPicture(k, picture);
    }
    const TargetWaits::Settled settled = m_waits.answered(state.path);
    for (const TargetWaits::Drop &drop : settled.drops) {
        // A disk that could not say keeps the name as dropped.
        const QString caption = state.failed ? drop.caption : SlotRules::captionOf(state);
        if (!assignSlot(drop.slot, state.path, caption)) {
            showStored(drop.slot);
            continue;
        }
        m_view.showPicture(drop.slot, picture);
        showCaption(drop.slot, caption);
    }
    // A drop stored unanswered gets its mark now, if it is still as stored.
    for (const TargetWaits::Drop &drop : settled.storedDrops) {
        // Compared with the store as it is now: an edit there since may not
        // have been heard of yet.
        storeChanged();
        const int k = drop.slot;
        const QString caption = SlotRules::captionOf(state);
        if (!state.failed && caption != drop.caption && m_list.pathEntry(k) == state.path &&
            m_list.captionEntry(k) == drop.caption && assignSlot(k, state.path, caption))
            showCaption(k, caption);
    }
    if (settled.click) {
        if (state.holdsFirstLetter) {
            if (*settled.click == m_waits.lastClick())
                m_view.showLetterRow(true);
        } else if (state.fileName.isEmpty() && !state.entryName.isEmpty()) {
            m_desktop.opener.openFolder(state.path);
        } else {
            m_desktop.opener.open(state.path);
        }
    }
}

void SlotBoard::storeChanged()
{
    const QStringList shown = m_list.entries();
    if (!m_list.catchUp())
        return;
    // The panel's own change that the other program's store lacks is stored
    // again beside its edit.
    if (m_list.unsaved())
        storeSucceeded(m_list.SaveAndReloadSlotList());
    takeDropsUnlessUnread();
    showTargets(shown);
}

void SlotBoard::takeDropsUnlessUnread()
{
    // A drop could not be kept: the pointer says so before it is let go.
    m_view.takeDrops(!m_list.storeUnread());
}

void SlotBoard::showTargets(const QStringList &shownEntries)
{
    for (int k = 1; k <= SlotList::SlotCount; ++k) {
        showCaption(k, m_list.captionEntry(k));
        const QString path = m_list.pathEntry(k);
        if (shownEntries.value(k) != path || shownEntries.isEmpty())
            m_view.showPicture(k, QIcon());
        m_desktop.targets.lookUp(path);
    }
    followTargets();
}

void SlotBoard::followTargets()
{
    QStringList paths;
    for (int k = 1; k <= SlotList::SlotCount; ++k)
        paths.append(m_list.pathEntry(k));
    m_desktop.targets.follow(paths);
}

bool SlotBoard::assignSlot(int k, const QString &path, const QString &caption)
{
    // Another program may have changed the store since it was read.
    storeChanged();
    m_list.ReplaceSlotEntries(k, path, caption);
    // A slot shows only what the store holds.
    if (!storeSucceeded(m_list.SaveAndReloadSlotList()))
        return false;
    followTargets();
    return true;
}

void SlotBoard::showCaption(int k, const QString &caption)
{
    m_captions[k - 1] = caption;
    const QString path = m_list.pathEntry(k);
    m_view.showCaption(k, caption, SlotRules::spokenName(path, caption),
                       SlotRules::spokenDescription(path, caption));
}

bool SlotBoard::storeSucceeded(const StoreResult &result)
{
    // The refusal to overwrite an unread store is explained once; it holds
    // until the store can be read.
    const bool repeat = result.step() == StoreResult::Step::Guard && m_guardExplained;
    // A save the disk has not answered while the panel closes is told once,
    // with the others, as the panel ends.
    const bool toldAtTheEnd = m_closing && result.unanswered();
    if (!result.ok() && !repeat && !toldAtTheEnd)
        m_desktop.messages.showWarning(m_view.title(), result.message());
    if (result.step() == StoreResult::Step::Guard)
        m_guardExplained = true;
    return result.ok();
}
