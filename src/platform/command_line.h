#pragma once
// Parameter texts by the Windows command-line rules: quoting a name into one argument, and splitting
// a text back into arguments, so that players receive exactly what they would from the shell's
// "open" verb, without any shell in between.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::vector<std::string> SplitCommandLine(std::string_view parameters);

// Encloses a name in double quotes. A double quote inside the name, and backslashes before it or
// at the name's end, are escaped, so SplitCommandLine gives the name back whole; every other name
// (all a Windows disc can carry) is only enclosed.
std::string QuoteArgument(std::string_view name);

}  // namespace platform
