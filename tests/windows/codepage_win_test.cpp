// On Windows, text that is not UTF-8 is shown in the system's ANSI code page, as the system's own
// "A" functions read it, whatever code page the portable code falls back to elsewhere.
#include <gtest/gtest.h>

#include <QString>

#include "platform/codepage.h"
#include "title/film_title.h"
#include "windows/win_support.h"

namespace {

using platform::CodePage;

// Qt's local 8-bit conversion on Windows is the ANSI code page too: a second, independent route.
TEST(DecodeTextWin, NotUtf8IsTheAnsiCodePage) {
  const char* const texts[] = {"\xDDStanbul", "G\xFCne\xFE", "caf\xE9", "\x80 5"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    const QString system = QString::fromLocal8Bit(text);
    for (const CodePage page : {CodePage::Cp437, CodePage::Cp1252, CodePage::Cp1254})
      EXPECT_EQ(platform::DecodeText(text, page), system);
    EXPECT_EQ(title::TitleDisplayText(text), system);
  }
  if (GetACP() == 1252) EXPECT_EQ(platform::DecodeText("caf\xE9", CodePage::Cp1254), QString::fromUtf16(u"café"));
  if (GetACP() == 1254) EXPECT_EQ(platform::DecodeText("\xDD", CodePage::Cp1252), QString::fromUtf16(u"İ"));
  EXPECT_EQ(platform::DecodeText("\xC4\xB0", CodePage::Cp1252), QString::fromUtf16(u"İ"));  // UTF-8 stays
}

}  // namespace
