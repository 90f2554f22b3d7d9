// The field with no window: text, selection and limit as an edit control
// holds them, every event going through ApplyFieldEvent as the real field's
// do, and a count of the owner's notifications.
#pragma once

#include <string>

#include "core/field/field_edit.h"
#include "core/field/unit_rules.h"

struct EditModel {
  std::string text;
  Selection selection;
  int limit = kUnsetInputLimit;
  int notifications = 0;

  int Caret() const { return selection.end; }

  FieldResult Apply(const FieldEvent& event) {
    FieldResult result = ApplyFieldEvent({text, selection, limit}, event);
    text = result.state.text;
    selection = result.state.selection;
    limit = result.state.limit;
    notifications += result.changed ? 1 : 0;
    return result;
  }

  CharOutcome Type(unsigned character) { return Apply(FieldEvent::Character(character)).rule; }

  // The Delete key: returns false when the field consumed it.
  bool PressDelete() { return !Apply(FieldEvent::Delete()).consumed; }

  void PressEnter() { Apply(FieldEvent::Enter()); }
  void Leave() { Apply(FieldEvent::Leave()); }
  void Paste(const std::string& clip) { Apply(FieldEvent::Paste(clip)); }
};
