// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotList.h"

#include "StoreFile.h"

SlotList::SlotList(PathFunction storePath)
    : m_storePath(std::move(storePath))
{}

StoreResult SlotList::WriteDefaultStore()
{
    return StoreFile::writeDefault(storePath());
}

StoreResult SlotList::LoadSlotList()
{
    const QString path = storePath();
    QStringList lines;
    const StoreResult result = StoreFile::read(path, &lines);
    m_unreadStore = !result.ok() && StoreFile::exists(path);
    if (result.ok())
        m_entries += lines;
    m_stored = m_entries;
    return result;
}

void SlotList::ReplaceSlotEntries(int k, const QString &path, const QString &caption)
{
    while (m_entries.size() < EntryCount)
        m_entries.append(QString());
    m_entries.removeAt(k);
    m_entries.removeAt(k + 11);
    m_entries.insert(k + 11, caption);
    m_entries.insert(k, path);
}

StoreResult SlotList::SaveAndReloadSlotList()
{
    const QString path = storePath();
    if (m_unreadStore && StoreFile::exists(path)) {
        m_entries = m_stored;
        return StoreResult::failure(StoreResult::Step::Guard, path,
                                    QStringLiteral("файл есть, но прочитать его не удалось"));
    }
    const StoreResult written = StoreFile::write(path, m_entries);
    if (!written.ok()) {
        m_entries = m_stored;
        return written;
    }

    const QStringList kept = m_entries;
    m_entries.clear();
    const StoreResult loaded = LoadSlotList();
    if (!loaded.ok()) {
        // The store on disk was just written from this list, so the list
        // stays the truth; the next save may overwrite the store.
        m_entries = kept;
        m_stored = kept;
        m_unreadStore = false;
        return StoreResult::failure(StoreResult::Step::ReadBack, path, loaded.reason());
    }
    return StoreResult::success();
}
