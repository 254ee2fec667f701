// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StoreResult.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QStringList>

#include <optional>

class StoreMedium;

// The panel's whole memory: an ordered list of text entries backed by the store
// file. Entry 0 is the header, entry k (1..12) the path of slot k, entry k + 12
// its caption; "1" is the placeholder. Entries past 24 travel along unchanged.
// The four operations of the panel's design keep the names it gives them.
class SlotList
{
public:
    static constexpr int SlotCount = 12;
    static constexpr int EntryCount = 2 * SlotCount + 1;

    // The store must outlive the list.
    explicit SlotList(StoreMedium &store);

    bool storeExists() const;
    QString storePath() const;
    // The store is there but could not be read: it is not overwritten.
    bool storeUnread() const { return m_storeUnread; }

    const QStringList &entries() const { return m_entries; }
    // Entries a short store does not supply read as empty text.
    QString pathEntry(int slot) const { return m_entries.value(slot); }
    QString captionEntry(int slot) const { return m_entries.value(slot + SlotCount); }

    // Creates the store with its default bytes; if it cannot, the list holds
    // the default entries all the same.
    StoreResult WriteDefaultStore();
    // Appends every line of the store to the list, in file order.
    StoreResult LoadSlotList();
    // Puts path at index k and caption at k + 12; a short list is first padded
    // with empty entries so that every slot can be assigned.
    void ReplaceSlotEntries(int k, const QString &path, const QString &caption);
    // Rewrites the store from the list, then rebuilds the list from the store.
    // Where another program changed the store since the list last read it,
    // or renames its store in right after the save, its edit is kept: the
    // slots this list changed are put on top of it and the save is tried
    // again, up to SaveTries times. If the write fails (or is refused) the
    // list goes back to what the store holds; if the read-back fails the list
    // keeps its entries, so that the next save cannot wipe the store.
    StoreResult SaveAndReloadSlotList();
    static constexpr int SaveTries = 5;

    // Takes up what another program left in the store: true when the store
    // now holds a whole list other than the one last loaded or saved, which
    // the list then holds, with the list's own changes of the last
    // OwnChangeMilliseconds kept where the other program's list shows those
    // slots as they were before them (unsaved() is then true). A store that
    // cannot be read, or that looks half written (fewer entries than the
    // slots need, or a last line without its end), changes nothing.
    bool catchUp();
    static constexpr int OwnChangeMilliseconds = 5000;
    // The list holds changes the store does not.
    bool unsaved() const { return m_entries != m_storedEntries; }

    // The panel is closing: what the store is asked from now on waits for
    // its disk no later than the deadline, and fails as not answered then.
    void closeStoreBy(QDeadlineTimer deadline);
    // Waits up to that long for saves the disk has not finished.
    bool settleStore(int milliseconds);

private:
    using Slot = std::pair<QString, QString>; // path, caption
    // A slot this list saved lately: as the store held it before, and after.
    struct OwnChange
    {
        Slot before, after;
        QDeadlineTimer until;
    };
    void recordOwnChanges(const QStringList &replaced, const QStringList &written);
    // Takes up the store's bytes as catchUp() says.
    bool takeUp(const QByteArray &bytes);
    // The store holds these now, as far as the list knows.
    void learn(const QByteArray &bytes, const QStringList &entries);

    StoreMedium &m_store;
    QStringList m_entries;
    // The entries as the store last held them, and its bytes (none: no store).
    QStringList m_storedEntries;
    std::optional<QByteArray> m_storedBytes;
    QHash<int, OwnChange> m_ownChanges; // by slot
    int m_learned = 0;                  // store versions learned so far
    QList<QByteArray> m_writing;        // saves still out
    // Set while an existing store could not be read: overwriting it would lose
    // slots the user may still recover.
    bool m_storeUnread = false;
};
