#pragma once
// Small numeric rules shared by the window's sizing, the media report and the file decoders.
#include <cstdint>
#include <string_view>

namespace platform {

// Rounds to the nearest whole number, exact halves to the even neighbour (12.5 -> 12, 13.5 -> 14,
// -2.5 -> -2), independently of the floating-point environment. Not-finite values come back
// unchanged.
double RoundHalfEven(double value);

// Little-endian unsigned values at byte offset `at` of `bytes`; 0 when the bytes are not all
// there, so a short or damaged header reads as zeros and never past its end.
std::uint16_t LittleEndian16(std::string_view bytes, std::size_t at);
std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at);

}  // namespace platform
