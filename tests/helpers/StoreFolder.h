// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTemporaryDir>

#include <memory>

// A fresh folder for each test function (a killed save leaves its temporary
// file), and the store's path in it.
class StoreFolder : public QObject
{
protected:
    void freshFolder()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_path = m_folder->filePath(QStringLiteral("knw.dll"));
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_path;
};
