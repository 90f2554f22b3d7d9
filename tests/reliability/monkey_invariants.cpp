#include "monkey_invariants.h"

#include <regex>

#include "number_text.h"
#include "output_log.h"

std::string CheckStepCount(const char* view, int count) {
  if (count == 0 || (count >= 2 && count <= kSeriesLength)) {
    return {};
  }
  return std::string(view) + " step counter at " + std::to_string(count);
}

std::string CheckFieldAtRest(const char* field, std::string_view text) {
  static const std::regex canonical(R"(\?|0\.[0-9][0-9]|1\.00)");
  if (std::regex_match(text.begin(), text.end(), canonical)) {
    return {};
  }
  return std::string(field) + " shows \"" + std::string(text) + "\" without the focus";
}

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
  static const std::regex entry(R"(    x\[([0-9]+)\] = ([-0-9.a-z]+)(\n?))");
  int onLine = 0;
  std::match_results<std::string_view::const_iterator> match;
  while (!rest.empty()) {
    if (!std::regex_search(rest.begin(), rest.end(), match, entry,
                           std::regex_constants::match_continuous)) {
      return "the log holds something that is no entry: \"" + std::string(rest.substr(0, 40)) +
             "\"";
    }
    const int step = std::stoi(match[1].str());
    if (step < 2 || step >= kSeriesLength || step % kLogPageSteps == 0) {
      return "the log holds an entry for step " + std::to_string(step);
    }
    const std::string wanted = FormatFixed2(series[static_cast<std::size_t>(step)]);
    if (match[2].str() != wanted) {
      return "the log shows x[" + match[1].str() + "] = " + match[2].str() +
             " where the series holds " + wanted;
    }
    if (++onLine > 2) {
      return "the log has three entries on one line, up to x[" + match[1].str() + "]";
    }
    if (match[3].length() > 0) {
      onLine = 0;
    }
    rest.remove_prefix(static_cast<std::size_t>(match.length(0)));
  }
  return {};
}
