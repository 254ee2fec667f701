// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <glib-object.h>

#include <memory>

// Holds one GObject reference and drops it when it goes; null is allowed.
struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GObjectRef = std::unique_ptr<T, GObjectUnref>;
