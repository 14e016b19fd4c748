// Rounding and little-endian reads shared by the window's sizing, the report and the decoders.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/numbers.h"

namespace {

TEST(RoundHalfEven, Table) {
  const double inf = std::numeric_limits<double>::infinity();
  const double rows[][2] = {{12.4, 12},   {12.5, 12},   {13.5, 14}, {59.5, 60},  {0.5, 0},
                            {1.5, 2},     {-0.5, 0},    {-2.5, -2}, {-3.5, -4},  {59.49, 59},
                            {2.5000000000000004, 3},    {12.399999999999636, 12},
                            {4503599627370494.5, 4503599627370494},  // halves up to 2^52 still exist
                            {inf, inf}, {-inf, -inf}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row[0]));
    EXPECT_EQ(platform::RoundHalfEven(row[0]), row[1]);
  }
  EXPECT_TRUE(std::isnan(platform::RoundHalfEven(std::nan(""))));
}

// Every offset of a short buffer, up to and past its end: reads inside give the bytes in
// little-endian order, a read that would run past the end gives 0.
TEST(LittleEndian, EveryOffsetOfAShortBuffer) {
  const std::string bytes("\x01\x02\x03\x04\xff\x80", 6);
  const std::uint32_t expected32[] = {0x04030201, 0xff040302, 0x80ff0403};
  const std::uint16_t expected16[] = {0x0201, 0x0302, 0x0403, 0xff04, 0x80ff};
  for (std::size_t at = 0; at <= bytes.size() + 2; ++at) {
    SCOPED_TRACE(at);
    EXPECT_EQ(platform::LittleEndian32(bytes, at), at < 3 ? expected32[at] : 0u);
    EXPECT_EQ(platform::LittleEndian16(bytes, at), at < 5 ? expected16[at] : 0u);
  }
  EXPECT_EQ(platform::LittleEndian32(bytes, std::string::npos), 0u);
  EXPECT_EQ(platform::LittleEndian16(std::string_view(), 0), 0u);
}

}  // namespace
