// What a unit value field does with its text, as plain functions with no
// window: the normaliser, the character rules and the Enter and Delete rules.
// The field only reads its text and selection, asks these functions and
// applies the outcome, so every keystroke can be checked without a display.
//
// Texts here are one byte per character. Every rule reads at most the first
// kTextWindow characters of the field (see TextWindow); positions are
// character positions in the field, which may lie beyond that window.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How many characters of the field every operation reads, and how many the
// user may type once a keystroke has set the limit.
inline constexpr std::size_t kTextWindow = 4;
inline constexpr int kInputLimit = 4;

// Character codes the rules name.
inline constexpr unsigned kBackspace = 8;

// The first kTextWindow characters of a text.
std::string TextWindow(std::string_view text);

// Two-decimal text of the value the text reads as, or "?" when that value is
// negative, above 1 in single precision, or not a number at all.
std::string FormatInRange(std::string_view text);

// Canonical form of any text: "0.00" to "1.00", or "?".
std::string Normalize(std::string_view text);

// The selection as the field reports it: start <= end; equal for a caret.
struct Selection {
  int start = 0;
  int end = 0;
};

enum class CharAction {
  kSwallow,       // nothing happens, nobody is told
  kDefault,       // the edit control inserts the character or deletes before the caret
  kSet,           // set `text`; the caret stays where setting a text leaves it (the start)
  kSetWithCaret,  // set `text`, then put the caret at `caret`
  kReplace,       // the selection replaced and normalised: set `text`, caret at `caret`
};

struct CharOutcome {
  int row = 0;  // the rule that decided, 1 to 19
  CharAction action = CharAction::kSwallow;
  std::string text;
  int caret = 0;  // already kept within `text`
};

// The character rules. `window` is the field's text seen through TextWindow,
// `selection` the field's selection, `character` the code of one typed
// character (kBackspace for backspace).
CharOutcome CharRule(std::string_view window, Selection selection, unsigned character);

// Enter: the normalised text, with the caret to go at its end.
struct EnterOutcome {
  std::string text;
  int caret = 0;
};
EnterOutcome EnterRule(std::string_view window);

// Delete: whether the key goes on to the edit control or is consumed.
enum class DeleteAction { kPassOn, kConsume };
DeleteAction DeleteRule(std::string_view window, Selection selection);
