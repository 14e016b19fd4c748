// What reaches the URL opener: the URL's own bytes, percent-encoded where a URL cannot carry them.
#include <gtest/gtest.h>

#include "platform/url.h"

namespace {

TEST(EncodeUrlBytes, Table) {
  struct Row {
    std::string url, encoded;
  };
  const Row rows[] = {
      {"http://h/find?q=Ka\xFE Test&x#y", "http://h/find?q=Ka%FE%20Test&x#y"},
      {"http://h/a?b=c&d=e+f#g", "http://h/a?b=c&d=e+f#g"},
      {"http://h/?q=%41%zz%4", "http://h/?q=%41%25zz%254"},  // only a complete %XX stays
      {std::string("http://h/?q=\t\x7f\x80\xff\0x", 18), "http://h/?q=%09%7F%80%FF%00x"},
      {"http://h/?q=\"<>\\^`{|}[]", "http://h/?q=%22%3C%3E%5C%5E%60%7B%7C%7D%5B%5D"},
      {"", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.url));
    EXPECT_EQ(platform::EncodeUrlBytes(row.url), row.encoded);
  }
}

}  // namespace
