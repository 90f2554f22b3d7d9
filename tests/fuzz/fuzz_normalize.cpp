// Fuzzes the normaliser and the number reading under it with any bytes.
//
// Besides "no finding", it checks what the field promises about its text:
// every result is "?" or one of the 101 canonical texts; normalising again
// settles at once; the value shown is the value read, rounded to hundredths
// with halves up; the reading agrees with the C library's atof in the C
// locale, whatever the process locale; and, read through the field's text
// window, nothing past the window counts.
#include <locale.h>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/field/unit_rules.h"
#include "core/numbers/number_text.h"
#include "fuzz_support.h"

namespace {

locale_t g_cLocale = nullptr;

// atof as the C library does it in the C locale. It stops at the first zero
// byte, as it would in the field's text buffer.
double ReferenceAtof(std::string_view text, std::size_t* consumed) {
  const std::string terminated(text.substr(0, text.find('\0')));
  char* end = nullptr;
  const double value = strtod_l(terminated.c_str(), &end, g_cLocale);
  *consumed = static_cast<std::size_t>(end - terminated.c_str());
  return value;
}

bool SameReading(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) {
    return std::isnan(a) && std::isnan(b);
  }
  return a == b && std::signbit(a) == std::signbit(b);
}

// Hundredths of a canonical text: "0.37" is 37, "1.00" is 100.
int Hundredths(std::string_view canonical) {
  return (canonical[0] - '0') * 100 + (canonical[2] - '0') * 10 + (canonical[3] - '0');
}

void CheckReading(std::string_view text) {
  std::size_t consumed = 0;
  const double value = ParseDoublePrefix(text, &consumed);
  std::size_t expectedConsumed = 0;
  const double expected = ReferenceAtof(text, &expectedConsumed);
  Require(SameReading(value, expected) && consumed == expectedConsumed,
          "reading " + Escaped(text) + " gave " + FormatSignificant9(value) + " using " +
              std::to_string(consumed) + " characters; atof gives " + FormatSignificant9(expected) +
              " using " + std::to_string(expectedConsumed));
}

// What FormatInRange shows must be the value read, judged in single precision.
void CheckShownValue(std::string_view text, const std::string& shown) {
  std::size_t unused = 0;
  const double read = ReferenceAtof(text, &unused);
  const std::string what =
      Escaped(text) + " reads " + FormatSignificant9(read) + " and shows " + Escaped(shown);
  if (shown == "?") {
    // NaN fails both comparisons; above 1 is judged after rounding to float.
    const bool inRange = read >= 0.0 && read <= 2.0 && static_cast<float>(read) <= 1.0f;
    Require(!inRange, "a value in [0,1] shows as \"?\": " + what);
    return;
  }
  Require(read >= 0.0, "a value below 0 or no number shows as a number: " + what);
  Require(read <= 2.0, "a value far above 1 shows as a number: " + what);
  const auto single = static_cast<double>(static_cast<float>(read));
  Require(single <= 1.0, "a value above 1 shows as a number: " + what);
  // A float has 24 significant bits, so 100 times it is exact in a double, and
  // adding a half and flooring gives the nearest hundredth with halves up.
  const double nearest = std::floor(single * 100.0 + 0.5);
  Require(Hundredths(shown) == static_cast<int>(nearest),
          "shown value is not the value read: " + what);
}

// The same text with every byte past the window changed.
std::string ChangedBeyondWindow(std::string text, unsigned char flip) {
  for (std::size_t i = kTextWindow; i < text.size(); ++i) {
    text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ flip);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  // Run under a locale whose decimal separator is a comma when there is one:
  // the field's texts must not notice.
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    std::setlocale(LC_ALL, "C");
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const ExactText exact(input);
  const std::string_view text = exact.view();

  CheckReading(text);

  const std::string inRange = FormatInRange(text);
  Require(IsNormalised(inRange), "FormatInRange(" + Escaped(text) + ") gave " + Escaped(inRange));
  CheckShownValue(text, inRange);

  const std::string normal = Normalize(text);
  Require(IsNormalised(normal), "Normalize(" + Escaped(text) + ") gave " + Escaped(normal));
  // A canonical text is its own normal form; "?" reads as 0 and so becomes
  // "0.00" at the next normalisation, which then stays.
  const std::string again = Normalize(normal);
  Require(
      again == (normal == "?" ? "0.00" : normal),
      "normalising " + Escaped(text) + " again moved " + Escaped(normal) + " to " + Escaped(again));
  Require(FormatInRange(normal) == (normal == "?" ? "0.00" : normal),
          "a normalised text does not show as itself: " + Escaped(normal));

  // Through the field's window: the window alone decides.
  const std::string window = TextWindow(input);
  Require(window.size() == std::min(input.size(), kTextWindow) &&
              input.compare(0, window.size(), window) == 0,
          "TextWindow(" + Escaped(input) + ") gave " + Escaped(window));
  const ExactText exactWindow(window);
  const std::string seen = Normalize(exactWindow.view());
  for (const unsigned char flip : {0x80, 0x01}) {
    const std::string other = ChangedBeyondWindow(input, flip);
    // A view that ends at the window while the other bytes follow in memory.
    const std::string otherSeen = Normalize(std::string_view(other.data(), window.size()));
    Require(otherSeen == seen, "bytes beyond the window changed the field: " + Escaped(input) +
                                   " gives " + Escaped(seen) + ", " + Escaped(other) + " gives " +
                                   Escaped(otherSeen));
  }
  return 0;
}
