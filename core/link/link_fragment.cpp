#include "core/link/link_fragment.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/field/unit_rules.h"
#include "core/numbers/number_text.h"
#include "core/numbers/sentence.h"
#include "core/numbers/series.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

// A '%' that starts no escape stays as it is: browsers pass such addresses on.
std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
        HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Escape(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       c == '-' || c == '.' || c == '_' || c == '~';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

// Digits only, leading zeros allowed; -1 for anything else or past `last`.
// Counted digit by digit, so a long number is past, never wrapped round.
int WholeNumberUpTo(std::string_view text, int last) {
  if (text.empty()) {
    return -1;
  }
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return -1;
    }
    if (value <= last) {
      value = value * 10 + (c - '0');
    }
  }
  return value <= last ? static_cast<int>(value) : -1;
}

// Plain decimal digits with at most one point: no sign, blank, exponent or
// "inf", which the field's reading would otherwise take.
bool IsDecimal(std::string_view text) {
  bool digit = false;
  bool point = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

// The value as the field shows it, or empty outside [0,1]: the field's own
// rounding and range, not a second rule of the link's.
std::string FieldText(std::string_view text) {
  if (!IsDecimal(text)) {
    return std::string();
  }
  std::string shown = FormatInRange(text);
  return shown == "?" ? std::string() : shown;
}

// A refused value as the line quotes it: a long one is cut short, never in
// the middle of a character.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 24;
  if (text.size() <= kShown) {
    return "\"" + std::string(text) + "\"";
  }
  std::size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
    --cut;
  }
  return "\"" + std::string(text.substr(0, cut)) + "...\"";
}

// "degree:A..B" or "estimate:A..B", decimals with 0 <= A < B <= 1.
bool ReadOrbitView(std::string_view text, LinkState* state) {
  const std::size_t colon = text.find(':');
  const std::size_t dots = text.find("..");
  if (colon == std::string_view::npos || dots == std::string_view::npos || dots < colon) {
    return false;
  }
  const std::string_view axis = text.substr(0, colon);
  const std::string_view from = text.substr(colon + 1, dots - colon - 1);
  const std::string_view to = text.substr(dots + 2);
  if ((axis != "degree" && axis != "estimate") || !IsDecimal(from) || !IsDecimal(to)) {
    return false;
  }
  const double a = ParseDouble(from);
  const double b = ParseDouble(to);
  if (!(a >= 0.0 && a < b && b <= 1.0)) {
    return false;
  }
  state->orbitAxis = std::string(axis);
  state->orbitFrom = a;
  state->orbitTo = b;
  return true;
}

}  // namespace

LinkState ParseLinkFragment(std::string_view fragment) {
  if (!fragment.empty() && fragment.front() == '#') {
    fragment.remove_prefix(1);
  }
  LinkState state;
  std::vector<std::string> refused;
  std::vector<std::string> seen;
  while (!fragment.empty()) {
    const std::size_t end = fragment.find('&');
    const std::string_view part = fragment.substr(0, end);
    fragment = end == std::string_view::npos ? std::string_view() : fragment.substr(end + 1);
    if (part.empty()) {
      continue;
    }
    const std::size_t equals = part.find('=');
    const std::string key = Unescape(part.substr(0, equals));
    const std::string value =
        equals == std::string_view::npos ? std::string() : Unescape(part.substr(equals + 1));
    const std::string named = key + " " + Quoted(value);
    bool repeated = false;
    for (const std::string& before : seen) {
      repeated = repeated || before == key;
    }
    // The first of two stands, as a browser's own reading of a query does.
    if (repeated) {
      refused.push_back(named + " (given before)");
      continue;
    }
    if (key == "sentence") {
      state.sentence = WholeNumberUpTo(value, kSentenceCount - 1);
      if (state.sentence < 0) {
        refused.push_back(named + " (0 to " + std::to_string(kSentenceCount - 1) + ")");
      }
    } else if (key == "degree" || key == "estimate") {
      std::string& text = key == "degree" ? state.degreeText : state.estimateText;
      text = FieldText(value);
      if (text.empty()) {
        refused.push_back(named + " (0.00 to 1.00)");
      }
    } else if (key == "step") {
      state.step = WholeNumberUpTo(value, kSeriesLength);
      if (state.step < 0) {
        refused.push_back(named + " (0 to " + std::to_string(kSeriesLength) + ")");
      }
    } else if (key == "output") {
      state.output = WholeNumberUpTo(value, 1);
      if (state.output < 0) {
        refused.push_back(named + " (0 or 1)");
      }
    } else if (key == "orbit") {
      if (!ReadOrbitView(value, &state)) {
        refused.push_back(named + " (degree:A..B or estimate:A..B, 0 <= A < B <= 1)");
      }
    } else {
      refused.push_back(Quoted(Unescape(part)) +
                        " (not sentence, degree, estimate, step, output or orbit)");
      continue;
    }
    seen.push_back(key);
  }
  // A sentence is shown over its degree, or over the estimate when it has
  // none; the page's first sentence when the link names none.
  const int sentence = std::max(0, state.sentence);
  if (!state.orbitAxis.empty() && (state.orbitAxis == "degree") != SentenceUsesDegree(sentence)) {
    refused.push_back(
        "orbit " +
        Quoted(state.orbitAxis + ":" + FormatFixed2(state.orbitFrom) + ".." +
               FormatFixed2(state.orbitTo)) +
        " (sentence " + std::to_string(sentence) +
        (SentenceUsesDegree(sentence) ? " is shown over its degree)" : " has no degree)"));
    state.orbitAxis.clear();
    state.orbitFrom = 0.0;
    state.orbitTo = 1.0;
  }
  if (!refused.empty()) {
    state.ignored = "Ignored in the link: ";
    for (std::size_t i = 0; i < refused.size(); ++i) {
      state.ignored += (i == 0 ? "" : ", ") + refused[i];
    }
    state.ignored += ".";
  }
  return state;
}

std::string FormatLinkFragment(int sentence, std::string_view degreeText,
                               std::string_view estimateText, int step, bool output) {
  return "sentence=" + std::to_string(sentence) + "&degree=" + Escape(degreeText) +
         "&estimate=" + Escape(estimateText) + "&step=" + std::to_string(step) +
         "&output=" + (output ? "1" : "0");
}

std::string FormatOrbitLinkPart(bool overDegree, double from, double to) {
  // Hundredths that hold the view; a view inside one hundredth gets one.
  double a = std::floor(from * 100.0 + 1e-9) / 100.0;
  double b = std::ceil(to * 100.0 - 1e-9) / 100.0;
  a = std::clamp(a, 0.0, 0.99);
  b = std::clamp(std::max(b, a + 0.01), 0.01, 1.0);
  return std::string("&orbit=") + (overDegree ? "degree:" : "estimate:") + FormatFixed2(a) + ".." +
         FormatFixed2(b);
}
