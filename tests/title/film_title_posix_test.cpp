// Without an ANSI code page, an 8-bit title is shown as code page 1254 (the discs are Turkish).
#include <gtest/gtest.h>

#include "title/film_title.h"

namespace {

TEST(TitleDisplay, EightBitTitlesAreTurkish) {
  // 0xDD is capital I with dot, 0xFE small s with cedilla.
  EXPECT_EQ(title::TitleDisplayText("\xDDStanbul"), QStringLiteral("\u0130Stanbul"));
  EXPECT_EQ(title::TitleDisplayText("G\xFCne\xFE"), QStringLiteral("G\u00FCne\u015F"));
}

}  // namespace
