// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotList.h"

#include "StoreFile.h"
#include "support/StoreMedium.h"

#include <algorithm>

namespace {

std::pair<QString, QString> slotOf(const QStringList &entries, int k)
{
    return {entries.value(k), entries.value(k + SlotList::SlotCount)};
}

void putSlot(QStringList &entries, int k, const std::pair<QString, QString> &slot)
{
    while (entries.size() < SlotList::EntryCount)
        entries.append(QString());
    entries[k] = slot.first;
    entries[k + SlotList::SlotCount] = slot.second;
}

// The slots changed from base to mine, made on top of another list.
QStringList withChanges(QStringList onto, const QStringList &base, const QStringList &mine)
{
    for (int k = 1; k <= SlotList::SlotCount; ++k) {
        if (slotOf(mine, k) != slotOf(base, k))
            putSlot(onto, k, slotOf(mine, k));
    }
    return onto;
}

// The list a store holds, unless it looks half written.
std::optional<QStringList> wholeList(const QByteArray &bytes)
{
    if (!(bytes.endsWith('\r') || bytes.endsWith('\n')))
        return std::nullopt;
    QStringList entries = StoreFile::parse(bytes);
    if (entries.size() < SlotList::EntryCount)
        return std::nullopt;
    return entries;
}

} // namespace

SlotList::SlotList(StoreMedium &store)
    : m_store(store)
{}

bool SlotList::storeExists() const
{
    return m_store.exists();
}

QString SlotList::storePath() const
{
    return m_store.path();
}

StoreResult SlotList::WriteDefaultStore()
{
    const StoreMedium::Replaced made = m_store.replace(StoreFile::defaultContent(EntryCount), {});
    if (made.failure) {
        // What the store would hold: a later save, once there is room, writes
        // placeholders, not empty entries.
        m_entries = QStringList(EntryCount, QStringLiteral("1"));
        m_storedEntries = m_entries;
        return StoreResult::failure(StoreResult::Step::Create, m_store.path(), made.failure);
    }
    // Or another program made it meanwhile: it is there to be read.
    return StoreResult::success();
}

StoreResult SlotList::LoadSlotList()
{
    const StoreMedium::Contents contents = m_store.read();
    m_storeUnread = contents.failure && m_store.exists();
    if (!contents.failure) {
        m_entries += StoreFile::parse(contents.bytes);
        m_storedBytes = contents.bytes;
    }
    m_storedEntries = m_entries;
    if (contents.failure)
        return StoreResult::failure(StoreResult::Step::Read, m_store.path(), contents.failure);
    return StoreResult::success();
}

void SlotList::ReplaceSlotEntries(int k, const QString &path, const QString &caption)
{
    putSlot(m_entries, k, {path, caption});
}

