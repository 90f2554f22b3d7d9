#include "number_text.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

__extension__ typedef unsigned __int128 Wide;

// A binary fraction halfway between two multiples of 10^-decimals is an odd
// multiple of 2^-(decimals+1) (0.125 for hundredths); scaling by that power
// of two is exact, so this test is exact.
bool IsDecimalTie(double magnitude, int decimals, std::uint64_t* units) {
  const double scaled = std::ldexp(magnitude, decimals + 1);
  if (!(scaled < 9007199254740992.0)) {
    return false;
  }
  if (std::floor(scaled) != scaled) {
    return false;
  }
  const auto whole = static_cast<std::uint64_t>(scaled);
  if (whole % 2 == 0) {
    return false;
  }
  *units = whole;
  return true;
}

std::string FormatFixedDecimals(double value, int decimals) {
  if (std::isnan(value)) {
    return std::signbit(value) ? "-nan" : "nan";
  }
  if (std::isinf(value)) {
    return value < 0 ? "-inf" : "inf";
  }
  std::uint64_t units = 0;
  if (IsDecimalTie(std::fabs(value), decimals, &units)) {
    // units/2^(d+1) is units*5^d/2 steps of 10^-d; half up gives
    // (units*5^d + 1)/2 steps. 5^6 * 2^53 needs more than 64 bits; the whole
    // part, units/2^(d+1), and the fraction each fit in 64 again.
    std::uint64_t five = 1;
    std::uint64_t ten = 1;
    for (int i = 0; i < decimals; ++i) {
      five *= 5;
      ten *= 10;
    }
    const Wide steps = (static_cast<Wide>(units) * five + 1) / 2;
    std::string fraction = std::to_string(static_cast<std::uint64_t>(steps % ten));
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    // Appended piece by piece: GCC's -O2 sees an overlap in a chain of +.
    std::string text = std::signbit(value) ? "-" : "";
    text += std::to_string(static_cast<std::uint64_t>(steps / ten));
    text += '.';
    text += fraction;
    return text;
  }
  // Not a tie: std::to_chars rounds the exact binary value correctly and never
  // looks at the locale.
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string FormatFixed3(double value) {
  return FormatFixedDecimals(value, 3);
}

std::string FormatFixed4(double value) {
  return FormatFixedDecimals(value, 4);
}

std::string FormatFixed6(double value) {
  return FormatFixedDecimals(value, 6);
}

std::string FormatFixed2(double value) {
  return FormatFixedDecimals(value, 2);
}

std::string FormatInt2(int value) {
  const bool negative = value < 0;
  std::string digits = std::to_string(negative ? -static_cast<long long>(value) : value);
  if (digits.size() < 2) {
    digits.insert(0, 2 - digits.size(), '0');
  }
  return negative ? "-" + digits : digits;
}

std::string FormatSignificant9(double value) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 9);
  return std::string(buffer, result.ptr);
}

double ParseDoublePrefix(std::string_view text, std::size_t* consumed) {
  // The C library's own reader, pinned to the C locale: every corner of atof
  // (signs, hexadecimal, "inf", underflow) comes out exactly as atof's, and
  // the user's locale cannot turn the point into a stop.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const std::string terminated(text.substr(0, text.find('\0')));
  char* end = nullptr;
  const double value = strtod_l(terminated.c_str(), &end, cLocale);
  *consumed = static_cast<std::size_t>(end - terminated.c_str());
  return value;
}

double ParseDouble(std::string_view text) {
  std::size_t consumed = 0;
  return ParseDoublePrefix(text, &consumed);
}
