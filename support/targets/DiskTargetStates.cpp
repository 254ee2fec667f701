// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskTargetStates.h"

#include "TargetWatch.h"

#include <QThread>

DiskTargetStates::DiskTargetStates(LookUp lookUp)
    : m_lookUp(std::move(lookUp))
    , m_watchThread(new QThread)
    , m_watch(new TargetWatch)
{
    m_watch->moveToThread(m_watchThread);
    connect(m_watchThread, &QThread::finished, m_watch, &QObject::deleteLater);
    connect(m_watch, &TargetWatch::changed, this, &DiskTargetStates::lookUp);
    m_watchThread->start();
}

DiskTargetStates::~DiskTargetStates()
{
    m_watchThread->quit();
    // A watch held by a hung share is left behind with its thread; the
    // process is ending.
    if (m_watchThread->wait(500))
        delete m_watchThread;
}

void DiskTargetStates::lookUp(const QString &path)
{
    m_work.start<TargetState>(
        path, [lookUp = m_lookUp, path] { return lookUp(path); },
        [this](const TargetState &state) {
            QMetaObject::invokeMethod(m_watch, [watch = m_watch, path = state.path] {
                watch->answered(path);
            });
            Q_EMIT known(state);
        });
}

void DiskTargetStates::follow(const QStringList &paths)
{
    QMetaObject::invokeMethod(m_watch, [watch = m_watch, paths] { watch->follow(paths); });
}
