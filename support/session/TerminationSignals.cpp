// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminationSignals.h"

#include <csignal>
#include <iterator>
#include <utility>

#include <glib-unix.h>

namespace {

constexpr int Handled[] = {SIGTERM, SIGHUP, SIGINT};

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    static_assert(std::size(Handled) == std::size(decltype(m_sources){}));
    for (std::size_t k = 0; k < std::size(Handled); ++k) {
        m_sources[k] = g_unix_signal_add(
            Handled[k],
            [](gpointer data) {
                // Signals noted in the same turn of the loop are told once.
                auto *self = static_cast<TerminationSignals *>(data);
                if (!std::exchange(self->m_told, true)) {
                    QMetaObject::invokeMethod(
                        self,
                        [self] {
                            self->m_told = false;
                            Q_EMIT self->received();
                        },
                        Qt::QueuedConnection);
                }
                return gboolean(G_SOURCE_CONTINUE);
            },
            this);
    }
}

TerminationSignals::~TerminationSignals()
{
    // The last source of a signal gone, GLib gives it its default action.
    for (const unsigned source : m_sources) {
        if (source)
            g_source_remove(source);
    }
}
