#include "platform/command_line.h"

namespace platform {

namespace {
bool IsSeparator(char c) { return c == ' ' || c == '\t'; }
}  // namespace

// The Microsoft C runtime's rules for everything after the program name:
//  - blanks and tabs outside double quotes separate arguments;
//  - 2n backslashes before a quote give n backslashes, and the quote opens or closes a quoted run;
//  - 2n+1 backslashes before a quote give n backslashes and a literal quote;
//  - backslashes anywhere else are literal;
//  - inside a quoted run, "" gives a literal quote and the run goes on (the runtime's behaviour
//    since 2008; the older runtime and CommandLineToArgvW end the run there instead);
//  - an unterminated quoted run goes to the end of the text;
//  - an argument that is only quotes, such as "", is kept as an empty argument.
// The text ends at a NUL byte, as the C string the shell would have passed.
std::vector<std::string> SplitCommandLine(std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::vector<std::string> arguments;
  std::size_t i = 0;
  for (;;) {
    while (i < text.size() && IsSeparator(text[i])) ++i;
    if (i == text.size()) break;
    std::string argument;
    bool quoted = false;
    while (i < text.size()) {
      std::size_t backslashes = 0;
      while (i < text.size() && text[i] == '\\') {
        ++backslashes;
        ++i;
      }
      if (i < text.size() && text[i] == '"') {
        argument.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          argument += '"';
          ++i;
        } else if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
          argument += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
        continue;
      }
      argument.append(backslashes, '\\');
      if (i == text.size() || (!quoted && IsSeparator(text[i]))) break;
      argument += text[i++];
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

std::string QuoteArgument(std::string_view name) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : name) {
    if (c == '\\') {
      ++backslashes;
    } else {
      // Backslashes count only in front of a quote: double them there and escape the quote.
      if (c == '"') quoted.append(backslashes + 1, '\\');
      backslashes = 0;
    }
    quoted += c;
  }
  quoted.append(backslashes, '\\');  // the closing quote must stay a closing quote
  return quoted + "\"";
}

}  // namespace platform
