// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What the panel and its disk helper, katalog-probe, say to each other over a
// SOCK_SEQPACKET socket: one message a question or an answer, never split or
// joined. Plain C++, so that the helper needs no more than the C++ library.
namespace Gateway {

enum class Kind : uint8_t {
    Alive,    // the helper answers at once, from the thread that reads questions
    Describe, // a path: what lstat and stat say (an EntryRecord, then a link's target)
    Read,     // uint32 most bytes, then a path: int32 error, then the file's first bytes
    Watch,    // a folder: int32 error; its changes come as Changed messages
    Unwatch,  // a folder: no answer
    Open,     // the opener's last arguments (a target, then any more after a NUL) and
              // the panel's standard error, passed along: Started, then Done
    Changed,  // from the helper, id 0: a watched folder changed
};

enum class Phase : uint8_t { Done, Started };

// Every message begins with it; a question's id comes back with its answer.
struct Header
{
    uint32_t id;
    Kind kind;
    Phase phase;
    uint16_t unused;
};

// What the disk says of one path. Errors are errno values, 0 where the call
// succeeded; the file's identity, size and times are stat's (through a link).
struct EntryRecord
{
    int32_t lstatError;
    uint32_t lstatMode;
    int32_t statError;
    uint32_t statMode;
    int64_t size;
    uint64_t device;
    uint64_t inode;
    int64_t modified[2]; // seconds, nanoseconds
    int64_t changed[2];
    uint8_t executable; // the user may run it
};

// A message never exceeds what a socket takes in one piece by default.
constexpr size_t LargestMessage = 192 * 1024;
constexpr uint32_t LargestRead = 160 * 1024;

// Asks the disk (here, on this thread: only the helper calls it) about path;
// linkTarget receives where a symbolic link leads.
EntryRecord describeEntry(const char *path, std::string *linkTarget);

} // namespace Gateway
