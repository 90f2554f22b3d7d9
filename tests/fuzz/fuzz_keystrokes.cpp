// Fuzzes the value field's keystroke rules and the field step around them
// (ApplyFieldEvent): one character, Enter or Delete on any field text of up
// to eight bytes with any selection.
//
// Input layout (shorter inputs are padded with zeros):
//   byte 0     bits 0-1: 0 or 1 a character, 2 Enter, 3 Delete;
//              bit 2: positions outside what an edit control reports
//   bytes 1-2  selection start and end
//   bytes 3-6  character code, little-endian
//   bytes 7-14 the field's text (anything after it is ignored)
//
// An edit control reports 0 <= start <= end <= length, so the bytes are folded
// into that range. With bit 2 set they are taken as signed positions instead
// (-127 to 126, and the int extremes for 0x80 and 0x7f), in either order: the
// field never passes such a selection, but a rule must not fail on one.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/field/field_edit.h"
#include "core/field/unit_rules.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t kMaxFieldText = 8;

struct Keystroke {
  enum class Key { kCharacter, kEnter, kDelete } key = Key::kCharacter;
  bool outsideControlRange = false;
  Selection selection;
  unsigned character = 0;
  std::string text;
};

int OutsidePosition(std::uint8_t byte) {
  if (byte == 0x80) {
    return INT_MIN;
  }
  if (byte == 0x7f) {
    return INT_MAX;
  }
  return static_cast<std::int8_t>(byte);
}

Keystroke Decode(const std::uint8_t* data, std::size_t size) {
  std::uint8_t head[7] = {};
  std::copy_n(data, std::min(size, sizeof head), head);
  Keystroke k;
  const unsigned kind = head[0] & 3u;
  k.key = kind == 2   ? Keystroke::Key::kEnter
          : kind == 3 ? Keystroke::Key::kDelete
                      : Keystroke::Key::kCharacter;
  k.outsideControlRange = (head[0] & 4u) != 0;
  k.character = static_cast<unsigned>(head[3]) | static_cast<unsigned>(head[4]) << 8 |
                static_cast<unsigned>(head[5]) << 16 | static_cast<unsigned>(head[6]) << 24;
  if (size > sizeof head) {
    const std::size_t length = std::min(size - sizeof head, kMaxFieldText);
    k.text.assign(reinterpret_cast<const char*>(data) + sizeof head, length);
  }
  if (k.outsideControlRange) {
    k.selection = {OutsidePosition(head[1]), OutsidePosition(head[2])};
  } else {
    const unsigned positions = static_cast<unsigned>(k.text.size()) + 1;
    int start = static_cast<int>(head[1] % positions);
    int end = static_cast<int>(head[2] % positions);
    k.selection = {std::min(start, end), std::max(start, end)};
  }
  return k;
}

// The same field with every byte past the window changed: the rules read the
// window alone, so nothing they decide may differ. Flipping the top bit turns
// every digit, point and letter into a byte of another class; flipping the
// lowest one turns '.' into '/' and each digit into its neighbour.
std::string ChangedBeyondWindow(std::string text, unsigned char flip) {
  for (std::size_t i = kTextWindow; i < text.size(); ++i) {
    text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ flip);
  }
  return text;
}

// The window as the field's own text buffer holds it: a view that ends at the
// window while the field's further bytes follow in memory. A rule that read
// past the view's end would see those bytes.
std::string_view WindowOf(const std::string& fieldText) {
  return {fieldText.data(), std::min(fieldText.size(), kTextWindow)};
}

std::string Describe(const Keystroke& k) {
  std::string key = k.key == Keystroke::Key::kEnter    ? "Enter"
                    : k.key == Keystroke::Key::kDelete ? "Delete"
                                                       : "character " + std::to_string(k.character);
  return key + " on " + Escaped(k.text) + " with selection " + std::to_string(k.selection.start) +
         ".." + std::to_string(k.selection.end);
}

bool SameOutcome(const CharOutcome& a, const CharOutcome& b) {
  return a.row == b.row && a.action == b.action && a.text == b.text && a.caret == b.caret;
}

bool IsOneDecimalStart(std::string_view text) {
  // "0." and one digit from 2 to 9: what typing 2 to 9 into an empty field sets.
  return text.size() == 3 && text.substr(0, 2) == "0." && text[2] >= '2' && text[2] <= '9';
}

bool Accepted(unsigned character) {
  return (character >= '0' && character <= '9') || character == '.' || character == kBackspace;
}

void CheckCharacter(const Keystroke& k) {
  const ExactText window(TextWindow(k.text));
  const CharOutcome outcome = CharRule(window.view(), k.selection, k.character);
  const std::string what = Describe(k) + " gave row " + std::to_string(outcome.row) + ", text " +
                           Escaped(outcome.text) + ", caret " + std::to_string(outcome.caret);

  Require(outcome.row >= 1 && outcome.row <= 19, "no rule decided: " + what);
  Require(outcome.caret >= 0 && outcome.caret <= static_cast<int>(outcome.text.size()),
          "caret outside its text: " + what);
  switch (outcome.action) {
    case CharAction::kSwallow:
    case CharAction::kDefault:
      Require(outcome.text.empty() && outcome.caret == 0,
              "an outcome that sets nothing carries a text: " + what);
      break;
    case CharAction::kSet:
      // Backspace that clears the field, or '1' over the first character.
      Require(outcome.text.empty() || outcome.text == "1.00", "unexpected set text: " + what);
      Require(outcome.caret == 0, "setting a text leaves the caret at the start: " + what);
      break;
    case CharAction::kSetWithCaret:
      Require(outcome.text == "0." || outcome.text == "1.00" || IsOneDecimalStart(outcome.text),
              "unexpected typed text: " + what);
      break;
    case CharAction::kReplace:
      Require(IsNormalised(outcome.text), "a replaced selection is not normalised: " + what);
      break;
    default:
      Broken("unknown action: " + what);
  }
  Require(Accepted(k.character) || outcome.action == CharAction::kSwallow,
          "a character the field never accepts got through: " + what);
  Require(outcome.action != CharAction::kDefault || k.selection.start == k.selection.end,
          "a selection went to default processing unnormalised: " + what);

  for (const unsigned char flip : {0x80, 0x01}) {
    const std::string other = ChangedBeyondWindow(k.text, flip);
    const CharOutcome again = CharRule(WindowOf(other), k.selection, k.character);
    Require(SameOutcome(outcome, again),
            "bytes beyond the window changed the outcome: " + what + "; with " + Escaped(other) +
                " row " + std::to_string(again.row) + ", text " + Escaped(again.text));
  }
}

