#include "media/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace media {
namespace {

constexpr int kSignificantDigits = 15;

// A non-negative finite value as decimal digits and the number of them that stand before the
// point: 699.456 is {"699456000000000", 3}, 0.05 is {"500000000000000", -1}.
struct Decimal {
  std::string digits;
  int pointAt = 0;
};

Decimal ToDecimal(double magnitude) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, magnitude);
  // "d.dddddddddddddde+XX"
  Decimal decimal;
  const char* p = buffer;
  for (; *p != 'e' && *p != '\0'; ++p) {
    if (*p >= '0' && *p <= '9') decimal.digits.push_back(*p);
  }
  const int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
  decimal.pointAt = exponent + 1;
  return decimal;
}

// Keeps `decimals` digits after the point, rounding half away from zero on the decimal digits.
void RoundTo(Decimal& decimal, int decimals) {
  const long keep = static_cast<long>(decimal.pointAt) + decimals;
  if (keep >= static_cast<long>(decimal.digits.size())) return;
  if (keep < 0) {
    decimal = Decimal{"", 0};
    return;
  }
  const bool up = decimal.digits[static_cast<std::size_t>(keep)] >= '5';
  decimal.digits.resize(static_cast<std::size_t>(keep));
  if (!up) return;
  std::size_t i = decimal.digits.size();
  while (i > 0 && decimal.digits[i - 1] == '9') decimal.digits[--i] = '0';
  if (i > 0) {
    ++decimal.digits[i - 1];
  } else {
    decimal.digits.insert(decimal.digits.begin(), '1');  // 9.99 -> 10.0, or "" -> 1
    ++decimal.pointAt;
  }
}

// The digit at position `index` counted from the first stored digit; zeros outside them.
char DigitAt(const Decimal& decimal, long index) {
  if (index < 0 || index >= static_cast<long>(decimal.digits.size())) return '0';
  return decimal.digits[static_cast<std::size_t>(index)];
}

std::string WriteNumber(double value, int decimals, char decimalSeparator) {
  if (!std::isfinite(value)) value = 0;
  Decimal decimal = ToDecimal(std::fabs(value));
  RoundTo(decimal, decimals);

  std::string integerPart;
  for (long i = 0; i < decimal.pointAt; ++i) {
    const char digit = DigitAt(decimal, i);
    if (integerPart.empty() && digit == '0') continue;  // no leading zeros, and none for 0
    integerPart.push_back(digit);
  }
  std::string fraction;
  for (long i = decimal.pointAt; i < static_cast<long>(decimal.pointAt) + decimals; ++i) {
    fraction.push_back(DigitAt(decimal, i));
  }
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();

  std::string text;
  if (value < 0 && !(integerPart.empty() && fraction.empty())) text.push_back('-');
  text += integerPart;
  if (!fraction.empty()) {
    text.push_back(decimalSeparator);
    text += fraction;
  }
  return text;
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern, char decimalSeparator) {
  const std::size_t start = pattern.find('#');
  if (start == std::string_view::npos) return std::string(pattern);
  std::size_t end = start;
  while (end < pattern.size() && pattern[end] == '#') ++end;
  int decimals = 0;
  if (end + 1 < pattern.size() && pattern[end] == '.' && pattern[end + 1] == '#') {
    ++end;
    while (end < pattern.size() && pattern[end] == '#') {
      ++decimals;
      ++end;
    }
  }
  return std::string(pattern.substr(0, start)) + WriteNumber(value, decimals, decimalSeparator) +
         std::string(pattern.substr(end));
}

}  // namespace media
