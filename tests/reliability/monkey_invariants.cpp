#include "monkey_invariants.h"

#include <optional>

#include "core/log/output_log.h"
#include "core/numbers/number_text.h"

std::string CheckStepCount(const char* view, int count) {
  if (count == 0 || (count >= 2 && count <= kSeriesLength)) {
    return {};
  }
  return std::string(view) + " step counter at " + std::to_string(count);
}

std::string CheckFieldAtRest(const char* field, std::string_view text) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (text == "?" || text == "1.00" ||
      (text.size() == 4 && text[0] == '0' && text[1] == '.' && digit(text[2]) && digit(text[3]))) {
    return {};
  }
  return std::string(field) + " shows \"" + std::string(text) + "\" without the focus";
}

namespace {

struct LogEntry {
  std::string step;   // the digits between the brackets
  std::string value;  // the text after " = "
  bool endsLine = false;
  std::size_t length = 0;
};

// "    x[NN] = V" with an optional line end, at the start of `text`.
std::optional<LogEntry> ReadEntry(std::string_view text) {
  constexpr std::string_view kOpen = "    x[";
  constexpr std::string_view kMiddle = "] = ";
  if (text.substr(0, kOpen.size()) != kOpen) {
    return std::nullopt;
  }
  LogEntry entry;
  std::size_t at = kOpen.size();
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    entry.step += text[at++];
  }
  if (entry.step.empty() || text.substr(at, kMiddle.size()) != kMiddle) {
    return std::nullopt;
  }
  at += kMiddle.size();
  while (at < text.size() && text[at] != '\n' && text[at] != ' ') {
    entry.value += text[at++];
  }
  if (entry.value.empty()) {
    return std::nullopt;
  }
  if (at < text.size() && text[at] == '\n') {
    entry.endsLine = true;
    ++at;
  }
  entry.length = at;
  return entry;
}

}  // namespace

std::string CheckLog(std::string_view log, const std::string& formula,
                     const ValuationSeries& series) {
  const std::string head = FormatLogHead(formula);
  if (log.substr(0, head.size()) != head) {
    return "the log does not begin with the head of \"" + formula + "\"";
  }
  std::string_view rest = log.substr(head.size());
  const std::string firstValues = FormatFirstValues(series[0], series[1]);
  if (rest.substr(0, 9) == "    x[00]") {
    if (rest.substr(0, firstValues.size()) != firstValues) {
      return "the log's first values are not \"" + firstValues.substr(0, firstValues.size() - 1) +
             "\"";
    }
    rest.remove_prefix(firstValues.size());
  }
  int onLine = 0;
  while (!rest.empty()) {
    const std::optional<LogEntry> entry = ReadEntry(rest);
    if (!entry) {
      return "the log holds something that is no entry: \"" + std::string(rest.substr(0, 40)) +
             "\"";
    }
    const int step = std::stoi(entry->step);
    if (step < 2 || step >= kSeriesLength || step % kLogPageSteps == 0) {
      return "the log holds an entry for step " + std::to_string(step);
    }
    const std::string wanted = FormatFixed2(series[static_cast<std::size_t>(step)]);
    if (entry->value != wanted) {
      return "the log shows x[" + entry->step + "] = " + entry->value + " where the series holds " +
             wanted;
    }
    if (++onLine > 2) {
      return "the log has three entries on one line, up to x[" + entry->step + "]";
    }
    if (entry->endsLine) {
      onLine = 0;
    }
    rest.remove_prefix(entry->length);
  }
  return {};
}
