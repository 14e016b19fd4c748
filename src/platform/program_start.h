#pragma once
// What every system's hand-over to the shell's "open" verb has in common.
#include <cstddef>
#include <string_view>

namespace platform {

// Program paths, parameter texts and web addresses go to the shell in buffers of 256 bytes with
// the terminator, as the players and the discs were made for.
inline constexpr std::size_t kShellTextMax = 255;

// Whether `text` can be handed over whole: at most kShellTextMax bytes and no NUL byte (which
// would end it early). A longer text is refused, never cut: a cut parameter text names another
// file or leaves a quote open, and a cut address opens another search.
bool FitsShellBuffer(std::string_view text);

}  // namespace platform
