// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeDesktop.h"
#include "panel/ShowIconsForm.h"
#include "panel/StoreFile.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A panel on a fake desktop and a store in memory; m_dir holds whatever real
// targets a test drops or clicks.
class PanelFixture
{
protected:
    static QStringList emptyStore() { return QStringList(25, QStringLiteral("1")); }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    // A fresh panel on the store as it stands (missing unless written).
    void startPanel()
    {
        m_form.reset();
        m_desktop = std::make_unique<FakeDesktop>();
        m_form = std::make_unique<ShowIconsForm>(m_desktop->services(), m_store);
        m_form->Form_Load();
    }
    // A fresh panel on a store of these entries.
    void startPanelOn(const QStringList &entries)
    {
        m_store.bytes = StoreFile::serialise(entries);
        QVERIFY(m_store.bytes);
        startPanel();
    }

    QTemporaryDir m_dir;
    MemoryStore m_store;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<ShowIconsForm> m_form;
};
