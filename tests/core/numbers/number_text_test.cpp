#include "core/numbers/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

struct FixedCase {
  const char* name;
  double value;
  const char* text;
};

TEST(FormatFixed2, RoundsLikePrintfButHalvesAwayFromZero) {
  const FixedCase cases[] = {
      {"zero", 0.0, "0.00"},
      {"single 0.3 widened", static_cast<double>(0.3f), "0.30"},
      {"single 0.9 widened", static_cast<double>(0.9f), "0.90"},
      {"one", 1.0, "1.00"},
      {"exact half 0.125 rounds up", 0.125, "0.13"},
      {"exact half 0.375 rounds up", 0.375, "0.38"},
      {"exact half 0.625 rounds up", 0.625, "0.63"},
      {"exact half 0.875 rounds up", 0.875, "0.88"},
      {"exact half 1.125 rounds up", 1.125, "1.13"},
      {"just below a half stays down", 0.12499999999999999, "0.12"},
      {"0.005 is not exact and lies below", 0.005, "0.01"},  // 0.005000000000000000104
      {"0.015 is not exact and lies below", 0.015, "0.01"},  // 0.01499999999999999944
      {"negative half rounds away", -0.125, "-0.13"},
      {"negative tiny keeps its sign", -0.001, "-0.00"},
      {"large value", 20000.0, "20000.00"},
      {"valuation fallback", -9999.0, "-9999.00"},
      {"single 0.7 from 1 - 0.3f", 1.0 - static_cast<double>(0.3f), "0.70"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFixed2(c.value), c.text) << c.name;
  }
}

TEST(FormatFixed2, NonFiniteValuesPrintAsWords) {
  EXPECT_EQ(FormatFixed2(std::numeric_limits<double>::quiet_NaN()), "nan");
  EXPECT_EQ(FormatFixed2(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(FormatFixed2(-std::numeric_limits<double>::infinity()), "-inf");
}

TEST(FormatFixed3And4, HalvesGoAwayFromZeroAsInFormatFixed2) {
  // Exact halves at 3 and 4 decimals are odd multiples of 1/16 and 1/32;
  // printf would round them to even.
  EXPECT_EQ(FormatFixed3(0.0625), "0.063");
  EXPECT_EQ(FormatFixed3(-0.0625), "-0.063");
  EXPECT_EQ(FormatFixed3(-0.6931471805599453), "-0.693");
  EXPECT_EQ(FormatFixed4(0.03125), "0.0313");
  EXPECT_EQ(FormatFixed4(2.0 / 3.0), "0.6667");
  EXPECT_EQ(FormatFixed4(-std::numeric_limits<double>::infinity()), "-inf");
}

TEST(FormatInt2, PadsToTwoDigits) {
  const struct {
    int value;
    const char* text;
  } cases[] = {{0, "00"}, {2, "02"}, {40, "40"}, {100, "100"}, {999, "999"}, {-3, "-03"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatInt2(c.value), c.text) << c.value;
  }
}

TEST(FormatSignificant9, GivesBackTheSingleExactly) {
  const struct {
    float value;
    const char* text;
  } cases[] = {{0.0f, "0"}, {0.9f, "0.899999976"}, {0.40000003576278687f, "0.400000036"},
               {1.0f, "1"}, {-9999.0f, "-9999"},   {1.88e-12f, "1.88000006e-12"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatSignificant9(c.value), c.text);
    EXPECT_EQ(static_cast<float>(ParseDouble(FormatSignificant9(c.value))), c.value);
  }
}

struct ParseCase {
  const char* name;
  std::string_view text;
  double value;
  std::size_t consumed;
};

TEST(ParseDouble, ReadsAsAtofDoes) {
  const ParseCase cases[] = {
      {"empty", "", 0.0, 0},
      {"question mark", "?", 0.0, 0},
      {"letters", "abc", 0.0, 0},
      {"point alone", ".", 0.0, 0},
      {"zero point", "0.", 0.0, 2},
      {"plain", "0.30", 0.3, 4},
      {"leading point", ".5", 0.5, 2},
      {"stops at second point", "0.1.5", 0.1, 3},
      {"stops at a letter", "5?", 5.0, 1},
      {"leading blanks", " \t\n0.25", 0.25, 7},
      {"plus sign", "+0.5", 0.5, 4},
      {"minus sign", "-5", -5.0, 2},
      {"exponent", "0.2e5", 20000.0, 5},
      {"exponent without digits", "2e", 2.0, 1},
      {"exponent sign without digits", "2e+", 2.0, 1},
      {"hexadecimal", "0x1p-2", 0.25, 6},
      {"hex prefix without digits", "0x", 0.0, 1},
      {"sign alone", "-", 0.0, 0},
      {"comma is not a separator", "0,5", 0.0, 1},
      {"overflow", "1e999", std::numeric_limits<double>::infinity(), 5},
      {"underflow", "1e-999", 0.0, 6},
      {"second sign stops", "+-5", 0.0, 0},
      {"doubled minus stops", "--.5", 0.0, 0},
      {"sign after hex prefix", "0x-2", 0.0, 1},
      {"words after hex prefix", "0xinf", 0.0, 1},
      {"hex exponent with two signs", "0x1p+-5", 1.0, 3},
      {"stops at an embedded zero byte",
       std::string_view("0.5\0"
                        "9",
                        5),
       0.5, 3},
  };
  for (const auto& c : cases) {
    std::size_t consumed = 99;
    EXPECT_EQ(ParseDoublePrefix(c.text, &consumed), c.value) << c.name;
    EXPECT_EQ(consumed, c.consumed) << c.name;
  }
}

TEST(ParseDouble, UnderflowWithoutNegativeExponentReadsZero) {
  const std::string tiny = "0." + std::string(400, '0') + "1";
  std::size_t consumed = 0;
  EXPECT_EQ(ParseDoublePrefix(tiny, &consumed), 0.0);
  EXPECT_EQ(consumed, tiny.size());
}

TEST(ParseDouble, NanAndInfinityAreRead) {
  EXPECT_TRUE(std::isnan(ParseDouble("nan")));
  EXPECT_TRUE(std::isinf(ParseDouble("inf")));
  EXPECT_TRUE(std::isinf(ParseDouble("-infinity")));
}

// Qt applications take the user's locale for the C library; the helpers must
// not notice.
TEST(NumberText, CommaLocaleChangesNothing) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "de_DE.UTF-8 is not installed (Debian: locales-all)";
  }
  EXPECT_EQ(FormatFixed2(0.3f), "0.30");
  EXPECT_EQ(FormatFixed2(0.125), "0.13");
  EXPECT_EQ(FormatSignificant9(0.9f), "0.899999976");
  EXPECT_EQ(ParseDouble("0.75"), 0.75);
  EXPECT_EQ(ParseDouble("0,75"), 0.0);
  std::setlocale(LC_ALL, "C");
}

