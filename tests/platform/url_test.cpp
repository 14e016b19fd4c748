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

// A title's own & # + % = ? must not end or change the query value it stands in; everything else
// is left for EncodeUrlBytes, so the address reads as before.
TEST(EncodeQueryValue, Table) {
  struct Row {
    std::string value, encoded;
  };
  const Row rows[] = {
      {"Tom & Jerry #2 A+B", "Tom %26 Jerry %232 A%2BB"},
      {"%41=?x", "%2541%3D%3Fx"},
      {"Ka\xFE Test/:;", "Ka\xFE Test/:;"},
      {"", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(platform::EncodeQueryValue(row.value), row.encoded);
  }
  // What the browser then gets: the title survives whole, and the site decodes "%41" as "%41".
  EXPECT_EQ(platform::EncodeUrlBytes("http://h/?t=" + platform::EncodeQueryValue("Tom & Jerry %41") + "&x=1"),
            "http://h/?t=Tom%20%26%20Jerry%20%2541&x=1");
}

TEST(FileUrlOf, EncodesEveryByteOutsideTheUnreservedSet) {
  EXPECT_EQ(platform::FileUrlOf("/a b/%#?\xc7\x7f-_.~x.avi"), "file:///a%20b/%25%23%3F%C7%7F-_.~x.avi");
  EXPECT_EQ(platform::FileUrlOf("/%41"), "file:///%2541");  // a path's % is never taken as an escape
}

}  // namespace
