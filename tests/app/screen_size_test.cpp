#include "app/screen_size.h"

#include <gtest/gtest.h>

namespace app {
namespace {

// Everything the window reads from a rebuild, for one poster in one work area.
struct Rebuilt {
  int boxWidth, boxHeight;
  bool autoSize;
  int buttonsLeft, infoTop, titleTop;
  int windowWidth, windowHeight, windowLeft, windowTop;
};

struct RebuildCase {
  const char* name;
  int pw, ph;
  platform::WorkArea work;
  Rebuilt expected;
};

ScreenSizeInput Input(int pw, int ph, platform::WorkArea work) {
  ScreenSizeInput input;
  input.pictureWidth = pw;
  input.pictureHeight = ph;
  input.work = work;
  return input;
}

constexpr platform::WorkArea kScreen1024{1024, 738};  // 1024 x 768, task bar of 30 at the bottom

TEST(ComputeScreenSize, RebuildsTheWindowAroundThePoster) {
  const RebuildCase cases[] = {
      // Portrait that fits: auto-size wins over the computed 267 x 400.
      {"400x600", 400, 600, kScreen1024, {400, 600, true, 429, 595, 641, 536, 671, 244, 34}},
      // Too wide for auto-size; brought under the maximum height 615.
      {"1000x1400", 1000, 1400, kScreen1024, {439, 615, false, 468, 610, 656, 575, 686, 224, 26}},
      // Landscape: as wide as allowed (887), height 590.96 rounds to 591.
      {"1200x800", 1200, 800, kScreen1024, {887, 591, false, 916, 586, 632, 1023, 662, 0, 38}},
      {"800x500", 800, 500, kScreen1024, {800, 500, true, 829, 495, 541, 936, 571, 44, 84}},
      // The smallest poster that passes both thresholds.
      {"251x351", 251, 351, kScreen1024, {251, 351, true, 280, 346, 392, 387, 422, 318, 158}},
      // A wide work area keeps auto-size on for a large landscape poster, limited to the maximum
      // width 1143: the window grows past the strip picture's 1024 pixels.
      {"wide work area", 1200, 800, {1280, 1024}, {1143, 800, true, 1172, 795, 841, 1279, 871, 0, 77}},
      // A low work area: maximum height 277, width 277 * 267 / 400 = 184.9.
      {"low work area", 400, 600, {1024, 400}, {185, 277, false, 214, 272, 318, 321, 348, 351, 26}},
      // 887 x 1573 / 1774 is exactly 786.5, which rounds to the even 786.
      {"exact half", 2001, 1774, {1024, 1000}, {887, 786, false, 916, 781, 827, 1023, 857, 0, 72}},
      // Square poster too tall for auto-size: the landscape rule (pw >= ph), then the height limit.
      {"square 720", 720, 720, kScreen1024, {615, 615, false, 644, 610, 656, 751, 686, 136, 26}},
  };
  for (const RebuildCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ScreenSizeResult r = ComputeScreenSize(Input(c.pw, c.ph, c.work));
    const Rebuilt& e = c.expected;
    ASSERT_TRUE(r.applied);
    EXPECT_EQ(r.box.width, e.boxWidth);
    EXPECT_EQ(r.box.height, e.boxHeight);
    EXPECT_EQ(r.box.autoSize, e.autoSize);
    EXPECT_TRUE(r.box.stretched);
    EXPECT_TRUE(r.box.proportional);
    EXPECT_TRUE(r.box.centred);
    EXPECT_EQ(r.box.maxWidth, c.work.right - 137);
    EXPECT_EQ(r.box.maxHeight, c.work.bottom - 123);
    EXPECT_EQ(r.buttonsLeft, e.buttonsLeft);
    EXPECT_EQ(r.infoTop, e.infoTop);
    EXPECT_EQ(r.titleTop, e.titleTop);
    EXPECT_EQ(r.windowWidth, e.windowWidth);
    EXPECT_EQ(r.windowHeight, e.windowHeight);
    EXPECT_EQ(r.windowLeft, e.windowLeft);
    EXPECT_EQ(r.windowTop, e.windowTop);
    // The pieces that follow from the window's width and the title's top.
    EXPECT_EQ(r.stripWidth, e.windowWidth - 2);
    EXPECT_EQ(r.closeLeft, e.windowWidth - 22);
    EXPECT_EQ(r.plateLeft, (e.windowWidth - 66) / 2);
    EXPECT_EQ(r.titleWidth, e.windowWidth - 20);
    EXPECT_EQ(r.title2Left, 4);
    EXPECT_EQ(r.title2Top, e.titleTop - 1);
    EXPECT_EQ(r.memo.left, 14);
    EXPECT_EQ(r.memo.top, 36);
    EXPECT_EQ(r.memo.width, e.boxWidth);
    EXPECT_EQ(r.memo.height, e.boxHeight);
    // The window stays inside the work area.
    EXPECT_GE(r.windowLeft, 0);
    EXPECT_GE(r.windowTop, 0);
    EXPECT_LE(r.windowLeft + r.windowWidth, c.work.right);
    EXPECT_LE(r.windowTop + r.windowHeight, c.work.bottom);
  }
}

TEST(ComputeScreenSize, SmallPostersOnlyScaleIntoTheBox) {
  struct Case {
    const char* name;
    int pw, ph;
    int boxWidth, boxHeight;
  } const cases[] = {
      {"300x300: not taller than 350", 300, 300, 240, 350},
      {"1000x350: height decides first", 1000, 350, 240, 350},
      {"200x500: narrow, the box takes the height", 200, 500, 240, 500},
      {"250x2000: narrow, height limited to 500", 250, 2000, 240, 500},
      {"0x0: no picture", 0, 0, 240, 350},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ScreenSizeResult r = ComputeScreenSize(Input(c.pw, c.ph, kScreen1024));
    EXPECT_FALSE(r.applied);
    EXPECT_EQ(r.box.width, c.boxWidth);
    EXPECT_EQ(r.box.height, c.boxHeight);
    EXPECT_TRUE(r.box.stretched);
    EXPECT_TRUE(r.box.proportional);
    EXPECT_FALSE(r.box.autoSize);
    EXPECT_EQ(r.box.maxWidth, 600);
    EXPECT_EQ(r.box.maxHeight, 500);
  }
}

TEST(ComputeScreenSize, ReadsTheControlSizesAsTheyStand) {
  ScreenSizeInput input = Input(400, 600, kScreen1024);
  input.startWidth = 120;
  input.startHeight = 50;  // maximum height 738 - 150 = 588 < 600
  input.infoHeight = 30;
  input.closeButtonWidth = 25;
  input.plateWidth = 80;
  input.titleLeft = 10;
  const ScreenSizeResult r = ComputeScreenSize(input);
  ASSERT_TRUE(r.applied);
  EXPECT_EQ(r.box.maxWidth, 1024 - 160);
  EXPECT_EQ(r.box.maxHeight, 588);
  EXPECT_EQ(r.box.height, 588);
  EXPECT_EQ(r.box.width, 400);  // auto-size still on: natural width
  EXPECT_EQ(r.infoTop, 36 + 588 - 30);
  EXPECT_EQ(r.stripWidth, 14 + 400 + 15 + 120 + 8);
  EXPECT_EQ(r.closeLeft, r.stripWidth - 26);
  EXPECT_EQ(r.plateLeft, (r.windowWidth - 80) / 2);
  EXPECT_EQ(r.title2Left, 8);
}

TEST(ComputeScreenSize, TinyWorkAreaKeepsAOnePixelLimit) {
  // 3 x 41 > 100 would give a negative maximum, and 0 would lift the limit altogether.
  const ScreenSizeResult r = ComputeScreenSize(Input(400, 600, {100, 100}));
  ASSERT_TRUE(r.applied);
  EXPECT_EQ(r.box.maxWidth, 1);
  EXPECT_EQ(r.box.maxHeight, 1);
  EXPECT_EQ(r.box.width, 1);
  EXPECT_EQ(r.box.height, 1);
}

TEST(ComputeScreenSize, HugePictureSizesDoNotOverflow) {
  const ScreenSizeResult r = ComputeScreenSize(Input(2147483647, 2147483647, kScreen1024));
  ASSERT_TRUE(r.applied);
  EXPECT_FALSE(r.box.autoSize);
  EXPECT_EQ(r.box.width, 615);
  EXPECT_EQ(r.box.height, 615);
}

TEST(LayoutTitleStrip, PlacesStripCloseButtonAndPlate) {
  struct Case {
    int windowWidth;
    StripLayout expected;
  } const cases[] = {
      {385, {1, 383, 363, 159}},
      {536, {1, 534, 514, 235}},
      {387, {1, 385, 365, 160}},  // odd remainder truncated
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.windowWidth);
    const StripLayout s = LayoutTitleStrip(c.windowWidth);
    EXPECT_EQ(s.stripLeft, c.expected.stripLeft);
    EXPECT_EQ(s.stripWidth, c.expected.stripWidth);
    EXPECT_EQ(s.closeLeft, c.expected.closeLeft);
    EXPECT_EQ(s.plateLeft, c.expected.plateLeft);
  }
}

TEST(CentreOnScreen, CentresTwentyFivePixelsAboveTheMiddle) {
  EXPECT_EQ(CentreOnScreen(385, 425, 1024, 768), std::make_pair(319, 146));
  EXPECT_EQ(CentreOnScreen(385, 425, 1280, 1024), std::make_pair(447, 274));
  // A screen smaller than the window: div truncates toward zero.
  EXPECT_EQ(CentreOnScreen(385, 425, 300, 400), std::make_pair(-42, -37));
}

// The window at scale 2 on a 1024 by 768 screen (512 by 384 in layout pixels) would start 45
// pixels above it, its title strip out of reach.
TEST(KeepOnWorkArea, MovesOnlyWhatLiesAboveOrLeftOfTheWorkArea) {
  struct Row {
    int left, top;
    platform::WorkArea work;
    std::pair<int, int> expected;
  };
  const Row rows[] = {
      {-63, -45, {512, 384}, {0, 0}},
      {63, -45, {512, 384}, {63, 0}},
      {-1, 10, {512, 384}, {0, 10}},
      {319, 146, {1024, 738}, {319, 146}},          // the usual place stays
      {900, 700, {1024, 738}, {900, 700}},          // past the right and bottom: left as placed
      {10, 10, {1280, 1024, 64, 27}, {64, 27}},     // a panel on the left and one at the top
      {100, 40, {1280, 1024, 64, 27}, {100, 40}},
      {-5000, -5000, {1024, 768, -1024, 0}, {-1024, 0}},  // a work area starting on a left screen
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.left) + "," + std::to_string(row.top));
    EXPECT_EQ(KeepOnWorkArea(row.left, row.top, row.work), row.expected);
  }
}

}  // namespace
}  // namespace app
