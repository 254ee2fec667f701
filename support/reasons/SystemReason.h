// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <system_error>

// Failures that have no number of the system's own: a file the panel will
// not take as its store, a disk that has not answered before the panel ends.
enum class DiskFailure { NotPlainFile = 1, LargerThanStore, NotAnswered };
std::error_code make_error_code(DiskFailure failure);
template <> struct std::is_error_code_enum<DiskFailure> : std::true_type
{
};

// The error number of the call that just failed, as a reason.
std::error_code lastSystemError();

// A failure's reason, said in Russian: the C library and Qt word theirs in
// English whatever the locale. The common ones are told by what they mean
// (no such file, no permission, a read-only file system, no space, a quota,
// a name that is taken, not a folder, a name too long, an input or output
// error), any other as a system error with its number.
QString russianReason(std::error_code reason);
