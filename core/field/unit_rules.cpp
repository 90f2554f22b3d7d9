#include "core/field/unit_rules.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "core/numbers/number_text.h"

namespace {

bool IsDigit(unsigned c) {
  return c >= '0' && c <= '9';
}

// Digit, '.' or backspace; every other code, control characters included,
// is one the field never accepts.
bool IsOther(unsigned c) {
  return !IsDigit(c) && c != '.' && c != kBackspace;
}

int Length(std::string_view text) {
  return static_cast<int>(text.size());
}

int Clamp(int position, std::string_view text) {
  return std::clamp(position, 0, Length(text));
}

CharOutcome Swallow(int row) {
  return {row, CharAction::kSwallow, {}, 0};
}
CharOutcome Default(int row) {
  return {row, CharAction::kDefault, {}, 0};
}
CharOutcome Set(int row, std::string text) {
  return {row, CharAction::kSet, std::move(text), 0};
}

CharOutcome SetWithCaret(int row, std::string text, int caret) {
  const int kept = Clamp(caret, text);
  return {row, CharAction::kSetWithCaret, std::move(text), kept};
}

// The selection removed and the character (unless backspace) put in its
// place, then normalised; the caret goes to where the selection ended.
CharOutcome Replace(int row, std::string_view window, Selection selection, unsigned character) {
  const auto start = static_cast<std::size_t>(Clamp(selection.start, window));
  const auto end = static_cast<std::size_t>(Clamp(selection.end, window));
  std::string edited(window.substr(0, start));
  if (character != kBackspace) {
    edited += static_cast<char>(character);
  }
  edited += window.substr(end);
  std::string text = Normalize(edited);
  const int caret = Clamp(selection.end, text);
  return {row, CharAction::kReplace, std::move(text), caret};
}

std::string DigitAfterPoint(char digit) {
  return std::string("0.") + digit;
}

CharOutcome CaretRule(std::string_view window, int caret, unsigned character) {
  const int length = Length(window);
  if (caret < length && window.find('.', static_cast<std::size_t>(caret)) != std::string::npos) {
    return Swallow(2);  // the digit before the point is changed only by selecting it
  }
  if (character == '.') {
    return SetWithCaret(3, "0.", 2);
  }
  if (IsOther(character)) {
    return Swallow(4);
  }
  const bool empty = window.empty();
  if (character == '1' && empty) {
    return SetWithCaret(5, "1.00", 4);
  }
  if (character == '0' && empty) {
    return SetWithCaret(6, "0.", 2);
  }
  if (IsDigit(character) && empty) {
    return SetWithCaret(7, DigitAfterPoint(static_cast<char>(character)), 3);
  }
  if (IsDigit(character)) {
    return Default(8);
  }
  // Backspace.
  if (caret >= 2 && caret - 1 < length && window[static_cast<std::size_t>(caret - 1)] == '.') {
    return Set(9, "");
  }
  if (window == "1.00") {
    return Set(10, "");
  }
  return Default(11);
}

CharOutcome SelectionRule(std::string_view window, Selection selection, unsigned character) {
  const int length = Length(window);
  const bool whole = selection.start == 0 && selection.end == length;
  const bool firstCharacter = selection.start == 0 && selection.end == 1;
  if (IsOther(character)) {
    return Swallow(12);
  }
  if (whole && character == '.') {
    return SetWithCaret(13, "0.", 2);
  }
  if (firstCharacter && character >= '2' && character <= '9') {
    return Swallow(14);
  }
  if (firstCharacter && (character == '0' || character == '.' || character == kBackspace)) {
    return Replace(15, window, selection, character);
  }
  if (selection.start == 1 && selection.end == 2) {
    return Swallow(16);
  }
  if (selection.start >= 2 && window == "1.00") {
    return Swallow(17);
  }
  if (whole && character == '1') {
    return SetWithCaret(18, "1.00", 4);
  }
  return Replace(19, window, selection, character);
}

}  // namespace

std::string TextWindow(std::string_view text) {
  return std::string(text.substr(0, kTextWindow));
}

std::string FormatInRange(std::string_view text) {
  const double value = ParseDouble(text);
  // NaN compares false with everything and would print as "nan"; it is no
  // number in [0,1], so it is marked like any other value outside.
  if (std::isnan(value) || value < 0.0) {
    return "?";
  }
  // Beyond the float range the conversion would overflow; such a value is
  // above 1 in any case.
  if (value > FLT_MAX) {
    return "?";
  }
  const auto single = static_cast<float>(value);
  if (single > 1.0f) {
    return "?";
  }
  // A pasted "-0" reads as negative zero, which prints as "-0.00"; it is the
  // value 0 and shows as such.
  if (single == 0.0f) {
    return FormatFixed2(0.0);
  }
  return FormatFixed2(static_cast<double>(single));
}

std::string Normalize(std::string_view text) {
  std::string prepared;
  if (text.empty()) {
    prepared = "0";
  } else if (text[0] == '.') {
    prepared = text.size() == 1 ? std::string("0.") : DigitAfterPoint(text[1]);
  } else if (text.size() >= 2 && text[0] == '0' && IsDigit(static_cast<unsigned char>(text[1]))) {
    prepared = DigitAfterPoint(text[1]);
  } else if (ParseDouble(text) > 1.0) {
    // Typed digits without a point are taken as the digits after it: "5" is 0.5.
    prepared = "0." + std::string(text);
  } else {
    prepared = std::string(text);
  }
  return FormatInRange(prepared);
}

CharOutcome CharRule(std::string_view window, Selection selection, unsigned character) {
  if (selection.start == 0 && selection.end == 1 && character == '1') {
    return Set(1, "1.00");
  }
  if (selection.start == selection.end) {
    return CaretRule(window, selection.start, character);
  }
  return SelectionRule(window, selection, character);
}

EnterOutcome EnterRule(std::string_view window) {
  std::string text = Normalize(window);
  const int caret = Length(text);
  return {std::move(text), caret};
}

DeleteAction DeleteRule(std::string_view window, Selection selection) {
  const int length = Length(window);
  if (selection.start == 0 && selection.end == length) {
    return DeleteAction::kPassOn;
  }
  if (selection.start == 0 || selection.start == 1) {
    return DeleteAction::kConsume;
  }
  return DeleteAction::kPassOn;
}
