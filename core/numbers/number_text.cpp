#include "core/numbers/number_text.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Every finite double is an integer times a power of two, so its decimal
// expansion is finite: these helpers write it out in full and round the
// digits themselves. That keeps the text exact, independent of the locale and
// of which C++ library is linked (some have no floating-point to_chars).
struct ExactDecimal {
  std::string digits;  // no leading zeros; empty for zero
  int point = 0;       // how many of the digits stand before the point
};

// Little-endian limbs of nine decimal digits each.
using BigDecimal = std::vector<std::uint32_t>;
constexpr std::uint32_t kLimbBase = 1000000000;

void MultiplyBy(BigDecimal* number, std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (auto& limb : *number) {
    const std::uint64_t product = static_cast<std::uint64_t>(limb) * factor + carry;
    limb = static_cast<std::uint32_t>(product % kLimbBase);
    carry = product / kLimbBase;
  }
  while (carry != 0) {
    number->push_back(static_cast<std::uint32_t>(carry % kLimbBase));
    carry /= kLimbBase;
  }
}

void MultiplyByPower(BigDecimal* number, std::uint32_t base, int exponent, int chunk) {
  std::uint32_t chunkFactor = 1;
  for (int i = 0; i < chunk; ++i) {
    chunkFactor *= base;
  }
  for (; exponent >= chunk; exponent -= chunk) {
    MultiplyBy(number, chunkFactor);
  }
  std::uint32_t rest = 1;
  for (int i = 0; i < exponent; ++i) {
    rest *= base;
  }
  MultiplyBy(number, rest);
}

ExactDecimal ExactDigits(double magnitude) {
  ExactDecimal result;
  if (magnitude == 0) {
    return result;
  }
  int exponent = 0;
  auto mantissa = static_cast<std::uint64_t>(std::ldexp(std::frexp(magnitude, &exponent), 53));
  exponent -= 53;
  while (mantissa % 2 == 0) {
    mantissa /= 2;
    ++exponent;
  }
  BigDecimal number{static_cast<std::uint32_t>(mantissa % kLimbBase),
                    static_cast<std::uint32_t>(mantissa / kLimbBase % kLimbBase),
                    static_cast<std::uint32_t>(mantissa / kLimbBase / kLimbBase)};
  // m * 2^-n is m * 5^n / 10^n: the digits of m * 5^n with the point n places in.
  if (exponent >= 0) {
    MultiplyByPower(&number, 2, exponent, 29);
  } else {
    MultiplyByPower(&number, 5, -exponent, 12);
  }
  while (number.size() > 1 && number.back() == 0) {
    number.pop_back();
  }
  result.digits = std::to_string(number.back());
  for (auto limb = number.rbegin() + 1; limb != number.rend(); ++limb) {
    const std::string part = std::to_string(*limb);
    result.digits.append(9 - part.size(), '0');
    result.digits += part;
  }
  result.point = static_cast<int>(result.digits.size()) + std::min(exponent, 0);
  return result;
}

enum class Ties { kAwayFromZero, kToEven };

// The digits of the magnitude times 10^shift, rounded to a whole number.
std::string RoundedDigits(const ExactDecimal& number, int shift, Ties ties) {
  const int size = static_cast<int>(number.digits.size());
  const int cut = number.point + shift;
  std::string kept = number.digits.substr(0, static_cast<std::size_t>(std::clamp(cut, 0, size)));
  if (cut > size) {
    kept.append(static_cast<std::size_t>(cut - size), '0');
  }
  bool up = false;
  if (cut >= 0 && cut < size) {
    const char first = number.digits[static_cast<std::size_t>(cut)];
    const bool restNonZero = number.digits.find_first_not_of(
                                 '0', static_cast<std::size_t>(cut) + 1) != std::string::npos;
    if (first > '5' || (first == '5' && restNonZero)) {
      up = true;
    } else if (first == '5') {
      const bool lastOdd = !kept.empty() && (kept.back() - '0') % 2 == 1;
      up = ties == Ties::kAwayFromZero || lastOdd;
    }
  }
  if (up) {
    auto digit = kept.rbegin();
    for (; digit != kept.rend() && *digit == '9'; ++digit) {
      *digit = '0';
    }
    if (digit == kept.rend()) {
      kept.insert(kept.begin(), '1');
    } else {
      ++*digit;
    }
  }
  const auto first = kept.find_first_not_of('0');
  return first == std::string::npos ? "0" : kept.substr(first);
}

// The magnitude with exactly `decimals` digits after the point.
std::string FixedText(const ExactDecimal& number, int decimals, Ties ties) {
  std::string digits = RoundedDigits(number, decimals, ties);
  if (static_cast<int>(digits.size()) <= decimals) {
    digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
  }
  if (decimals > 0) {
    digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
  }
  return digits;
}

std::string WithoutTrailingFractionZeros(std::string text) {
  if (text.find('.') == std::string::npos) {
    return text;
  }
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') {
    text.pop_back();
  }
  return text;
}

std::string FormatFixedDecimals(double value, int decimals) {
  if (std::isnan(value)) {
    return std::signbit(value) ? "-nan" : "nan";
  }
  if (std::isinf(value)) {
    return value < 0 ? "-inf" : "inf";
  }
  // Appended, not prepended: GCC 12 at -O2 warns -Wrestrict on "-" + text.
  std::string text = std::signbit(value) ? "-" : "";
  text += FixedText(ExactDigits(std::fabs(value)), decimals, Ties::kAwayFromZero);
  return text;
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
  // printf's %.9g: exact halves to even, as printf rounds them.
  constexpr int kPrecision = 9;
  if (std::isnan(value)) {
    return std::signbit(value) ? "-nan" : "nan";
  }
  if (std::isinf(value)) {
    return value < 0 ? "-inf" : "inf";
  }
  std::string text = std::signbit(value) ? "-" : "";
  const ExactDecimal number = ExactDigits(std::fabs(value));
  if (number.digits.empty()) {
    return text + "0";
  }
  const std::string rounded = RoundedDigits(number, kPrecision - number.point, Ties::kToEven);
  // A carry (9.999999999 to 10.0000000) moves the exponent up by one.
  const int exponent = number.point - 1 + (static_cast<int>(rounded.size()) - kPrecision);
  if (exponent >= -4 && exponent < kPrecision) {
    text +=
        WithoutTrailingFractionZeros(FixedText(number, kPrecision - 1 - exponent, Ties::kToEven));
    return text;
  }
  std::string mantissa = rounded.substr(0, 1);
  mantissa += '.';
  mantissa.append(rounded, 1, static_cast<std::size_t>(kPrecision) - 1);
  text += WithoutTrailingFractionZeros(mantissa);
  text += exponent < 0 ? "e-" : "e+";
  text += FormatInt2(exponent < 0 ? -exponent : exponent);
  return text;
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
