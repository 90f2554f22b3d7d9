#include "core/field/field_edit.h"

#include <algorithm>

namespace {

int Length(const std::string& text) {
  return static_cast<int>(text.size());
}

// The field sets a whole text: the caret goes to its start, where the owner
// is told, and then to `caret`.
void SetText(FieldResult& result, std::string text, int caret) {
  result.replaceFrom = 0;
  result.replaceTo = Length(result.state.text);
  result.replacement = text;
  result.state.text = std::move(text);
  const int placed = std::clamp(caret, 0, Length(result.state.text));
  result.state.selection = {placed, placed};
  result.changed = true;
  result.textSet = true;
}

// The edit control replaces [from, to) with `inserted` and puts the caret
// after it; with nothing removed or inserted nothing happens.
void Splice(FieldResult& result, int from, int to, const std::string& inserted) {
  if (from == to && inserted.empty()) {
    return;
  }
  result.state.text.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from),
                            inserted);
  const int caret = from + Length(inserted);
  result.state.selection = {caret, caret};
  result.replaceFrom = from;
  result.replaceTo = to;
  result.replacement = inserted;
  result.changed = true;
}

// Room the limit leaves for new characters in place of the selection; the
// limit stops input, it never cuts a longer text already there.
int Room(const FieldState& state) {
  const int kept = Length(state.text) - (state.selection.end - state.selection.start);
  return std::max(0, state.limit - kept);
}

void ControlTypes(FieldResult& result, unsigned character) {
  const FieldState& before = result.state;
  const Selection selection = before.selection;
  if (character == kBackspace) {
    if (selection.start != selection.end) {
      Splice(result, selection.start, selection.end, "");
    } else if (selection.start > 0) {
      Splice(result, selection.start - 1, selection.start, "");
    }
    return;
  }
  if (Room(before) >= 1) {
    Splice(result, selection.start, selection.end, std::string(1, static_cast<char>(character)));
  }
}

void TypeCharacter(FieldResult& result, unsigned character) {
  result.state.limit = kInputLimit;
  result.rule = CharRule(TextWindow(result.state.text), result.state.selection, character);
  const CharOutcome& outcome = result.rule;
  switch (outcome.action) {
    case CharAction::kSwallow:
      break;
    case CharAction::kDefault:
      ControlTypes(result, character);
      break;
    case CharAction::kSet:
      SetText(result, outcome.text, 0);
      break;
    case CharAction::kSetWithCaret:
    case CharAction::kReplace:
      SetText(result, outcome.text, outcome.caret);
      break;
  }
}

void PressDelete(FieldResult& result) {
  const Selection selection = result.state.selection;
  if (DeleteRule(TextWindow(result.state.text), selection) == DeleteAction::kConsume) {
    result.consumed = true;
    return;
  }
  if (selection.start != selection.end) {
    Splice(result, selection.start, selection.end, "");
  } else if (selection.start < Length(result.state.text)) {
    Splice(result, selection.start, selection.start + 1, "");
  }
}

void Paste(FieldResult& result, const std::string& pasted) {
  const auto room = static_cast<std::size_t>(Room(result.state));
  const Selection selection = result.state.selection;
  Splice(result, selection.start, selection.end, pasted.substr(0, room));
}

}  // namespace

FieldResult ApplyFieldEvent(const FieldState& state, const FieldEvent& event) {
  FieldResult result;
  result.state = state;
  // An edit control reports a selection within its text, start first.
  const int length = Length(state.text);
  Selection& selection = result.state.selection;
  selection.start = std::clamp(selection.start, 0, length);
  selection.end = std::clamp(selection.end, selection.start, length);
  switch (event.kind) {
    case FieldEventKind::kCharacter:
      TypeCharacter(result, event.character);
      break;
    case FieldEventKind::kDelete:
      PressDelete(result);
      break;
    case FieldEventKind::kEnter: {
      const EnterOutcome outcome = EnterRule(TextWindow(result.state.text));
      SetText(result, outcome.text, outcome.caret);
      break;
    }
    case FieldEventKind::kLeave:
      SetText(result, Normalize(TextWindow(result.state.text)), 0);
      break;
    case FieldEventKind::kPaste:
      Paste(result, event.pasted);
      break;
  }
  return result;
}
