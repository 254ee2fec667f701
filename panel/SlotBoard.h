// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TargetWaits.h"
#include "drops/DroppedFiles.h"
#include "store/SlotList.h"
#include "support/DesktopServices.h"

#include <QObject>

#include <array>

class SlotView;
class StoreMedium;
struct TargetState;

// The panel's rules without its widgets: what start-up, a drop, the eraser,
// a click, a letter tile, the disk's answers and another program's edit of
// the store do to the store and to what the slots show. Every failure the
// user must know of is told through the desktop's messages.
class SlotBoard : public QObject
{
    Q_OBJECT

public:
    // The store and the view must outlive the board.
    SlotBoard(const DesktopServices &desktop, StoreMedium &store, SlotView &view);

    // Creates the store if it is missing, loads it and shows the slots. A
    // store that cannot be made or read is told, and the slots keep their
    // initial state.
    void load();

    // How long a drop waits for the disk to say file or folder before it is
    // stored without that word.
    static constexpr int AnswerMilliseconds = 1000;

    // The last of the dropped files goes on slot k: its name shows at once,
    // and it is stored once the disk has said whether it is a file or a
    // folder, or after AnswerMilliseconds without the folder mark (unless
    // the drop said folder), the mark put right when the answer comes. A
    // name the store cannot hold is refused, and the user told.
    void drop(int k, const QList<DroppedFile> &files);
    // The panel is closing: every drop still waiting for its disk is stored
    // as it would be unanswered. The store's disk gets a few seconds in all
    // for those saves and the ones it has not finished; the user is told
    // once if some are still out.
    void closing();
    static constexpr int ClosingMilliseconds = 3000;
    // Stores the placeholder on slot k and shows it cleared; tells the user
    // when the store refused it.
    void erase(int k);

    // Marks slot k and opens its target, or, for a catalogue, shows the
    // letter row; what a folder is, the disk says, however late.
    void click(int k);
    // Opens the letter's subfolder of the catalogue clicked last.
    void openLetter(int tileIndex);

    // Makes a catalogue at the path the user chose and says how that went.
    void createCatalogue(const QString &path);
    // Shows slot k's caption as the pointer's text; 0 shows none.
    void hover(int k);

    // The store changed on disk: the slots show what it holds now, if it
    // holds a whole list, with the panel's own change of a moment ago stored
    // again where the other program wrote without knowing of it.
    void storeChanged();

    QString currentPath() const { return m_currentPath; }
    const SlotList &list() const { return m_list; }

private:
    // The caption slot k shows, its one record (a cleared slot shows the
    // folder mark alone until the next start).
    QString caption(int k) const { return m_captions.at(k - 1); }
    // What the disk now says about a target: the pictures of the slots that
    // hold it, and the drop or click that waited for it.
    void targetKnown(const TargetState &state);
    // Asks about every slot's target (pictures come with the answers) and
    // follows them; a slot whose path is not the one shown loses its picture.
    void showTargets(const QStringList &shownEntries);
    void followTargets();
    void takeDropsUnlessUnread();
    // A drop the disk has not answered in time is stored as dropped.
    void storeUnanswered(int k, const QString &path);
    // Slot k shows what the store holds again: its drop was not stored.
    void showStored(int k);
    // Puts a target or the placeholder on slot k, starting from what the
    // store holds now; false, after telling the user, when it is not stored.
    bool assignSlot(int k, const QString &path, const QString &caption);
    void showCaption(int k, const QString &caption);
    // False, after telling the user, when the store operation failed.
    bool storeSucceeded(const StoreResult &result);

    DesktopServices m_desktop;
    SlotView &m_view;
    SlotList m_list;
    TargetWaits m_waits;
    QString m_currentPath;
    std::array<QString, SlotList::SlotCount> m_captions;
    bool m_guardExplained = false;
    bool m_closing = false;
};
