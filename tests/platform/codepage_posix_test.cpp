// Without an ANSI code page, text that is not UTF-8 is decoded with the caller's code page.
#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace {

using platform::CodePage;

TEST(DecodeText, NotUtf8TakesTheGivenCodePage) {
  EXPECT_EQ(platform::DecodeSystemAnsi("\xDD"), std::nullopt);
  EXPECT_EQ(platform::DecodeText("\xDD\xFE\xF0", CodePage::Cp1254), QString::fromUtf16(u"İşğ"));
  EXPECT_EQ(platform::DecodeText("\xDD\xFE\xF0", CodePage::Cp1252), QString::fromUtf16(u"Ýþð"));
  EXPECT_EQ(platform::DecodeText("\xC9\xCD\xBB", CodePage::Cp437), QString::fromUtf16(u"╔═╗"));
}

}  // namespace