void CheckEnter(const Keystroke& k) {
  const ExactText window(TextWindow(k.text));
  const EnterOutcome outcome = EnterRule(window.view());
  const std::string what =
      Describe(k) + " gave " + Escaped(outcome.text) + ", caret " + std::to_string(outcome.caret);
  Require(IsNormalised(outcome.text), "Enter left a text that is not normalised: " + what);
  Require(outcome.caret == static_cast<int>(outcome.text.size()),
          "Enter leaves the caret elsewhere than at the end: " + what);
  for (const unsigned char flip : {0x80, 0x01}) {
    const std::string other = ChangedBeyondWindow(k.text, flip);
    Require(EnterRule(WindowOf(other)).text == outcome.text,
            "bytes beyond the window changed Enter: " + what + "; with " + Escaped(other));
  }
}

void CheckDelete(const Keystroke& k) {
  const ExactText window(TextWindow(k.text));
  const DeleteAction action = DeleteRule(window.view(), k.selection);
  const std::string what =
      Describe(k) + (action == DeleteAction::kPassOn ? " passed on" : " was consumed");
  Require(action == DeleteAction::kPassOn || action == DeleteAction::kConsume,
          "unknown Delete outcome: " + what);
  // The digit before the point and the point itself go only with the whole
  // text; otherwise the field would show a text such as ".30" or "030".
  const std::string_view seen = window.view();
  const bool wholeText = k.selection.start == 0 && k.selection.end == static_cast<int>(seen.size());
  const bool touchesLead = k.selection.start == 0 || k.selection.start == 1;
  if (!k.outsideControlRange && IsCanonical(seen) && touchesLead && !wholeText) {
    Require(action == DeleteAction::kConsume, "Delete reached the digit before the point: " + what);
  }
  for (const unsigned char flip : {0x80, 0x01}) {
    const std::string other = ChangedBeyondWindow(k.text, flip);
    Require(DeleteRule(WindowOf(other), k.selection) == action,
            "bytes beyond the window changed Delete: " + what + "; with " + Escaped(other));
  }
}

// The whole step as the field and the page take it: whatever selection comes
// in, the result is a text the splice describes, a caret within it, and for a
// selection an edit control reports, the very decisions of the rules.
void CheckFieldEvent(const Keystroke& k) {
  const FieldEvent event = k.key == Keystroke::Key::kEnter    ? FieldEvent::Enter()
                           : k.key == Keystroke::Key::kDelete ? FieldEvent::Delete()
                                                              : FieldEvent::Character(k.character);
  const FieldResult result = ApplyFieldEvent({k.text, k.selection, kInputLimit}, event);
  const std::string what = Describe(k) + " gave " + Escaped(result.state.text) + " at " +
                           std::to_string(result.state.selection.start) + ".." +
                           std::to_string(result.state.selection.end);
  const int length = static_cast<int>(result.state.text.size());
  Require(0 <= result.state.selection.start &&
              result.state.selection.start <= result.state.selection.end &&
              result.state.selection.end <= length,
          "selection outside the new text: " + what);
  const int oldLength = static_cast<int>(k.text.size());
  Require(0 <= result.replaceFrom && result.replaceFrom <= result.replaceTo &&
              result.replaceTo <= oldLength,
          "splice outside the old text: " + what);
  std::string spliced = k.text;
  spliced.replace(static_cast<std::size_t>(result.replaceFrom),
                  static_cast<std::size_t>(result.replaceTo - result.replaceFrom),
                  result.replacement);
  Require(spliced == result.state.text, "the splice does not give the new text: " + what);
  Require(result.changed || spliced == k.text, "a change nobody is told of: " + what);
  Require(!result.textSet || result.changed, "a text set untold: " + what);
  Require(length <= std::max(oldLength, kInputLimit) || result.textSet,
          "the control typed past the limit: " + what);
  if (!k.outsideControlRange) {
    if (k.key == Keystroke::Key::kCharacter) {
      const CharOutcome rule = CharRule(TextWindow(k.text), k.selection, k.character);
      Require(SameOutcome(rule, result.rule), "another rule decided: " + what);
    }
    if (k.key == Keystroke::Key::kDelete) {
      const bool consume = DeleteRule(TextWindow(k.text), k.selection) == DeleteAction::kConsume;
      Require(result.consumed == consume, "Delete decided otherwise: " + what);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Keystroke k = Decode(data, size);
  switch (k.key) {
    case Keystroke::Key::kCharacter:
      CheckCharacter(k);
      break;
    case Keystroke::Key::kEnter:
      CheckEnter(k);
      break;
    case Keystroke::Key::kDelete:
      CheckDelete(k);
      break;
  }
  CheckFieldEvent(k);
  return 0;
}
