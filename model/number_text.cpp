#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <system_error>

namespace {

// A double whose exact value lies halfway between two hundredths is an odd
// multiple of 1/200; being a binary fraction it must then be an odd multiple
// of 1/8 (0.125, 0.375, ...). Scaling by 8 is exact, so this test is exact.
bool IsHundredthTie(double magnitude, std::uint64_t* eighths) {
  const double scaled = magnitude * 8.0;
  if (!(scaled < 9007199254740992.0)) {  // 2^53: beyond, no fraction is left
    return false;
  }
  if (std::floor(scaled) != scaled) {
    return false;
  }
  const auto whole = static_cast<std::uint64_t>(scaled);
  if (whole % 2 == 0) {
    return false;
  }
  *eighths = whole;
  return true;
}

std::string TieRoundedAway(bool negative, std::uint64_t eighths) {
  // eighths/8 = 25*eighths/200; rounding half up in hundredths gives
  // (25*eighths + 1)/2 hundredths. 25 * 2^53 still fits in 64 bits.
  const std::uint64_t hundredths = (25 * eighths + 1) / 2;
  std::string text = negative ? "-" : "";
  text += std::to_string(hundredths / 100);
  text += '.';
  const unsigned fraction = static_cast<unsigned>(hundredths % 100);
  text += static_cast<char>('0' + fraction / 10);
  text += static_cast<char>('0' + fraction % 10);
  return text;
}

}  // namespace

std::string FormatFixed2(double value) {
  if (std::isnan(value)) {
    return std::signbit(value) ? "-nan" : "nan";
  }
  if (std::isinf(value)) {
    return value < 0 ? "-inf" : "inf";
  }
  std::uint64_t eighths = 0;
  if (IsHundredthTie(std::fabs(value), &eighths)) {
    return TieRoundedAway(std::signbit(value), eighths);
  }
  // Not a tie: std::to_chars rounds the exact binary value correctly and never
  // looks at the locale.
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  return std::string(buffer, result.ptr);
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
  *consumed = 0;
  std::size_t pos = 0;
  // C-locale isspace: blank, \t, \n, \v, \f, \r.
  while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
    ++pos;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const char* first = text.data() + pos;
  const char* last = text.data() + text.size();
  double value = 0.0;
  std::from_chars_result result{first, std::errc::invalid_argument};
  const bool hex = last - first >= 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X');
  if (hex) {
    result = std::from_chars(first + 2, last, value, std::chars_format::hex);
    if (result.ec == std::errc::invalid_argument) {
      // "0x" with no hexadecimal digit after it reads as the 0 alone.
      value = 0.0;
      result = {first + 1, std::errc{}};
    }
  } else {
    result = std::from_chars(first, last, value, std::chars_format::general);
  }
  if (result.ec == std::errc::invalid_argument) {
    return 0.0;
  }
  if (result.ec == std::errc::result_out_of_range) {
    // strtod gives HUGE_VAL on overflow and 0 on underflow; from_chars leaves
    // the value alone, so decide by the magnitude the text asked for.
    const std::string_view digits(first, static_cast<std::size_t>(result.ptr - first));
    const auto e = digits.find_first_of(hex ? "pP" : "eE");
    const bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  *consumed = static_cast<std::size_t>(result.ptr - text.data());
  return negative ? -value : value;
}

double ParseDouble(std::string_view text) {
  std::size_t consumed = 0;
  return ParseDoublePrefix(text, &consumed);
}
