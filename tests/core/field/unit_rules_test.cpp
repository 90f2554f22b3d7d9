#include "core/field/unit_rules.h"

#include <gtest/gtest.h>

#include <clocale>
#include <random>
#include <set>
#include <string>

#include "core/field/field_edit.h"
#include "core/numbers/number_text.h"
#include "edit_model.h"
#include "keystroke_cases.h"

namespace {

struct TextCase {
  const char* name;
  const char* text;
  const char* result;
};

std::set<std::string> CanonicalTexts() {
  std::set<std::string> texts = {"1.00"};
  for (int i = 0; i < 100; ++i) {
    texts.insert(std::string("0.") + static_cast<char>('0' + i / 10) +
                 static_cast<char>('0' + i % 10));
  }
  return texts;
}

TEST(Normalize, WorkedExamplesThroughBothSteps) {
  const TextCase cases[] = {
      {"empty becomes 0", "", "0.00"},
      {"bare point", ".", "0.00"},
      {"leading point", ".5", "0.50"},
      {"leading point keeps one digit", ".57", "0.50"},
      {"zero", "0", "0.00"},
      {"two zeros", "00", "0.00"},
      {"leading zero then digit", "05", "0.50"},
      {"zero point", "0.", "0.00"},
      {"one decimal", "0.5", "0.50"},
      {"three decimals", "0.123", "0.12"},
      {"one is not above one", "1", "1.00"},
      {"one point zero", "1.0", "1.00"},
      {"1.5 reads up to the second point", "1.5", "0.10"},
      {"1.99 likewise", "1.99", "0.10"},
      {"digit above one becomes decimals", "5", "0.50"},
      {"two digits", "12", "0.12"},
      {"ninety-nine", "99", "0.99"},
      {"hundred", "100", "0.10"},
      {"exact half rounds up", "125", "0.13"},
      {"letters read zero", "abc", "0.00"},
      {"the marker reads zero", "?", "0.00"},
      {"digit before the marker", "5?", "0.50"},
      {"negative", "-5", "?"},
      {"exponent beyond one", "2e5", "?"},
      {"four nines round to one", "9999", "1.00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Normalize(c.text), c.result) << c.name << ": \"" << c.text << "\"";
  }
}

TEST(Normalize, TextsTypingLeavesBetweenNormalisations) {
  const TextCase cases[] = {
      {"one point", "1.", "1.00"},
      {"1.05 reads as 1.05, above one", "1.05", "0.10"},
      {"pasted five decimals, as read through the window", "0.12", "0.12"},
      {"marker after a digit", "0.5?", "0.50"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Normalize(c.text), c.result) << c.name;
  }
}

TEST(Normalize, NumbersTheReaderAcceptsButNoFieldShows) {
  const TextCase cases[] = {
      {"not a number is outside [0,1]", "nan", "?"},
      {"negative not a number", "-nan", "?"},
      {"infinity above one: its digits after 0. read nothing", "inf", "0.00"},
      {"negative infinity", "-inf", "?"},
      {"overflow to infinity", "1e999", "?"},
      {"beyond the float range", "1e39", "?"},
      {"negative zero is zero", "-0", "0.00"},
      {"negative zero with decimals", "-0.00", "0.00"},
      {"tiny negative", "-0.001", "?"},
      {"hexadecimal one", "0x1", "1.00"},
      {"leading blank above one", " 5", "0.00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Normalize(c.text), c.result) << c.name;
  }
}

TEST(FormatInRange, RangeIsJudgedInSinglePrecision) {
  const TextCase cases[] = {
      {"exact half", "0.125", "0.13"},
      {"three eighths", "0.375", "0.38"},
      {"rounds to one", "0.999", "1.00"},
      {"just above one rounds to one in single precision", "1.00000001", "1.00"},
      {"above one in single precision", "1.0001", "?"},
      {"above one", "1.5", "?"},
      {"negative", "-0.5", "?"},
      {"not a number", "nan", "?"},
      {"infinity", "inf", "?"},
      {"no number", "", "0.00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatInRange(c.text), c.result) << c.name;
  }
}

TEST(Normalize, SetValueTexts) {
  struct ValueCase {
    const char* name;
    float value;
    const char* result;
  };
  const ValueCase cases[] = {
      {"degree start value", 0.3f, "0.30"}, {"estimate start value", 0.9f, "0.90"},
      {"exact half", 0.125f, "0.13"},       {"above one", 1.5f, "0.10"},
      {"well above one", 12.5f, "0.12"},    {"negative", -0.25f, "?"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Normalize(FormatFixed2(static_cast<double>(c.value))), c.result) << c.name;
  }
}

TEST(Normalize, CommaLocaleChangesNothing) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  }
  EXPECT_EQ(Normalize("0.5"), "0.50");
  EXPECT_EQ(Normalize("0,5"), "0.00");
  EXPECT_EQ(Normalize("125"), "0.13");
  std::setlocale(LC_ALL, "C");
}

void ExpectKeystroke(const KeystrokeCase& c) {
  EditModel field{c.before, {c.start, c.end}};
  const CharOutcome outcome = field.Type(c.character);
  EXPECT_EQ(outcome.row, c.row) << c.name;
  EXPECT_EQ(field.text, c.after) << c.name;
  if (c.caret >= 0) {
    EXPECT_EQ(field.selection.start, c.caret) << c.name;
    EXPECT_EQ(field.selection.end, c.caret) << c.name;
  } else {
    EXPECT_EQ(field.selection.start, c.start) << c.name;
    EXPECT_EQ(field.selection.end, c.end) << c.name;
  }
  EXPECT_EQ(field.notifications, c.notifications) << c.name;
}

TEST(CharRule, EveryRowInItsOrder) {
  for (const auto& c : RowCases()) {
    ExpectKeystroke(c);
  }
}

TEST(CharRule, WorkedKeystrokes) {
  for (const auto& c : WorkedCases()) {
    ExpectKeystroke(c);
  }
}

TEST(CharRule, OutcomesSayWhatTheFieldDoes) {
  struct OutcomeCase {
    const char* name;
    const char* window;
    Selection selection;
    unsigned character;
    CharAction action;
    const char* text;
    int caret;
  };
  const OutcomeCase cases[] = {
      {"set without caret", "0.30", {0, 1}, '1', CharAction::kSet, "1.00", 0},
      {"set with caret", "", {0, 0}, '5', CharAction::kSetWithCaret, "0.5", 3},
      {"replace keeps the old selection end", "0.30", {0, 2}, '7', CharAction::kReplace, "0.73", 2},
      {"default", "0.5", {3, 3}, '7', CharAction::kDefault, "", 0},
      {"swallow", "0.30", {0, 0}, '7', CharAction::kSwallow, "", 0},
  };
  for (const auto& c : cases) {
    const CharOutcome outcome = CharRule(c.window, c.selection, c.character);
    EXPECT_EQ(outcome.action, c.action) << c.name;
    EXPECT_EQ(outcome.text, c.text) << c.name;
    EXPECT_EQ(outcome.caret, c.caret) << c.name;
  }
}

TEST(CharRule, OnlyTheTextWindowCounts) {
  // A pasted "0.123" is seen as "0.12": the caret at 5 lies beyond the window.
  EditModel field{"0.123", {5, 5}};
  EXPECT_EQ(field.Type('4').row, 8);
  EXPECT_EQ(field.text, "0.123") << "the limit refuses input into a longer text";
  EXPECT_EQ(field.Type(kBackspace).row, 11);
  EXPECT_EQ(field.text, "0.12");

  EditModel wholeLong{"0.123", {0, 5}};
  EXPECT_EQ(wholeLong.Type('.').row, 19) << "the whole text is not the whole window";
  EXPECT_EQ(wholeLong.text, "0.00");
  EXPECT_EQ(wholeLong.Caret(), 4);
}

TEST(EnterRule, NormalisesWithTheCaretAtTheEnd) {
  const TextCase cases[] = {
      {"empty", "", "0.00"},        {"bare point", "0.", "0.00"},  {"one decimal", "0.5", "0.50"},
      {"above one", "1.5", "0.10"}, {"unchanged", "0.30", "0.30"}, {"negative", "-5", "?"},
  };
  for (const auto& c : cases) {
    const EnterOutcome outcome = EnterRule(c.text);
    EXPECT_EQ(outcome.text, c.result) << c.name;
    EXPECT_EQ(outcome.caret, static_cast<int>(outcome.text.size())) << c.name;
  }
}

TEST(DeleteRule, TheSelectionDecides) {
  struct DeleteCase {
    const char* name;
    const char* window;
    Selection selection;
    DeleteAction action;
  };
  const DeleteCase cases[] = {
      {"whole text selected", "0.30", {0, 4}, DeleteAction::kPassOn},
      {"empty field", "", {0, 0}, DeleteAction::kPassOn},
      {"caret at 0", "0.30", {0, 0}, DeleteAction::kConsume},
      {"first two selected", "0.30", {0, 2}, DeleteAction::kConsume},
      {"caret at 1", "0.30", {1, 1}, DeleteAction::kConsume},
      {"from 1 to the end", "0.30", {1, 4}, DeleteAction::kConsume},
      {"caret at 2", "0.30", {2, 2}, DeleteAction::kPassOn},
      {"caret at the end", "0.30", {4, 4}, DeleteAction::kPassOn},
      {"decimals selected", "0.30", {2, 4}, DeleteAction::kPassOn},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DeleteRule(c.window, c.selection), c.action) << c.name;
  }
}

TEST(DeleteRule, FromOneThroughTheDecimals) {
  // Delete at 2 of "1.00" leaves "1.0", then "1."; '5' then gives "1.5",
  // which reads above one until it is normalised to "0.10".
  EditModel field{"1.00", {2, 2}};
  EXPECT_TRUE(field.PressDelete());
  EXPECT_EQ(field.text, "1.0");
  EXPECT_TRUE(field.PressDelete());
  EXPECT_EQ(field.text, "1.");
  field.Type('5');
  EXPECT_EQ(field.text, "1.5");
  EXPECT_DOUBLE_EQ(ParseDouble(TextWindow(field.text)), 1.5);
  field.PressEnter();
  EXPECT_EQ(field.text, "0.10");
  EXPECT_EQ(field.Caret(), 4);
}

TEST(DeleteRule, OverTheWholeTextEmptiesTheField) {
  EditModel field{"0.30", {0, 4}};
  EXPECT_TRUE(field.PressDelete());
  EXPECT_EQ(field.text, "");
}

FieldEvent EventOf(const FieldEventCase& c) {
  switch (c.kind) {
    case FieldEventCaseKind::kDelete:
      return FieldEvent::Delete();
    case FieldEventCaseKind::kEnter:
      return FieldEvent::Enter();
    case FieldEventCaseKind::kLeave:
      return FieldEvent::Leave();
    case FieldEventCaseKind::kPaste:
      break;
  }
  return FieldEvent::Paste(c.pasted);
}

TEST(ApplyFieldEvent, DeleteEnterLeaveAndPaste) {
  for (const auto& c : FieldEventCases()) {
    EditModel field{c.before, {c.start, c.end}, c.limitSet ? kInputLimit : kUnsetInputLimit};
    const FieldResult result = field.Apply(EventOf(c));
    EXPECT_EQ(field.text, c.after) << c.name;
    const Selection expected =
        c.caret >= 0 ? Selection{c.caret, c.caret} : Selection{c.start, c.end};
    EXPECT_EQ(field.selection.start, expected.start) << c.name;
    EXPECT_EQ(field.selection.end, expected.end) << c.name;
    EXPECT_EQ(result.consumed, c.consumed) << c.name;
    EXPECT_EQ(field.notifications, c.notifications) << c.name;
    EXPECT_EQ(field.limit, c.limitSet ? kInputLimit : kUnsetInputLimit)
        << c.name << ": only typing sets it";
  }
}

// What a shell needs beyond the new text: whether the field set a whole text
// (the owner told with the caret at the start) or the control edited in place,
// and where, so that characters outside ASCII survive in the shell's own text.
TEST(ApplyFieldEvent, SaysHowTheTextChanged) {
  struct HowCase {
    const char* name;
    FieldState before;
    FieldEvent event;
    bool textSet;
    int from;
    int to;
    const char* replacement;
  };
  const std::string foreign = std::string("0.") + kForeignCharacter + "5";
  const HowCase cases[] = {
      {"a rule sets the text",
       {"0.30", {0, 4}, kInputLimit},
       FieldEvent::Character('7'),
       true,
       0,
       4,
       "0.70"},
      {"the control inserts a digit",
       {"0.5", {3, 3}, kInputLimit},
       FieldEvent::Character('7'),
       false,
       3,
       3,
       "7"},
      {"the control deletes before the caret",
       {foreign, {4, 4}, kInputLimit},
       FieldEvent::Character(kBackspace),
       false,
       3,
       4,
       ""},
      {"a paste keeps its place",
       {foreign, {2, 3}, kInputLimit},
       FieldEvent::Paste(std::string(1, kForeignCharacter)),
       false,
       2,
       3,
       "\x7f"},
      {"leaving normalises the whole text",
       {foreign, {0, 0}, kInputLimit},
       FieldEvent::Leave(),
       true,
       0,
       4,
       "0.00"},
      {"a swallowed key changes nothing",
       {foreign, {0, 0}, kInputLimit},
       FieldEvent::Character('5'),
       false,
       0,
       0,
       ""},
  };
  for (const auto& c : cases) {
    const FieldResult result = ApplyFieldEvent(c.before, c.event);
    EXPECT_EQ(result.textSet, c.textSet) << c.name;
    EXPECT_EQ(result.replaceFrom, c.from) << c.name;
    EXPECT_EQ(result.replaceTo, c.to) << c.name;
    EXPECT_EQ(result.replacement, c.replacement) << c.name;
    std::string spliced = c.before.text;
    spliced.replace(static_cast<std::size_t>(c.from), static_cast<std::size_t>(c.to - c.from),
                    c.replacement);
    EXPECT_EQ(spliced, result.state.text) << c.name;
  }
}

// A selection an edit control would never report is taken as the nearest it
// would: the rules and the control's part never reach outside the text.
TEST(ApplyFieldEvent, SelectionsOutsideTheTextAreKeptWithinIt) {
  const FieldResult backwards =
      ApplyFieldEvent({"0.30", {4, 2}, kInputLimit}, FieldEvent::Delete());
  EXPECT_EQ(backwards.state.text, "0.30") << "an empty selection at 4 deletes nothing";
  const FieldResult beyond = ApplyFieldEvent({"0.3", {2, 9}, kInputLimit}, FieldEvent::Paste("5"));
  EXPECT_EQ(beyond.state.text, "0.5");
  EXPECT_EQ(beyond.state.selection.end, 3);
}

// Random texts and selections: normalising always gives "?" or a canonical
// text, and no keystroke fails or leaves the caret outside the text.
TEST(Property, RandomTextsAndKeystrokes) {
  const std::string alphabet = "0123456789.-e?ab ";
  const unsigned keys[] = {'0', '1', '2', '5', '9', '.', kBackspace, 'a', '?', '-', kCtrlV, 13};
  const std::set<std::string> canonical = CanonicalTexts();
  const std::set<std::string> typingTexts = {"", "0.", "1.00", "?"};
  std::mt19937 random(20240611);
  for (int i = 0; i < 200000; ++i) {
    const auto length = std::uniform_int_distribution<int>(0, 8)(random);
    std::string text;
    for (int k = 0; k < length; ++k) {
      text += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
    }
    const std::string normal = Normalize(text);
    ASSERT_TRUE(normal == "?" || canonical.count(normal) == 1) << '"' << text << "\" -> " << normal;

    int start = std::uniform_int_distribution<int>(0, length)(random);
    int end = std::uniform_int_distribution<int>(0, length)(random);
    if (start > end) {
      std::swap(start, end);
    }
    EditModel field{text, {start, end}};
    const unsigned key =
        keys[std::uniform_int_distribution<std::size_t>(0, std::size(keys) - 1)(random)];
    const CharOutcome outcome = field.Type(key);
    ASSERT_GE(outcome.row, 1);
    ASSERT_LE(outcome.row, 19);
    ASSERT_GE(field.selection.start, 0) << text;
    ASSERT_LE(field.selection.end, static_cast<int>(field.text.size())) << text;
    if (outcome.action != CharAction::kSwallow && outcome.action != CharAction::kDefault) {
      const bool oneDecimal = field.text.size() == 3 && field.text.rfind("0.", 0) == 0;
      ASSERT_TRUE(canonical.count(field.text) == 1 || typingTexts.count(field.text) == 1 ||
                  oneDecimal)
          << '"' << text << "\" key " << key << " -> \"" << field.text << '"';
    }
    if (outcome.action == CharAction::kDefault) {
      ASSERT_LE(field.text.size(), std::max<std::size_t>(text.size(), kTextWindow))
          << "default typing never grows a text past the limit";
    }
  }
}

}  // namespace
