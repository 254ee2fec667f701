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
    m_platformChosen = DisplayPlatform::preferXWayland();
    m_userScale = DisplayPlatform::wholeScale();
}

ProcessSetUp::~ProcessSetUp() = default;

void ProcessSetUp::applicationMade()
{
    DisplayPlatform::keepUserScale(m_userScale);
    IconTheme::ensureFallback();
    installQtRussian();
    FontFaces::mapWindowsFaces();
    SessionRestart::leaveToAutostart();
    m_bus = std::make_unique<SessionBus>();
    // Programs the panel starts work in "/", and relative targets are taken
    // from there.
    QDir::setCurrent(QStringLiteral("/"));
}

QStringList ProcessSetUp::unsetForLaunches() const
{
    // The platform the panel chose for itself is not the launched programs'.
    return m_platformChosen ? QStringList{QStringLiteral("QT_QPA_PLATFORM")} : QStringList();
}
