#include "media/codecs.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(CodecTables, HoldTheStoredPairsInOrder) {
  const auto video = media::VideoCodecNames();
  const auto audio = media::AudioFormatNames();
  ASSERT_EQ(video.size(), 138u);
  ASSERT_EQ(audio.size(), 129u);
  // First and last pairs: a generator that dropped or reordered lines would move them.
  EXPECT_EQ(video.front().key, "3IVX");
  EXPECT_EQ(video.front().description, "3ivx MPEG4-based codec.");
  EXPECT_EQ(video.back().key, "YU92");
  EXPECT_EQ(video.back().description, "Intel - YUV");
  EXPECT_EQ(audio.front().key, "0");
  EXPECT_EQ(audio.back().key, "8192");
  EXPECT_EQ(audio.back().description, "AC3-Digital");

  std::set<std::string_view> videoKeys, audioKeys;
  int blankEnded = 0;
  for (const media::CodecName& pair : video) {
    SCOPED_TRACE(std::string(pair.key));
    EXPECT_TRUE(videoKeys.insert(pair.key).second) << "duplicate";
    ASSERT_EQ(pair.key.size(), 4u);
    for (char c : pair.key) EXPECT_FALSE(c >= 'a' && c <= 'z');
    EXPECT_FALSE(pair.description.empty());
    if (pair.key.back() == ' ') ++blankEnded;
  }
  EXPECT_EQ(blankEnded, 4);  // "IAN ", "RLE ", "RVX ", "DIB "
  for (const media::CodecName& pair : audio) {
    SCOPED_TRACE(std::string(pair.key));
    EXPECT_TRUE(audioKeys.insert(pair.key).second) << "duplicate";
    ASSERT_FALSE(pair.key.empty());
    EXPECT_LE(pair.key.size(), 4u);
    EXPECT_TRUE(pair.key == "0" || pair.key.front() != '0');
    for (char c : pair.key) EXPECT_TRUE(c >= '0' && c <= '9');
  }
}

TEST(CodecTables, VideoCodecName) {
  struct Row {
    std::string code;
    std::string name;
  };
  const Row rows[] = {
      {"xvid", "XviD MPEG-4"},
      {"XVID", "XviD MPEG-4"},
      {"XviD", "XviD MPEG-4"},
      {"divx", "DivX 4"},
      {"DivX", "DivX 4"},
      {"DIVX", "DivX 4"},
      {"DX50", ""},
      {"DIB ", "Microsoft Uncompressed"},
      {"dib ", "Microsoft Uncompressed"},
      {"rle ", "Microsoft Run Length Encoding"},
      {std::string("RLE\0", 4), ""},
      {std::string(4, '\0'), ""},
      {"DIB", ""},    // three characters never equal a four-character key
      {"DIB  ", ""},
      {"", ""},
      {"3ivx", "3ivx MPEG4-based codec."},
      {"yu92", "Intel - YUV"},
      {"V422", "Vitec Multimedia - 24 bit YUV 4:2:2 format (CCIR 601)."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(media::VideoCodecName(row.code), row.name);
  }
  // "DIB" with any fourth character but the blank names nothing.
  for (int c = 0; c < 256; ++c) {
    if (c == ' ') continue;
    SCOPED_TRACE(c);
    EXPECT_EQ(media::VideoCodecName(std::string("DIB") + static_cast<char>(c)), "");
  }
}

TEST(CodecTables, EveryVideoKeyIsFoundInLowerCase) {
  for (const media::CodecName& pair : media::VideoCodecNames()) {
    std::string lower(pair.key);
    for (char& c : lower) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    EXPECT_EQ(media::VideoCodecName(lower), pair.description) << lower;
  }
}

TEST(CodecTables, AudioFormatName) {
  struct Row {
    std::uint16_t tag;
    std::string name;
  };
  const Row rows[] = {
      {0, "Unknown Wave"},  // a table entry, not the default text
      {1, "Microsoft PCM"},
      {85, "MPEG Layer 3"},
      {352, "MS DivX;-) Audio"},
      {353, "MS DivX;-) Audio"},
      {4352, "Lernout & Hauspie Codec"},
      {8192, "AC3-Digital"},
      {9, "Unknown (9)"},
      {255, "Unknown (255)"},
      {8193, "Unknown (8193)"},
      {65535, "Unknown (65535)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.tag);
    EXPECT_EQ(media::AudioFormatName(row.tag), row.name);
  }
}

}  // namespace
