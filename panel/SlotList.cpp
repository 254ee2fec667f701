// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotList.h"

#include "StoreFile.h"
#include "support/StoreMedium.h"

#include <algorithm>

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
    if (const auto failure = m_store.replace(StoreFile::defaultContent(EntryCount))) {
        // What the store would hold: a later save, once there is room, writes
        // placeholders, not empty entries.
        m_entries = QStringList(EntryCount, QStringLiteral("1"));
        m_storedEntries = m_entries;
        return StoreResult::failure(StoreResult::Step::Create, m_store.path(), failure);
    }
    return StoreResult::success();
}

StoreResult SlotList::LoadSlotList()
{
    const StoreMedium::Contents contents = m_store.read();
    m_storeUnread = contents.failure && m_store.exists();
    if (!contents.failure)
        m_entries += StoreFile::parse(contents.bytes);
    m_storedEntries = m_entries;
    if (contents.failure)
        return StoreResult::failure(StoreResult::Step::Read, m_store.path(), contents.failure);
    return StoreResult::success();
}

void SlotList::ReplaceSlotEntries(int k, const QString &path, const QString &caption)
{
    while (m_entries.size() < EntryCount)
        m_entries.append(QString());
    m_entries[k] = path;
    m_entries[k + SlotCount] = caption;
}

StoreResult SlotList::SaveAndReloadSlotList()
{
    const QString path = m_store.path();
    const auto refuse = [&](StoreResult result) {
        m_entries = m_storedEntries;
        return result;
    };
    if (m_storeUnread && m_store.exists())
        return refuse(StoreResult::refusal(StoreResult::Step::Guard, path,
                                           QStringLiteral("файл есть, но прочитать его не удалось")));
    const std::optional<QByteArray> bytes = StoreFile::serialise(m_entries);
    if (!bytes) {
        const QString entry =
            *std::find_if(m_entries.cbegin(), m_entries.cend(),
                          [](const QString &e) { return !StoreFile::canHold(e); });
        return refuse(StoreResult::refusal(
            StoreResult::Step::Write, path,
            QStringLiteral("строку «%1» нельзя записать в файл кнопок одной строкой").arg(entry)));
    }
    if (const auto failure = m_store.replace(*bytes))
        return refuse(StoreResult::failure(StoreResult::Step::Write, path, failure));

    // The list stays whole while the read waits: a handler that runs
    // meanwhile (the disk may be slow) sees and saves every slot.
    const StoreMedium::Contents contents = m_store.read();
    if (contents.failure) {
        // The store on disk was just written from this list, so the list
        // stays the truth; the next save may overwrite the store.
        m_storedEntries = m_entries;
        m_storeUnread = false;
        return StoreResult::failure(StoreResult::Step::ReadBack, path, contents.failure);
    }
    m_entries = StoreFile::parse(contents.bytes);
    m_storedEntries = m_entries;
    m_storeUnread = false;
    return StoreResult::success();
}

bool SlotList::catchUp()
{
    const StoreMedium::Contents contents = m_store.read();
    if (contents.failure || !(contents.bytes.endsWith('\r') || contents.bytes.endsWith('\n')))
        return false;
    const QStringList entries = StoreFile::parse(contents.bytes);
    if (entries.size() < EntryCount || entries == m_storedEntries)
        return false;
    m_entries = entries;
    m_storedEntries = entries;
    m_storeUnread = false;
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
