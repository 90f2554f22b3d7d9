// A stand-in for the edit control behind the rules, with no window: it
// applies a rule's outcome and does the control's own part (insert at the
// caret up to the limit, delete before the caret, delete the selection).
#pragma once

#include <algorithm>
#include <string>

#include "unit_rules.h"

struct EditModel {
  std::string text;
  Selection selection;
  int limit = 30000;  // until a keystroke sets it
  int notifications = 0;

  int Caret() const { return selection.end; }

  void SetText(std::string newText) {
    text = std::move(newText);
    selection = {0, 0};
    ++notifications;
  }
  void PlaceCaret(int position) {
    const int kept = std::clamp(position, 0, static_cast<int>(text.size()));
    selection = {kept, kept};
  }
  void EraseSelection() {
    text.erase(static_cast<std::size_t>(selection.start),
               static_cast<std::size_t>(selection.end - selection.start));
    selection.end = selection.start;
  }

  CharOutcome Type(unsigned character) {
    limit = kInputLimit;
    const CharOutcome outcome = CharRule(TextWindow(text), selection, character);
    switch (outcome.action) {
      case CharAction::kSwallow:
        break;
      case CharAction::kDefault:
        DefaultChar(character);
        break;
      case CharAction::kSet:
        SetText(outcome.text);
        break;
      case CharAction::kSetWithCaret:
      case CharAction::kReplace:
        SetText(outcome.text);
        PlaceCaret(outcome.caret);
        break;
    }
    return outcome;
  }

  void DefaultChar(unsigned character) {
    const std::string old = text;
    if (character == kBackspace) {
      if (selection.start == selection.end && selection.start > 0) {
        --selection.start;
      }
      EraseSelection();
    } else if (static_cast<int>(text.size()) - (selection.end - selection.start) + 1 <= limit) {
      EraseSelection();
      text.insert(static_cast<std::size_t>(selection.start), 1, static_cast<char>(character));
      PlaceCaret(selection.start + 1);
    }
    notifications += text != old ? 1 : 0;
  }

  // The Delete key: returns false when the field consumed it.
  bool PressDelete() {
    if (DeleteRule(TextWindow(text), selection) == DeleteAction::kConsume) {
      return false;
    }
    const std::string old = text;
    if (selection.start == selection.end && selection.end < static_cast<int>(text.size())) {
      ++selection.end;
    }
    EraseSelection();
    notifications += text != old ? 1 : 0;
    return true;
  }

  void PressEnter() {
    const EnterOutcome outcome = EnterRule(TextWindow(text));
    SetText(outcome.text);
    PlaceCaret(outcome.caret);
  }
};
