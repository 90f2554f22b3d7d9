// Keystrokes into a unit value field: the text and selection before, one
// typed character, and what must follow. The same table is run against the
// plain rules and typed into a real field.
#pragma once

#include <string>
#include <vector>

#include "core/field/unit_rules.h"

struct KeystrokeCase {
  const char* name;
  const char* before;
  int start;  // selection before; start == end for a caret
  int end;
  unsigned character;  // kBackspace, or a code such as 0x16 for Ctrl+V
  int row;             // the rule that must decide
  const char* after;
  int caret;          // caret after, with no selection; -1: the selection stays as it was
  int notifications;  // how many times the owner is told of a change
};

inline constexpr unsigned kCtrlA = 0x01;
inline constexpr unsigned kCtrlV = 0x16;
inline constexpr unsigned kCtrlX = 0x18;
inline constexpr unsigned kCtrlZ = 0x1A;
inline constexpr unsigned kEscape = 0x1B;

// One case per rule at least, in the order of the rules.
inline const std::vector<KeystrokeCase>& RowCases() {
  static const std::vector<KeystrokeCase> cases = {
      {"row 1: '1' over the first digit", "0.30", 0, 1, '1', 1, "1.00", 0, 1},
      {"row 1: before the whole-text rules", "5", 0, 1, '1', 1, "1.00", 0, 1},
      {"row 2: digit before the point", "0.30", 0, 0, '5', 2, "0.30", 0, 0},
      {"row 2: backspace right before the point", "0.30", 1, 1, kBackspace, 2, "0.30", 1, 0},
      {"row 2: '.' before the point", "0.30", 1, 1, '.', 2, "0.30", 1, 0},
      {"row 3: '.' after the point", "0.30", 4, 4, '.', 3, "0.", 2, 1},
      {"row 3: '.' into an empty field", "", 0, 0, '.', 3, "0.", 2, 1},
      {"row 3: '.' at the end of a text without point", "5?", 2, 2, '.', 3, "0.", 2, 1},
      {"row 4: letter", "0.30", 4, 4, 'a', 4, "0.30", 4, 0},
      {"row 4: Ctrl+V", "0.30", 4, 4, kCtrlV, 4, "0.30", 4, 0},
      {"row 4: Ctrl+Z", "0.3", 3, 3, kCtrlZ, 4, "0.3", 3, 0},
      {"row 4: minus into an empty field", "", 0, 0, '-', 4, "", 0, 0},
      {"row 4: Escape", "0.3", 3, 3, kEscape, 4, "0.3", 3, 0},
      {"row 5: '1' into an empty field", "", 0, 0, '1', 5, "1.00", 4, 1},
      {"row 6: '0' into an empty field", "", 0, 0, '0', 6, "0.", 2, 1},
      {"row 7: '5' into an empty field", "", 0, 0, '5', 7, "0.5", 3, 1},
      {"row 7: '9' into an empty field", "", 0, 0, '9', 7, "0.9", 3, 1},
      {"row 8: digit after the point", "0.5", 3, 3, '7', 8, "0.57", 4, 1},
      {"row 8: limit refuses a fifth character", "0.57", 4, 4, '9', 8, "0.57", 4, 0},
      {"row 8: digit in front of the marker", "?", 0, 0, '5', 8, "5?", 1, 1},
      {"row 8: digit after a text without point", "1", 1, 1, '2', 8, "12", 2, 1},
      {"row 9: backspace right after the point", "0.30", 2, 2, kBackspace, 9, "", 0, 1},
      {"row 9: backspace after the point of 1.00", "1.00", 2, 2, kBackspace, 9, "", 0, 1},
      {"row 9: backspace after a bare point", "0.", 2, 2, kBackspace, 9, "", 0, 1},
      {"row 10: backspace inside 1.00", "1.00", 3, 3, kBackspace, 10, "", 0, 1},
      {"row 10: backspace at the end of 1.00", "1.00", 4, 4, kBackspace, 10, "", 0, 1},
      {"row 11: backspace at the end", "0.30", 4, 4, kBackspace, 11, "0.3", 3, 1},
      {"row 11: backspace in an empty field", "", 0, 0, kBackspace, 11, "", 0, 0},
      {"row 11: backspace after a digit without point", "5?", 1, 1, kBackspace, 11, "?", 0, 1},
      {"row 12: letter over a selection", "0.30", 0, 4, 'a', 12, "0.30", -1, 0},
      {"row 12: Ctrl+A over a selection", "0.30", 2, 4, kCtrlA, 12, "0.30", -1, 0},
      {"row 12: Ctrl+X over a selection", "0.30", 0, 4, kCtrlX, 12, "0.30", -1, 0},
      {"row 13: '.' over the whole text", "0.30", 0, 4, '.', 13, "0.", 2, 1},
      {"row 13: '.' over a one-character text", "5", 0, 1, '.', 13, "0.", 2, 1},
      {"row 14: '5' over the first digit", "0.30", 0, 1, '5', 14, "0.30", -1, 0},
      {"row 15: '0' over the first digit of 1.00", "1.00", 0, 1, '0', 15, "0.00", 1, 1},
      {"row 15: backspace over the first digit", "0.30", 0, 1, kBackspace, 15, "0.30", 1, 1},
      {"row 15: '.' over the first digit", "0.30", 0, 1, '.', 15, "0.00", 1, 1},
      {"row 16: digit over the point", "0.30", 1, 2, '5', 16, "0.30", -1, 0},
      {"row 16: backspace over the point", "0.30", 1, 2, kBackspace, 16, "0.30", -1, 0},
      {"row 17: digit over the decimals of 1.00", "1.00", 2, 4, '5', 17, "1.00", -1, 0},
      {"row 17: backspace over a decimal of 1.00", "1.00", 3, 4, kBackspace, 17, "1.00", -1, 0},
      {"row 18: '1' over the whole text", "0.30", 0, 4, '1', 18, "1.00", 4, 1},
      {"row 19: '7' over the whole text", "0.30", 0, 4, '7', 19, "0.70", 4, 1},
      {"row 19: '0' over the whole text", "0.30", 0, 4, '0', 19, "0.00", 4, 1},
      {"row 19: backspace over the whole text", "0.30", 0, 4, kBackspace, 19, "0.00", 4, 1},
      {"row 19: digit over a decimal", "0.30", 2, 3, '5', 19, "0.50", 3, 1},
      {"row 19: digit over point and decimals of 1.00", "1.00", 1, 4, '5', 19, "0.15", 4, 1},
      {"row 19: '1' over 0.3", "0.30", 0, 3, '1', 19, "0.10", 3, 1},
      {"row 19: '7' over 0.", "0.30", 0, 2, '7', 19, "0.73", 2, 1},
      {"row 19: caret kept within a shorter result", "-55", 2, 3, '5', 19, "?", 1, 1},
  };
  return cases;
}