StoreResult SlotList::SaveAndReloadSlotList()
{
    const QString path = m_store.path();
    const QHash<int, OwnChange> ownBefore = m_ownChanges;
    const QStringList changedFrom = m_storedEntries, changed = m_entries;
    const auto refuse = [&](StoreResult result) {
        m_entries = m_storedEntries;
        // Never stored, so never to be put back.
        for (int k = 1; k <= SlotCount; ++k) {
            if (slotOf(changed, k) == slotOf(changedFrom, k))
                continue;
            if (ownBefore.contains(k))
                m_ownChanges.insert(k, ownBefore.value(k));
            else
                m_ownChanges.remove(k);
        }
        return result;
    };
    if (m_storeUnread && m_store.exists())
        return refuse(
            StoreResult::refusal(StoreResult::Step::Guard, path,
                                 QStringLiteral("файл есть, но прочитать его не удалось")));
    for (int tries = 1;; ++tries) {
        // Kept apart while the disk works: a handler may run meanwhile, and
        // take up the store or save it itself.
        const QStringList base = m_storedEntries, mine = m_entries;
        const std::optional<QByteArray> bytes = StoreFile::serialise(mine);
        if (!bytes) {
            const QString entry = *std::find_if(mine.cbegin(), mine.cend(), [](const QString &e) {
                return !StoreFile::canHold(e);
            });
            return refuse(StoreResult::refusal(
                StoreResult::Step::Write, path,
                QStringLiteral("строку «%1» нельзя записать в файл кнопок одной строкой")
                    .arg(entry)));
        }
        // Known before the wait: a handler may take up a version from before
        // this save meanwhile, and this save itself as no other program's.
        recordOwnChanges(base, mine);
        const int learned = m_learned;
        m_writing.append(*bytes);
        const StoreMedium::Replaced replaced = m_store.replace(*bytes, m_storedBytes);
        m_writing.removeOne(*bytes);
        if (replaced.failure)
            return refuse(StoreResult::failure(StoreResult::Step::Write, path, replaced.failure));
        // What a handler took up meanwhile it read after this save.
        const bool newer = m_learned != learned;
        if (replaced.theirs) {
            // Another program saved since the store was read: its edit stays
            // and this one goes on top. One that looks half written is
            // written over, as it would have been a moment later.
            if (!newer) {
                const std::optional<QStringList> theirs = wholeList(*replaced.theirs);
                learn(*replaced.theirs, theirs.value_or(m_storedEntries));
            }
            m_entries = withChanges(m_storedEntries, base, mine);
        } else if (newer) {
            m_storeUnread = false;
            return StoreResult::success();
        } else {
            learn(*bytes, mine);
            m_storeUnread = false;
            // The list stays whole while the read waits: a handler that runs
            // meanwhile (the disk may be slow) sees and saves every slot.
            const StoreMedium::Contents contents = m_store.read();
            if (contents.failure) {
                // The store on disk was just written from this list, so the
                // list stays the truth; the next save may overwrite the store.
                m_storedEntries = m_entries;
                return StoreResult::failure(StoreResult::Step::ReadBack, path, contents.failure);
            }
            // Another program's store renamed in right after this save is
            // taken up as any other, this change kept where it lacks it.
            if (!takeUp(contents.bytes) || !unsaved())
                return StoreResult::success();
        }
        if (tries == SaveTries)
            return refuse(StoreResult::refusal(
                StoreResult::Step::Write, path,
                QStringLiteral("другая программа всё время меняет этот файл")));
    }
}

void SlotList::learn(const QByteArray &bytes, const QStringList &entries)
{
    if (bytes != m_storedBytes)
        ++m_learned;
    m_storedBytes = bytes;
    m_storedEntries = entries;
}

void SlotList::recordOwnChanges(const QStringList &replaced, const QStringList &written)
{
    for (int k = 1; k <= SlotCount; ++k) {
        const Slot before = slotOf(replaced, k), after = slotOf(written, k);
        const auto known = m_ownChanges.constFind(k);
        // The same change saved again beside another program's edit: its
        // time still runs from the first save.
        if (before == after ||
            (known != m_ownChanges.cend() && known->after == after && !known->until.hasExpired()))
            continue;
        m_ownChanges.insert(k, {before, after, QDeadlineTimer(OwnChangeMilliseconds)});
    }
}

bool SlotList::catchUp()
{
    const StoreMedium::Contents contents = m_store.read();
    return !contents.failure && takeUp(contents.bytes);
}

bool SlotList::takeUp(const QByteArray &bytes)
{
    const std::optional<QStringList> entries = wholeList(bytes);
    if (!entries)
        return false;
    const bool same = *entries == m_storedEntries;
    learn(bytes, *entries);
    if (same)
        return false;
    m_entries = *entries;
    m_storeUnread = false;
    // A save of this list's own, still out, is no other program's version.
    if (m_writing.contains(bytes))
        return true;
    // A program that read the store before the panel's save and wrote just
    // after it brings the slot back as it was, unaware of the panel's change:
    // that change is kept. Not for ever: a version that shows the change, or
    // one that comes more than a few seconds after it, is a later edit, made
    // knowing it, and what it does to the slot stands (the user may have
    // put the slot back as it was in an editor on purpose).
    for (auto own = m_ownChanges.begin(); own != m_ownChanges.end();) {
        if (own->until.hasExpired() || slotOf(m_entries, own.key()) != own->before) {
            own = m_ownChanges.erase(own);
            continue;
        }
        putSlot(m_entries, own.key(), own->after);
        ++own;
    }
    return true;
}

void SlotList::closeStoreBy(QDeadlineTimer deadline)
{
    m_store.closeBy(deadline);
}

bool SlotList::settleStore(int milliseconds)
{
    return m_store.settle(milliseconds);
}
