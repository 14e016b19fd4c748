// Disc text to display text: the UTF-8 test and the three single-byte code pages.
#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::CodePage;

// The boundaries where the classic shortcuts (any byte from C0 up starts two, from F0 up four)
// go wrong: C0 and C1 only start overlong forms, F5 and above lie beyond U+10FFFF.
TEST(Utf8SequenceLength, Boundaries) {
  const int rows[][2] = {{0x00, 1}, {0x7F, 1}, {0x80, 0}, {0xBF, 0}, {0xC0, 0}, {0xC1, 0}, {0xC2, 2},
                         {0xDF, 2}, {0xE0, 3}, {0xEF, 3}, {0xF0, 4}, {0xF4, 4}, {0xF5, 0}, {0xFF, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row[0]);
    EXPECT_EQ(platform::Utf8SequenceLength(static_cast<unsigned char>(row[0])), row[1]);
  }
}

TEST(IsValidUtf8, AcceptsExactlyTheWellFormedSequences) {
  const struct {
    const char* name;
    std::string bytes;
    bool valid;
  } rows[] = {
      {"empty", "", true},
      {"ASCII with controls", std::string("a\tb\r\n\0c", 7), true},
      {"U+0080", "\xC2\x80", true},
      {"U+07FF", "\xDF\xBF", true},
      {"U+0800", "\xE0\xA0\x80", true},
      {"U+D7FF before the surrogates", "\xED\x9F\xBF", true},
      {"U+E000 after the surrogates", "\xEE\x80\x80", true},
      {"U+FFFD itself", "\xEF\xBF\xBD", true},
      {"U+10000", "\xF0\x90\x80\x80", true},
      {"U+10FFFF", "\xF4\x8F\xBF\xBF", true},
      {"overlong NUL", "\xC0\x80", false},
      {"overlong slash", "\xC1\xAF", false},
      {"overlong three bytes", "\xE0\x9F\xBF", false},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", false},
      {"high surrogate", "\xED\xA0\x80", false},
      {"low surrogate", "\xED\xBF\xBF", false},
      {"U+110000", "\xF4\x90\x80\x80", false},
      {"F5 lead", "\xF5\x80\x80\x80", false},
      {"FF byte", "\xFF", false},
      {"lone continuation", "\x80", false},
      {"cut at the end", "ok\xE2\x95", false},
      {"ASCII where a continuation belongs", "\xE2\x95Z", false},
      {"CP1252 text", "caf\xE9", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(platform::IsValidUtf8(row.bytes), row.valid);
  }
}

// Every sequence of up to three bytes, against Qt's UTF-8 codec: a sequence is valid exactly when
// it survives a round trip (Qt replaces whatever it cannot decode).
TEST(IsValidUtf8, AgreesWithQtOnEveryShortSequence) {
  std::string bytes;
  auto check = [&] {
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const bool roundTrips = QString::fromUtf8(raw).toUtf8() == raw;
    if (platform::IsValidUtf8(bytes) != roundTrips)
      ADD_FAILURE() << "bytes " << QByteArray(raw).toHex(' ').toStdString();
  };
  for (int a = 0; a < 256; ++a) {
    bytes.assign(1, static_cast<char>(a));
    check();
    for (int b = 0x70; b < 0xD0; ++b) {
      bytes.assign({static_cast<char>(a), static_cast<char>(b)});
      check();
      if (a < 0xE0) continue;
      for (int c = 0x70; c < 0xD0; c += 0x0F) {
        bytes.assign({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
        check();
      }
    }
  }
}

TEST(DecodeCodePage, TheThreeTables) {
  const struct {
    const char* name;
    std::string bytes;
    CodePage page;
    const char16_t* expected;
  } rows[] = {
      {"437 box drawing", "\xC9\xCD\xBB\xBA\xC8\xBC", CodePage::Cp437, u"╔═╗║╚╝"},
      {"437 shades and blocks", "\xB0\xB1\xB2\xDB\xDC\xDF", CodePage::Cp437, u"░▒▓█▄▀"},
      {"437 letters and signs", "\x80\x81\x9B\xE1\xE3\xF8\xFD\xFF", CodePage::Cp437, u"Çü¢ßπ°²\u00A0"},
      {"1254 Turkish letters", "\xDD\xFE\xF0\xD0\xFD\xDE", CodePage::Cp1254, u"İşğĞıŞ"},
      {"1252 signs", "\x80\x85\x99\x9F", CodePage::Cp1252, u"€…™Ÿ"},
      {"1252 where 1254 has Turkish", "\xDD\xFE\xF0", CodePage::Cp1252, u"Ýþð"},
      {"undefined 1252 slots stay C1 controls", "\x81\x8D\x8F\x90\x9D", CodePage::Cp1252,
       u"\u0081\u008D\u008F\u0090\u009D"},
      {"1254 leaves Z caron undefined", "\x8E\x9E", CodePage::Cp1254, u"\u008E\u009E"},
      {"lower half is ASCII in every page", "Tab\there ~\x7F", CodePage::Cp437, u"Tab\there ~\u007F"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(platform::DecodeCodePage(row.bytes, row.page), QString::fromUtf16(row.expected));
  }
}

// What is not UTF-8 depends on the system (its ANSI code page, or the given one); UTF-8 does not.
TEST(DecodeText, ValidUtf8IsUtf8WhateverThePage) {
  for (const CodePage page : {CodePage::Cp437, CodePage::Cp1252, CodePage::Cp1254}) {
    EXPECT_EQ(platform::DecodeText("\xC4\xB0stanbul \xE2\x95\x94", page), QString::fromUtf16(u"İstanbul ╔"));
    EXPECT_EQ(platform::DecodeText("Tab\there ~", page), QStringLiteral("Tab\there ~"));
  }
}

TEST(DecodeCodePage, NeverSwitchesToUtf8) {
  EXPECT_EQ(platform::DecodeCodePage("\xC3\xA9", CodePage::Cp437), QString::fromUtf16(u"├⌐"));
  EXPECT_EQ(platform::DecodeCodePage("\xC3\xA9", CodePage::Cp1252), QString::fromUtf16(u"Ã©"));
}

// 1252's upper half above 0x9F is Latin-1, and 1254 differs from 1252 in six letters and the two
// slots where 1252 has Z caron; every byte gives exactly one character.
TEST(DecodeCodePage, TablesAgreeWhereThePagesAgree) {
  const std::u16string turkish = u"\u008E\u009E\u011E\u0130\u015E\u011F\u0131\u015F";
  const std::string turkishBytes = "\x8E\x9E\xD0\xDD\xDE\xF0\xFD\xFE";
  for (int byte = 0; byte < 256; ++byte) {
    SCOPED_TRACE(byte);
    const std::string one(1, static_cast<char>(byte));
    const QString w1252 = platform::DecodeCodePage(one, CodePage::Cp1252);
    const QString w1254 = platform::DecodeCodePage(one, CodePage::Cp1254);
    const QString d437 = platform::DecodeCodePage(one, CodePage::Cp437);
    ASSERT_EQ(w1252.size(), 1);
    ASSERT_EQ(w1254.size(), 1);
    ASSERT_EQ(d437.size(), 1);
    if (byte >= 0xA0 || byte < 0x80) {
      EXPECT_EQ(w1252[0].unicode(), byte);
    }
    if (byte >= 0x80) {
      EXPECT_NE(d437[0].unicode(), byte) << "437 has no Latin-1 identity here";
    }
    const std::size_t turkishAt = turkishBytes.find(static_cast<char>(byte));
    if (turkishAt == std::string::npos) {
      EXPECT_EQ(w1254, w1252);
    } else {
      EXPECT_EQ(w1254[0].unicode(), turkish[turkishAt]);
    }
  }
}

}  // namespace
