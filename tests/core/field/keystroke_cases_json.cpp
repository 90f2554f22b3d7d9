// Prints the tables of keystroke_cases.h as JSON, so that a shell written in
// another language (the page's browser tests) runs the very same cases:
// {"rows": [...], "worked": [...], "events": [...]}, one object per case with
// the fields of KeystrokeCase ("character" is the code typed, 8 for
// Backspace) or of FieldEventCase ("event" is "delete", "enter", "leave" or
// "paste").
#include <cstdio>
#include <string>
#include <vector>

#include "keystroke_cases.h"

namespace {

std::string Quoted(const char* text) {
  std::string quoted = "\"";
  for (const char* c = text; *c != '\0'; ++c) {
    const auto code = static_cast<unsigned char>(*c);
    if (*c == '"' || *c == '\\') {
      quoted += '\\';
      quoted += *c;
    } else if (code < 0x20 || code >= 0x7f) {
      static const char kHex[] = "0123456789abcdef";
      quoted += "\\u00";
      quoted += kHex[code >> 4];
      quoted += kHex[code & 0xf];
    } else {
      quoted += *c;
    }
  }
  return quoted + '"';
}

std::string Table(const std::vector<KeystrokeCase>& cases) {
  std::string json = "[";
  for (const KeystrokeCase& c : cases) {
    json += json.size() > 1 ? ",\n  " : "\n  ";
    json += "{\"name\": " + Quoted(c.name) + ", \"before\": " + Quoted(c.before) +
            ", \"start\": " + std::to_string(c.start) + ", \"end\": " + std::to_string(c.end) +
            ", \"character\": " + std::to_string(c.character) +
            ", \"row\": " + std::to_string(c.row) + ", \"after\": " + Quoted(c.after) +
            ", \"caret\": " + std::to_string(c.caret) +
            ", \"notifications\": " + std::to_string(c.notifications) + "}";
  }
  return json + "\n]";
}

const char* EventName(FieldEventCaseKind kind) {
  switch (kind) {
    case FieldEventCaseKind::kDelete:
      return "delete";
    case FieldEventCaseKind::kEnter:
      return "enter";
    case FieldEventCaseKind::kLeave:
      return "leave";
    case FieldEventCaseKind::kPaste:
      break;
  }
  return "paste";
}

std::string Events(const std::vector<FieldEventCase>& cases) {
  std::string json = "[";
  for (const FieldEventCase& c : cases) {
    json += json.size() > 1 ? ",\n  " : "\n  ";
    json += "{\"name\": " + Quoted(c.name) + ", \"before\": " + Quoted(c.before) +
            ", \"start\": " + std::to_string(c.start) + ", \"end\": " + std::to_string(c.end) +
            ", \"event\": \"" + EventName(c.kind) + "\", \"pasted\": " + Quoted(c.pasted) +
            ", \"limitSet\": " + (c.limitSet ? "true" : "false") +
            ", \"after\": " + Quoted(c.after) + ", \"caret\": " + std::to_string(c.caret) +
            ", \"consumed\": " + (c.consumed ? "true" : "false") +
            ", \"notifications\": " + std::to_string(c.notifications) + "}";
  }
  return json + "\n]";
}

}  // namespace

int main() {
  const std::string json = "{\"rows\": " + Table(RowCases()) +
                           ",\n\"worked\": " + Table(WorkedCases()) +
                           ",\n\"events\": " + Events(FieldEventCases()) + "}\n";
  return std::fputs(json.c_str(), stdout) >= 0 ? 0 : 1;
}