// The worked keystrokes: text and selection before, key, text and caret after.
inline const std::vector<KeystrokeCase>& WorkedCases() {
  static const std::vector<KeystrokeCase> cases = {
      {"'5' into empty", "", 0, 0, '5', 7, "0.5", 3, 1},
      {"'7' after 0.5", "0.5", 3, 3, '7', 8, "0.57", 4, 1},
      {"'9' after 0.57 meets the limit", "0.57", 4, 4, '9', 8, "0.57", 4, 0},
      {"'1' into empty", "", 0, 0, '1', 5, "1.00", 4, 1},
      {"'0' into empty", "", 0, 0, '0', 6, "0.", 2, 1},
      {"backspace into empty", "", 0, 0, kBackspace, 11, "", 0, 0},
      {"any key at caret 0", "0.30", 0, 0, '7', 2, "0.30", 0, 0},
      {"any key at caret 1", "0.30", 1, 1, '7', 2, "0.30", 1, 0},
      {"'.' at the end", "0.30", 4, 4, '.', 3, "0.", 2, 1},
      {"backspace at the end of 0.30", "0.30", 4, 4, kBackspace, 11, "0.3", 3, 1},
      {"backspace again", "0.3", 3, 3, kBackspace, 11, "0.", 2, 1},
      {"backspace once more", "0.", 2, 2, kBackspace, 9, "", 0, 1},
      {"backspace at 2 of 1.00", "1.00", 2, 2, kBackspace, 9, "", 0, 1},
      {"backspace at 3 of 1.00", "1.00", 3, 3, kBackspace, 10, "", 0, 1},
      {"backspace at 4 of 1.00", "1.00", 4, 4, kBackspace, 10, "", 0, 1},
      {"'7' over all", "0.30", 0, 4, '7', 19, "0.70", 4, 1},
      {"'1' over all", "0.30", 0, 4, '1', 18, "1.00", 4, 1},
      {"'0' over all", "0.30", 0, 4, '0', 19, "0.00", 4, 1},
      {"'.' over all", "0.30", 0, 4, '.', 13, "0.", 2, 1},
      {"backspace over all", "0.30", 0, 4, kBackspace, 19, "0.00", 4, 1},
      {"'1' over the first character", "0.30", 0, 1, '1', 1, "1.00", 0, 1},
      {"'5' over the first character", "0.30", 0, 1, '5', 14, "0.30", -1, 0},
      {"'0' over the first character of 1.00", "1.00", 0, 1, '0', 15, "0.00", 1, 1},
      {"backspace over the first character", "0.30", 0, 1, kBackspace, 15, "0.30", 1, 1},
      {"'5' over the 3", "0.30", 2, 3, '5', 19, "0.50", 3, 1},
      {"'5' over the point", "0.30", 1, 2, '5', 16, "0.30", -1, 0},
      {"'5' over 00 of 1.00", "1.00", 2, 4, '5', 17, "1.00", -1, 0},
      {"'5' over .00 of 1.00", "1.00", 1, 4, '5', 19, "0.15", 4, 1},
      {"'1' over 0.3", "0.30", 0, 3, '1', 19, "0.10", 3, 1},
      {"'7' over 0.", "0.30", 0, 2, '7', 19, "0.73", 2, 1},
  };
  return cases;
}

