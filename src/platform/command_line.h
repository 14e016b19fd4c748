#pragma once
// Splits a parameter text into arguments by the Windows command-line rules, so that players receive
// exactly what they would from the shell's "open" verb, without any shell in between.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::vector<std::string> SplitCommandLine(std::string_view parameters);

}  // namespace platform
