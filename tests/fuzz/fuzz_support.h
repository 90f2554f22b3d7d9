// What both fuzz targets agree a field may show, and how they hand the rules
// text that ends exactly where the field's text window ends.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <string_view>

// "0.00" to "0.99" and "1.00": the 101 texts a normalised field shows besides "?".
inline const std::set<std::string>& CanonicalTexts() {
  static const std::set<std::string> texts = [] {
    std::set<std::string> all = {"1.00"};
    for (int i = 0; i < 100; ++i) {
      all.insert(std::string("0.") + static_cast<char>('0' + i / 10) +
                 static_cast<char>('0' + i % 10));
    }
    return all;
  }();
  return texts;
}

inline bool IsCanonical(std::string_view text) {
  return CanonicalTexts().count(std::string(text)) == 1;
}

inline bool IsNormalised(std::string_view text) {
  return text == "?" || IsCanonical(text);
}

// A copy of a text in a heap block of exactly its size, with no terminating
// zero: AddressSanitizer reports any read past its last character, so a rule
// that peeks beyond the text it was given fails here rather than reading what
// happens to follow in memory.
class ExactText {
 public:
  explicit ExactText(std::string_view text)
      : size_(text.size()), bytes_(std::make_unique<char[]>(text.size())) {
    text.copy(bytes_.get(), size_);
  }
  std::string_view view() const { return {bytes_.get(), size_}; }

 private:
  std::size_t size_;
  std::unique_ptr<char[]> bytes_;
};

// Printable form of a text for a failure message: bytes outside ASCII's
// printable range as \xNN, and a long text cut after its first 64 bytes.
inline std::string Escaped(std::string_view text) {
  constexpr std::size_t kShown = 64;
  std::string out = "\"";
  for (const char c : text.substr(0, kShown)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7f && c != '"' && c != '\\') {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", byte);
      out += hex;
    }
  }
  out += '"';
  if (text.size() > kShown) {
    out += "... (" + std::to_string(text.size()) + " bytes)";
  }
  return out;
}

// A broken invariant: say which, then abort so that libFuzzer keeps the input.
[[noreturn]] inline void Broken(const std::string& what) {
  std::fprintf(stderr, "\nINVARIANT BROKEN: %s\n", what.c_str());
  std::abort();
}

inline void Require(bool holds, const std::string& what) {
  if (!holds) {
    Broken(what);
  }
}
