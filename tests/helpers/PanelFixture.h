// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeDesktop.h"
#include "panel/ShowIconsForm.h"

#include <QTemporaryDir>

#include <memory>

// A panel on a fake desktop, with its store in a folder of its own. Test
// classes inherit it and call startPanel() for a fresh panel on the store as
// it is on disk.
class PanelFixture
{
protected:
    QString storePath() const { return m_dir.filePath(QStringLiteral("knw.dll")); }

    void startPanel()
    {
        m_form.reset();
        m_desktop = std::make_unique<FakeDesktop>();
        m_form =
            std::make_unique<ShowIconsForm>(m_desktop->services(), [this] { return storePath(); });
        m_form->Form_Load();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<ShowIconsForm> m_form;
};
