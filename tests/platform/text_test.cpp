// Line splitting, the one rule behind the notes' lines and the INI editor's lines.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace {

// Each line as begin, end and next offsets: the editor relies on the break being kept out of the
// line and on `next` pointing past a CRLF pair.
TEST(LineAt, Table) {
  using Spans = std::vector<std::array<std::size_t, 3>>;
  struct Row {
    std::string text;
    Spans spans;
  };
  const Row rows[] = {
      {"a", {{0, 1, 1}}},
      {"ab\r\ncd", {{0, 2, 4}, {4, 6, 6}}},
      {"\n\r\r\n", {{0, 0, 1}, {1, 1, 2}, {2, 2, 4}}},  // LF, CR, then one CR LF
      {"x\r", {{0, 1, 2}}},
      {"\r\r", {{0, 0, 1}, {1, 1, 2}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.text));
    Spans spans;
    for (std::size_t at = 0; at < row.text.size();) {
      const platform::LineSpan line = platform::LineAt(row.text, at);
      spans.push_back({line.begin, line.end, line.next});
      ASSERT_GT(line.next, at);
      at = line.next;
    }
    EXPECT_EQ(spans, row.spans);
  }
}

TEST(SplitTextLines, Table) {
  using Lines = std::vector<std::string>;
  struct Row {
    std::string text;
    Lines lines;
    std::size_t maxLines = SIZE_MAX;
  };
  const Row rows[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\n", {"one"}},
      {"one\r\n", {"one"}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\r\rb", {"a", "", "b"}},
      {"a\n\r b", {"a", "", " b"}},          // LF CR is two breaks, not one
      {"\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {std::string("ab\0cd\nef", 8), {"ab"}},  // the text ends at NUL
      {std::string("\0abc", 4), {}},
      {"  keep  \tblanks\t", {"  keep  \tblanks\t"}},
      {"a\nb\nc", {"a", "b"}, 2},  // a reader's limit: nothing beyond it is split
      {"a\n\n", {"a", ""}, 2},
      {"a\nb", {}, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.text));
    const std::vector<std::string_view> lines = platform::SplitTextLines(row.text, row.maxLines);
    EXPECT_EQ(Lines(lines.begin(), lines.end()), row.lines);
  }
}

// A mark cut short is text, not a mark; one further in is text too.
TEST(WithoutUtf8Bom, OnlyAWholeMarkAtTheStart) {
  const std::pair<std::string_view, std::string_view> rows[] = {
      {"\xEF\xBB\xBF[Autorun]", "[Autorun]"}, {"\xEF\xBB\xBF", ""},      {"\xEF\xBB[A]", "\xEF\xBB[A]"},
      {"a\xEF\xBB\xBF", "a\xEF\xBB\xBF"},         {"", ""},
  };
  for (const auto& [text, without] : rows) {
    SCOPED_TRACE(testing::PrintToString(std::string(text)));
    EXPECT_EQ(platform::WithoutUtf8Bom(text), without);
  }
}

}  // namespace
