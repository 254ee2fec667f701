// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalogue/CatalogueLetters.h"
#include "helpers/TestFiles.h"
#include "store/StoreFile.h"
#include "support/DesktopServices.h"
#include "support/FolderMaker.h"
#include "support/Pause.h"
#include "support/SaveDialog.h"
#include "support/ShellOpener.h"
#include "support/StoreMedium.h"
#include "support/TargetStates.h"
#include "support/UserMessages.h"
#include "support/targets/GatewayTargetStates.h"

#include <QFileInfo>
#include <QSemaphore>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

// Keeps what the panel told the user instead of showing it.
struct RecordingMessages : UserMessages
{
    void showWarning(const QString &title, const QString &text) override
    {
        titles.append(title), texts.append(text);
    }
    void showInformation(const QString &title, const QString &t) override { showWarning(title, t); }

    QStringList titles, texts;
};

// Records what the panel asked the desktop to open.
struct RecordingOpener : ShellOpener
{
    void open(const QString &target) override { opened.append(target); }

    QStringList opened;
};

// A pause that returns at once, after running what the test wants to happen
// while it waits.
struct ScriptedPause : Pause
{
    void wait(int milliseconds) override
    {
        waits.append(milliseconds);
        if (auto now = std::exchange(meanwhile, nullptr))
            now();
    }

    QList<int> waits;
    std::function<void()> meanwhile;
};

// Answers the save dialog as the test says, and records its owner.
struct ScriptedSaveDialog : SaveDialog
{
    std::optional<QString> askPath(QWidget *owner, const QString &, const QString &) override
    {
        owners.append(owner);
        return answer;
    }

    std::optional<QString> answer;
    QList<QWidget *> owners;
};

// The disk's answers, at once or when the test releases them: names as the
// folder test finds them, a picture for anything that exists, and nothing
// asked of GIO or the icon theme.
struct FakeTargetStates : TargetStates
{
    void lookUp(const QString &path) override
    {
        if (!holding)
            return answer(path);
        if (!asked.contains(path))
            asked.append(path);
    }
    void follow(const QStringList &paths) override { followed = paths; }

    void answer(const QString &path)
    {
        TargetState state = GatewayTargetStates::stateOf(
            localFacts(path), localFacts(path + QLatin1Char('/') + CatalogueLetters::FirstLetter));
        if (QFileInfo::exists(path))
            state.iconImage = QImage(32, 32, QImage::Format_RGB32);
        if (cannotSay.contains(path)) {
            state = TargetState();
            state.path = path;
            state.failed = true;
        }
        Q_EMIT known(state);
    }
    void release()
    {
        holding = false;
        for (const QString &path : std::exchange(asked, {}))
            answer(path);
    }

    bool holding = false;
    QStringList asked, followed;
    QStringList cannotSay; // a share that answers with an input or output error
};

// The store in memory: missing until written, and as unreadable or
// unwritable as the test says; another program may rename its store over it
// just before the next save, or just after.
struct MemoryStore : StoreMedium
{
    QString path() const override { return QStringLiteral("/mem/knw.dll"); }
    bool exists() const override { return bytes.has_value(); }
    Contents read() const override
    {
        if (!bytes || readFailure)
            return {{},
                    readFailure ? readFailure
                                : std::make_error_code(std::errc::no_such_file_or_directory)};
        return {*bytes, {}};
    }
    Replaced replace(const QByteArray &written, const std::optional<QByteArray> &seen) override
    {
        if (stall) // a disk that holds the save until the test lets it go
            stall->acquire();
        if (writeFailure)
            return {writeFailure, {}};
        if (renamedBefore)
            bytes = std::exchange(renamedBefore, std::nullopt);
        if (bytes && bytes != seen)
            return {{}, bytes};
        bytes = written;
        ++writes;
        if (renamedAfter)
            bytes = std::exchange(renamedAfter, std::nullopt);
        return {};
    }

    std::optional<QByteArray> bytes, renamedBefore, renamedAfter;
    std::error_code readFailure, writeFailure;
    int writes = 0;
    std::shared_ptr<QSemaphore> stall;
};

// Folders in memory: made in order, each at most once, and refused where the
// test says.
struct MemoryFolders : FolderMaker
{
    std::error_code makeFolder(const QString &path) override
    {
        if (refused.contains(path) || made.contains(path))
            return std::make_error_code(std::errc::file_exists);
        made.append(path);
        return {};
    }

    QStringList made, refused;
};

// The desktop a test gives the panel.
struct FakeDesktop
{
    FakeTargetStates targets;
    RecordingMessages messages;
    RecordingOpener opener;
    ScriptedPause pause;
    ScriptedSaveDialog saveDialog;
    MemoryFolders folders;

    DesktopServices services() { return {targets, messages, opener, pause, saveDialog, folders}; }
};

// The panel's tests: a fake desktop and a store in memory; m_dir holds the
// real targets they drop or click. start() makes a fresh panel on the store
// as it stands (missing unless written); with late, the disk's answers wait
// for the test.
class FakeDesktopFixture : public QObject
{
protected:
    virtual void start(bool late = false) = 0;
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    // A fresh panel on a store of these entries.
    void startOn(const QStringList &entries, bool late = false)
    {
        m_store.bytes = StoreFile::serialise(entries);
        QVERIFY(m_store.bytes);
        start(late);
    }
    void startEmpty()
    {
        m_store = MemoryStore();
        startOn(emptyStore());
    }

    QTemporaryDir m_dir;
    MemoryStore m_store;
    std::unique_ptr<FakeDesktop> m_desktop;
};
