// The parameter text reaches the player as the Windows C runtime would have split it.
#include <gtest/gtest.h>

#include "platform/command_line.h"

namespace {

TEST(SplitCommandLine, Table) {
  using Args = std::vector<std::string>;
  struct Row {
    std::string text;
    Args args;
  };
  const Row rows[] = {
      {"", {}},
      {"   \t ", {}},
      {"a b", {"a", "b"}},
      {"  a \t b  ", {"a", "b"}},
      {"\"Film.avi\" \"Film.srt\" /A /F /P31", {"Film.avi", "Film.srt", "/A", "/F", "/P31"}},
      {"\"Film.avi\"  /A", {"Film.avi", "/A"}},             // two blanks are one separator
      {"\"My Film.avi\"", {"My Film.avi"}},
      {"\"D:\\\\Film.avi\" \"\"/A /F /P11", {"D:\\\\Film.avi", "/A", "/F", "/P11"}},
      {"\"a\" \"\" b", {"a", "", "b"}},                    // an empty quoted argument stays
      {"\"\"", {""}},
      {"\"\" \"\"", {"", ""}},
      {"a\"b c\"d", {"ab cd"}},                            // quotes group inside a word
      {"\"Film.avi\"x", {"Film.avix"}},
      {"\"unterminated run", {"unterminated run"}},
      {"\"", {""}},
      {"a\\b\\\\c", {"a\\b\\\\c"}},                        // backslashes not before a quote
      {"a\\", {"a\\"}},
      {"\"dir\\\\\"", {"dir\\"}},                          // 2n backslashes + quote: n, quote closes
      {"a\\\"b", {"a\"b"}},                                // 2n+1: n and a literal quote
      {"a\\\\\\\"b", {"a\\\"b"}},
      {"\"a\\\\\\\"b c\"", {"a\\\"b c"}},
      {"\"a\"\"b\" c", {"a\"b", "c"}},                     // "" inside a run: quote, run goes on
      {"\"a\"\" b\"", {"a\" b"}},
      {"a\"\"b", {"ab"}},                                  // outside a run: open and close
      {"Tom & Jerry $HOME `id` ;|*?", {"Tom", "&", "Jerry", "$HOME", "`id`", ";|*?"}},
      {"\"Tom & Jerry's $HOME.avi\"", {"Tom & Jerry's $HOME.avi"}},
      {"'single quotes' stay", {"'single", "quotes'", "stay"}},
      {"a\nb\rc", {"a\nb\rc"}},                            // only blank and tab separate
      {std::string("a b\0c d", 7), {"a", "b"}},            // the text ends at NUL
      {"\xc7ocuk \"\xfe\xfd.avi\"", {"\xc7ocuk", "\xfe\xfd.avi"}},  // bytes pass unchanged
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.text));
    EXPECT_EQ(platform::SplitCommandLine(row.text), row.args);
  }
}

// Every name reaches the player as one argument, whatever it holds.
TEST(QuoteArgument, SplitsBackIntoTheSameName) {
  const std::string names[] = {"Film.avi", "My Film & Co.avi", "a\"b.avi", "\"quoted\".avi", "back\\slash.avi",
                               "two\\\\\"q.avi", "ends in\\", "ends in\\\\", "", "caf\xE9 \x81.avi"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::vector<std::string> arguments = platform::SplitCommandLine(platform::QuoteArgument(name));
    ASSERT_EQ(arguments.size(), 1u);
    EXPECT_EQ(arguments.front(), name);
  }
  // Names without a double quote, which is every name a disc can carry, are only enclosed.
  EXPECT_EQ(platform::QuoteArgument("C\\dir\\Film.avi"), "\"C\\dir\\Film.avi\"");
  EXPECT_EQ(platform::QuoteArgument("a\"b"), "\"a\\\"b\"");
  EXPECT_EQ(platform::QuoteArgument("end\\"), "\"end\\\\\"");
}

}  // namespace
