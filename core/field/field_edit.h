// The whole step from one event in a value field to the field's new text and
// selection: the rules of unit_rules.h and, where a rule leaves the key to
// it, the edit control's own part (insert within the limit, Backspace,
// Delete, paste cut to the limit). The Qt field, the page and the tests all
// go through ApplyFieldEvent; none of them edits the text by itself. Moving
// the caret and selecting with the mouse or the arrow keys stay the
// toolkit's.
#pragma once

#include <string>

#include "core/field/unit_rules.h"

// An edit control's input limit before a keystroke sets kInputLimit.
inline constexpr int kUnsetInputLimit = 32767;

// Texts hold one byte per character (per UTF-16 code unit in a shell): a
// character outside ASCII can never be part of a number, and a shell passes
// it as this code, which no rule accepts.
inline constexpr char kForeignCharacter = '\x7f';

struct FieldState {
  std::string text;
  Selection selection;  // start <= end, within the text; equal for a caret
  int limit = kUnsetInputLimit;
};

enum class FieldEventKind {
  kCharacter,  // a typed character code: digits, letters, kBackspace, control characters
  kDelete,     // the Delete key
  kEnter,      // the Enter key
  kLeave,      // the field loses the focus
  kPaste,      // text pasted from the clipboard, unfiltered
};

struct FieldEvent {
  FieldEventKind kind = FieldEventKind::kCharacter;
  unsigned character = 0;  // kCharacter only
  std::string pasted;      // kPaste only

  static FieldEvent Character(unsigned code) { return {FieldEventKind::kCharacter, code, {}}; }
  static FieldEvent Delete() { return {FieldEventKind::kDelete, 0, {}}; }
  static FieldEvent Enter() { return {FieldEventKind::kEnter, 0, {}}; }
  static FieldEvent Leave() { return {FieldEventKind::kLeave, 0, {}}; }
  static FieldEvent Paste(std::string text) { return {FieldEventKind::kPaste, 0, std::move(text)}; }
};

struct FieldResult {
  // Text, caret (a selection only where nothing changed) and limit after the event.
  FieldState state;
  // The key goes no further: the dialog around the field never sees it. Only
  // a Delete that its rule forbids; Enter and typed keys go on to the dialog.
  bool consumed = false;
  // The owner is told of a change (the window refreshes). Every text the field
  // sets counts, even an unchanged one; the control's own edits count when
  // they removed or inserted anything.
  bool changed = false;
  // The field set a whole new text: the owner is told while the caret is at
  // the start of it, and only then is the caret placed. Otherwise a change is
  // the control's own edit, told with the caret already after it.
  bool textSet = false;
  // How the old text became the new one: characters [replaceFrom, replaceTo)
  // of the old text replaced by `replacement`. A shell that keeps characters
  // outside ASCII splices its own text so (a paste's own characters for the
  // replacement of a paste).
  int replaceFrom = 0;
  int replaceTo = 0;
  std::string replacement;
  // For a typed character: the rule that decided (row 1 to 19) and its
  // outcome; row 0 for the other events.
  CharOutcome rule;
};

FieldResult ApplyFieldEvent(const FieldState& state, const FieldEvent& event);
