// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcessSetUp.h"

#include "DisplayPlatform.h"
#include "FontFaces.h"
#include "IconTheme.h"
#include "QtTranslation.h"
#include "SessionBus.h"
#include "SessionRestart.h"

#include <QDir>

ProcessSetUp::ProcessSetUp()
{
    m_userPlatform = DisplayPlatform::choosePlatform();
    m_userScale = DisplayPlatform::wholeScale();
}

ProcessSetUp::~ProcessSetUp() = default;

void ProcessSetUp::applicationMade()
{
    // What the panel starts gets the user's own settings, not the panel's.
    DisplayPlatform::giveBack("QT_QPA_PLATFORM", m_userPlatform);
    DisplayPlatform::giveBack("QT_SCALE_FACTOR", m_userScale);
    IconTheme::ensureFallback();
    installQtRussian();
    FontFaces::mapWindowsFaces();
    SessionRestart::leaveToAutostart();
    m_bus = std::make_unique<SessionBus>();
    // Programs the panel starts work in "/", and relative targets are taken
    // from there.
    QDir::setCurrent(QStringLiteral("/"));
}
