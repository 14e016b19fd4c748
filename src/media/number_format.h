#pragma once
// Numbers as the media report shows them, written with small "#" patterns such as "#.## MB".
#include <string>
#include <string_view>

namespace media {

// Writes `value` into `pattern`. The pattern holds one number made of "#" signs, optionally with a
// "." and N more "#" signs; every other character is copied as it stands.
//  - The integer part is written without leading zeros or grouping: an integer part of 0 writes no
//    digit at all (0.5 with "#.##" gives ".5", 0 with "# min" gives " min").
//  - At most N decimals: trailing zeros are dropped, and the separator too when none remain.
//  - Rounding: the value is first taken to 15 significant digits (what a double holds reliably, so
//    2.675 counts as 2.675 and not as 2.67499999...), then rounded half away from zero to N
//    decimals; N is 0 without a ".".
//  - A negative value gets a leading minus, unless it rounds to zero.
//  - A value that is not finite (a division by zero upstream) is written as 0.
std::string FormatNumber(double value, std::string_view pattern, char decimalSeparator);

}  // namespace media
