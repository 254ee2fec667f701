// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The store file "knw.dll" in the folder that holds the executable.
QString programStorePath();
