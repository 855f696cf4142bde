// What the platform files share: the steps of their work in which the systems do not differ.
// Only the platform files include it.
#pragma once

#include "Platform.h"

#include <functional>

namespace Platform {

// The platform's error number for an allocation that failed.
extern const int kErrorNoMemory;

// How a wait on one socket ended, from the system's poll: what it returned, and whether it
// flagged an error or an invalid socket.
SocketWait WaitOutcome(int ready, bool failed);

// Fills at most `count` bytes at `into` from the open file and returns how many, 0 at its end, or
// -1 with the failing call's error number in `error`.
using ReadSome = std::function<qint64(char* into, qint64 count, int& error)>;

// The rest of ReadWholeFile once the regular file is open and its size known: the limit, the one
// allocation and the read front to back.
FileReadResult ReadOpenFile(quint64 size, quint64 maxSize, const ReadSome& readSome, QByteArray& data);

} // namespace Platform
