#include "platform/numbers.h"

#include <cmath>

namespace platform {

namespace {

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t size) {
  if (at > bytes.size() || bytes.size() - at < size) return 0;
  std::uint32_t value = 0;
  for (std::size_t i = size; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  if (std::fabs(value - std::trunc(value)) == 0.5) return 2.0 * std::round(value / 2.0);
  return std::round(value);
}

std::uint16_t LittleEndian16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(LittleEndian(bytes, at, 2));
}

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) { return LittleEndian(bytes, at, 4); }

}  // namespace platform
