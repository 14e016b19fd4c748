#include "platform/exec_line_linux.h"

#include <string_view>

namespace platform {

namespace {

// The quotes a shell reading `text` would be in at its end: 0, '\'' or '"'; `escaping` when the
// text ends in a backslash that escapes what follows.
char ShellQuoteAtEnd(std::string_view text, bool& escaping) {
  char quote = 0;
  escaping = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote == '\'') {
      if (c == '\'') quote = 0;
    } else if (c == '\\') {
      escaping = ++i == text.size();
    } else if (quote == '"') {
      if (c == '"') quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    }
  }
  return quote;
}

// `value` written after `text` so that a shell reading the whole reads back `value` and nothing
// else: a quoted argument of an Exec line is usually a script (sh -c "player %f"), and a name
// in it must never become code, whatever quotes the script itself put around the field code.
std::string ShellText(std::string_view text, const std::string& value) {
  bool escaping = false;
  const char quote = ShellQuoteAtEnd(text, escaping);
  std::string out = escaping ? "\\" : "";  // the script's stray backslash takes this one
  if (quote == 0) return out + ShellQuote(value);
  for (const char c : value) {
    if (quote == '\'' && c == '\'') out += "'\\''";
    else if (quote == '"' && std::string_view("\"$`\\").find(c) != std::string_view::npos) out += std::string("\\") + c;
    else out += c;
  }
  return out;
}

// The words a field code stands for; `fileGiven` notes a file code.
std::vector<std::string> FieldCode(char code, const FieldValues& values, bool& fileGiven) {
  switch (code) {
    case 'f': case 'F': fileGiven = true; return {values.path};
    case 'u': case 'U': fileGiven = true; return {values.url};
    case 'i': return values.icon.empty() ? std::vector<std::string>{} : std::vector<std::string>{"--icon", values.icon};
    case 'c': return values.name.empty() ? std::vector<std::string>{} : std::vector<std::string>{values.name};
    case 'k': return values.file.empty() ? std::vector<std::string>{} : std::vector<std::string>{values.file};
    default: return {};  // %d %D %n %N %v %m are deprecated and give nothing
  }
}

}  // namespace

std::optional<std::vector<std::string>> SplitExec(const std::string& exec, const FieldValues& values,
                                                  bool& fileGiven) {
  std::vector<std::string> words;
  std::string word;
  bool started = false;
  char quote = 0;  // the quote an argument is open in
  const auto endWord = [&] {
    if (started) words.push_back(std::move(word));
    word.clear();
    started = false;
  };
  for (std::size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    const bool hasNext = i + 1 < exec.size();
    if (c == '%' && hasNext) {
      const char code = exec[++i];
      if (code == '%') {
        word += '%';
        started = true;
        continue;
      }
      const std::vector<std::string> pieces = FieldCode(code, values, fileGiven);
      for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (quote) {
          if (p > 0) word += ' ';
          word += ShellText(word, pieces[p]);
        } else {
          if (p > 0) endWord();
          word += pieces[p];
          started = true;
        }
      }
    } else if (quote == '\'') {
      if (c == '\'') quote = 0;
      else word += c;
    } else if (quote == '"') {
      if (c == '"') {
        quote = 0;
      } else if (c == '\\' && hasNext && std::string_view("\"`$\\\n").find(exec[i + 1]) != std::string_view::npos) {
        if (exec[++i] != '\n') word += exec[i];
      } else {
        word += c;
      }
    } else if (c == ' ' || c == '\t' || c == '\n') {
      endWord();
    } else if (c == '\\' && hasNext) {
      if (exec[++i] != '\n') {  // a backslash at a line's end only joins the lines
        word += exec[i];
        started = true;
      }
    } else {
      if (c == '"' || c == '\'') quote = c;
      else word += c;
      started = true;
    }
  }
  if (quote) return std::nullopt;
  endWord();
  return words;
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace platform
