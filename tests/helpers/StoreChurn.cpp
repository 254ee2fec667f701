// SPDX-License-Identifier: GPL-3.0-or-later
// Changes slots and saves the store as fast as it can, until it is killed:
// the subject of the test that kills a panel in the middle of saving.
// Usage: store_churn STORE-PATH
#include "panel/SlotList.h"
#include "support/DiskStore.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString store = QString::fromLocal8Bit(argv[1]);
    DiskStore disk([&] { return store; });
    SlotList list(disk);
    if (!list.LoadSlotList().ok())
        return 1;
    for (int change = 0;; ++change) {
        const int slot = change % SlotList::SlotCount + 1;
        list.ReplaceSlotEntries(slot, QStringLiteral("/churn/%1").arg(change),
                                QStringLiteral("churn %1").arg(change));
        if (!list.SaveAndReloadSlotList().ok())
            return 1;
    }
}
