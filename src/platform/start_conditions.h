#pragma once
// What a program needs from the system before its toolkit starts: a display for its window and
// room to start at all. Without them the toolkit aborts, or waits for ever for a thread that never
// started; the program says instead what is missing and ends.
#include <cstddef>
#include <string>

namespace platform {

// "" when a window can be opened; otherwise what is missing, in a few words. Call before the
// application object is created.
std::string MissingDisplay();

// Whether the process can still take `bytes` of address space and, with those held, start a
// thread. A program passes what its toolkit and start-up take beyond what it holds when main
// begins, with a margin: under `ulimit -v`, with less they fail in ways that cannot be caught
// (an abort in a library, or a wait for a thread that was never started).
bool RoomToStart(std::size_t bytes);

}  // namespace platform