// The other events a field handles, with the edit control's own part: the
// Delete key, Enter, leaving the field and a paste.
enum class FieldEventCaseKind { kDelete, kEnter, kLeave, kPaste };

struct FieldEventCase {
  const char* name;
  const char* before;
  int start;
  int end;
  FieldEventCaseKind kind;
  const char* pasted;  // kPaste only
  bool limitSet;       // a keystroke has set the input limit before the event
  const char* after;
  int caret;          // caret after, with no selection; -1: the selection stays as it was
  bool consumed;      // the key goes no further than the field
  int notifications;  // how many times the owner is told of a change
};

inline const std::vector<FieldEventCase>& FieldEventCases() {
  using K = FieldEventCaseKind;
  static const std::vector<FieldEventCase> cases = {
      {"delete: whole text", "0.30", 0, 4, K::kDelete, "", true, "", 0, false, 1},
      {"delete: empty field", "", 0, 0, K::kDelete, "", true, "", 0, false, 0},
      {"delete: caret at 0 is consumed", "0.30", 0, 0, K::kDelete, "", true, "0.30", 0, true, 0},
      {"delete: from 0, not all", "0.30", 0, 2, K::kDelete, "", true, "0.30", -1, true, 0},
      {"delete: caret at 1 is consumed", "0.30", 1, 1, K::kDelete, "", true, "0.30", 1, true, 0},
      {"delete: character after the caret", "0.30", 2, 2, K::kDelete, "", true, "0.0", 2, false, 1},
      {"delete: the decimals", "0.30", 2, 4, K::kDelete, "", true, "0.", 2, false, 1},
      {"delete: caret at the end", "0.30", 4, 4, K::kDelete, "", true, "0.30", 4, false, 0},
      {"enter: one decimal", "0.5", 3, 3, K::kEnter, "", true, "0.50", 4, false, 1},
      {"enter: empty", "", 0, 0, K::kEnter, "", true, "0.00", 4, false, 1},
      {"enter: unchanged text is still told", "0.30", 4, 4, K::kEnter, "", true, "0.30", 4, false,
       1},
      {"enter: above one", "1.5", 3, 3, K::kEnter, "", true, "0.10", 4, false, 1},
      {"enter: reads the first four characters", "0.12345", 7, 7, K::kEnter, "", true, "0.12", 4,
       false, 1},
      {"leave: caret at the start", "0.5", 3, 3, K::kLeave, "", true, "0.50", 0, false, 1},
      {"leave: empty", "", 0, 0, K::kLeave, "", true, "0.00", 0, false, 1},
      {"leave: negative", "-5", 2, 2, K::kLeave, "", true, "?", 0, false, 1},
      {"paste: no limit before the first keystroke", "", 0, 0, K::kPaste, "0.123", false, "0.123",
       5, false, 1},
      {"paste: unfiltered at the caret", "0.5", 3, 3, K::kPaste, "0.123", false, "0.50.123", 8,
       false, 1},
      {"paste: over the whole text, cut to the limit", "0.5", 0, 3, K::kPaste, "abcdef", true,
       "abcd", 4, false, 1},
      {"paste: out of range, as it is", "0.30", 0, 4, K::kPaste, "-5", true, "-5", 2, false, 1},
      {"paste: no room left", "0.30", 4, 4, K::kPaste, "9", true, "0.30", 4, false, 0},
      {"paste: nothing over a selection deletes it", "0.30", 2, 4, K::kPaste, "", true, "0.", 2,
       false, 1},
  };
  return cases;
}
