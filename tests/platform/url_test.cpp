// What reaches the URL opener: the URL's own bytes, percent-encoded where a URL cannot carry them.
#include <gtest/gtest.h>

#include "platform/url.h"

namespace {

// The three encoders, each on the texts that tell its rule from the others'.
TEST(PercentEncoding, Table) {
  using Encoder = std::string (*)(std::string_view);
  const Encoder url = platform::EncodeUrlBytes, query = platform::EncodeQueryValue, file = platform::FileUrlOf;
  struct Row {
    Encoder encode;
    std::string text, encoded;
  };
  const Row rows[] = {
      {url, "http://h/find?q=Ka\xFE Test&x#y", "http://h/find?q=Ka%FE%20Test&x#y"},
      {url, "http://h/a?b=c&d=e+f#g", "http://h/a?b=c&d=e+f#g"},
      {url, "http://h/?q=%41%zz%4", "http://h/?q=%41%25zz%254"},  // only a complete %XX stays
      {url, std::string("http://h/?q=\t\x7f\x80\xff\0x", 18), "http://h/?q=%09%7F%80%FF%00x"},
      {url, "http://h/?q=\"<>\\^`{|}[]", "http://h/?q=%22%3C%3E%5C%5E%60%7B%7C%7D%5B%5D"},
      {url, "", ""},
      // A title's own & # + % = ? must not end or change the query value it stands in; everything
      // else is left for EncodeUrlBytes, so the address reads as before.
      {query, "Tom & Jerry #2 A+B", "Tom %26 Jerry %232 A%2BB"},
      {query, "%41=?x", "%2541%3D%3Fx"},
      {query, "Ka\xFE Test/:;", "Ka\xFE Test/:;"},
      {query, "", ""},
      // Every byte outside the unreserved set; a path's % is never taken as an escape.
      {file, "/a b/%#?\xc7\x7f-_.~x.avi", "file:///a%20b/%25%23%3F%C7%7F-_.~x.avi"},
      {file, "/%41", "file:///%2541"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.text));
    EXPECT_EQ(row.encode(row.text), row.encoded);
  }
  // What the browser then gets: the title survives whole, and the site decodes "%41" as "%41".
  EXPECT_EQ(platform::EncodeUrlBytes("http://h/?t=" + platform::EncodeQueryValue("Tom & Jerry %41") + "&x=1"),
            "http://h/?t=Tom%20%26%20Jerry%20%2541&x=1");
}

// A bus address's values are decoded whole or not at all: a stray % makes the address invalid.
TEST(PercentDecode, Table) {
  const std::optional<std::string> invalid;
  const std::pair<std::string, std::optional<std::string>> rows[] = {
      {"/run/user/1000/bus", "/run/user/1000/bus"}, {"a%2Fb%2c%25", "a/b,%"}, {"%00x", std::string("\0x", 2)},
      {"", ""}, {"%", invalid}, {"ab%4", invalid}, {"%zz", invalid}, {"%4g1", invalid},
  };
  for (const auto& [text, decoded] : rows) {
    SCOPED_TRACE(text);
    EXPECT_EQ(platform::PercentDecode(text), decoded);
  }
}

}  // namespace