// The helpers write the decimal expansion out themselves, since not every
// C++ library has floating-point to_chars. Where this one has it, it is the
// reference: the same text for every kind of double. Exact halves of the
// fixed formats go away from zero, worked out here as they were before the
// helpers had their own digits.
std::string LibraryText(double value, std::chars_format format, int precision) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  return std::string(buffer, result.ptr);
}

std::string LibraryFixed(double value, int decimals) {
  const double scaled = std::ldexp(std::fabs(value), decimals + 1);
  if (!std::isfinite(value) || !(scaled < 9007199254740992.0) || std::floor(scaled) != scaled ||
      static_cast<std::uint64_t>(scaled) % 2 == 0) {
    return LibraryText(value, std::chars_format::fixed, decimals);
  }
  std::uint64_t five = 1;
  std::uint64_t ten = 1;
  for (int i = 0; i < decimals; ++i) {
    five *= 5;
    ten *= 10;
  }
  const std::uint64_t steps = (static_cast<std::uint64_t>(scaled) * five + 1) / 2;
  std::string fraction = std::to_string(steps % ten);
  fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
  std::string text = std::signbit(value) ? "-" : "";
  return text + std::to_string(steps / ten) + '.' + fraction;
}

TEST(NumberText, SameTextAsTheLibrarysToChars) {
  std::mt19937_64 random(17);
  std::vector<double> values = {0.0,
                                -0.0,
                                5e-324,
                                2.2250738585072014e-308,
                                1.7976931348623157e308,
                                0.5,
                                0.05,
                                9.9999999995,
                                999999999.5,
                                1234567885.0,
                                0.000123456785,
                                1e-5,
                                99999.9995,
                                1e16,
                                0.0001};
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < 20000; ++i) {
    std::uint64_t bits = random();
    double anyDouble = 0;
    std::memcpy(&anyDouble, &bits, sizeof anyDouble);
    if (std::isfinite(anyDouble)) {
      values.push_back(anyDouble);
    }
    values.push_back(unit(random));
    values.push_back(-unit(random) * 2000);
    // Multiples of small powers of two hit exact halves at every precision.
    values.push_back(
        std::ldexp(static_cast<double>(random() % 100000), -static_cast<int>(random() % 20)));
    values.push_back(static_cast<double>(random() % 10000000000ULL));
    values.push_back(static_cast<float>(unit(random)));
  }
  int differences = 0;
  for (const double value : values) {
    const bool same =
        FormatFixed2(value) == LibraryFixed(value, 2) &&
        FormatFixed3(value) == LibraryFixed(value, 3) &&
        FormatFixed4(value) == LibraryFixed(value, 4) &&
        FormatSignificant9(value) == LibraryText(value, std::chars_format::general, 9);
    if (!same && ++differences <= 5) {
      ADD_FAILURE() << LibraryText(value, std::chars_format::general, 17) << " gives "
                    << FormatFixed2(value) << " " << FormatFixed4(value) << " "
                    << FormatSignificant9(value);
    }
  }
  EXPECT_EQ(differences, 0) << "of " << values.size();
}

}  // namespace
