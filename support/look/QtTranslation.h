// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt's own words (the save dialog's buttons and labels, the message boxes')
// in Russian whatever the locale, since the program's own texts are Russian;
// so are the dialog's dates and the names of file types, which Qt takes from
// the default locale. False when Qt's Russian translation is not installed.
bool installQtRussian();
