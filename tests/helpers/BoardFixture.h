// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "helpers/FakeDesktop.h"
#include "helpers/TestFiles.h"
#include "panel/SlotBoard.h"
#include "panel/SlotView.h"
#include "support/disk/PatientStore.h"

#include <QDir>

#include <memory>

// What the panel would show; -1: never marked.
struct RecordedView : SlotView
{
    void showCaption(int k, const QString &caption, const QString &, const QString &) override
    {
        captions[k] = caption;
    }
    void showPicture(int k, const QIcon &picture) override { pictures[k] = !picture.isNull(); }
    void showErasedPicture(int k) override { erased[k] = true; }
    void markSlot(int k) override { marked = k; }
    void showLetterRow(bool shown) override { row = shown; }
    void showHoverText(const QString &text) override { hover = text; }
    void takeDrops(bool taken) override { drops = taken; }
    QString title() const override { return QStringLiteral("КаталогOrlanta"); }

    QString captions[13];
    bool pictures[13]{};
    bool erased[13]{};
    int marked = -1;
    bool row = true; // as a row shown before
    QString hover;
    bool drops = true;
};

// The panel's rules without a window.
class BoardFixture : public FakeDesktopFixture
{
protected:
    // The store as another program edits it: slot 2 and an entry past them.
    QStringList editedStore() const
    {
        QStringList edited = emptyStore() + QStringList{"extra"};
        edited[2] = path("a.txt"), edited[14] = "a.txt", edited[3] = "edited";
        return edited;
    }

    void start(bool late = false) override
    {
        m_board.reset();
        m_patient.reset();
        m_view = RecordedView();
        m_desktop = std::make_unique<FakeDesktop>();
        m_desktop->targets.holding = late;
        // The disk's work on a thread of its own, as the panel does it.
        m_patient = std::make_unique<PatientStore>(m_store);
        m_board = std::make_unique<SlotBoard>(m_desktop->services(), *m_patient, m_view);
        m_board->load();
    }
    RecordedView m_view;
    std::unique_ptr<PatientStore> m_patient;
    std::unique_ptr<SlotBoard> m_board;
};
