#include "cli/orbit_command.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <ostream>
#include <string_view>
#include <thread>

#include "cli/series_command.h"
#include "core/numbers/number_text.h"
#include "core/orbit/orbit_csv.h"
#include "core/orbit/orbit_runner.h"

namespace {

constexpr const char* kProgram = "veridrift-series: ";

bool ReadNumber(std::string_view text, double* value) {
  std::size_t consumed = 0;
  *value = ParseDoublePrefix(text, &consumed);
  return consumed > 0 && consumed == text.size() && std::isfinite(*value);
}

bool ReadWhole(std::string_view text, long long* value) {
  if (text.empty() || text.size() > 9) {
    return false;
  }
  long long result = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
    result = result * 10 + (c - '0');
  }
  *value = result;
  return true;
}

bool ReadRange(std::string_view text, double* from, double* to) {
  const std::size_t dots = text.find("..");
  return dots != std::string_view::npos && ReadNumber(text.substr(0, dots), from) &&
         ReadNumber(text.substr(dots + 2), to) && *from >= 0.0 && *from < *to && *to <= 1.0;
}

bool ReadSize(std::string_view text, int* width, int* height) {
  const std::size_t x = text.find('x');
  long long w = 0;
  long long h = 0;
  if (x == std::string_view::npos || !ReadWhole(text.substr(0, x), &w) ||
      !ReadWhole(text.substr(x + 1), &h) || w < kOrbitSmallestWidth || w > kOrbitLargestSide ||
      h < kOrbitSmallestHeight || h > kOrbitLargestSide) {
    return false;
  }
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}

bool EndsWithPng(std::string_view path) {
  if (path.size() < 5) {
    return false;
  }
  std::string suffix(path.substr(path.size() - 4));
  for (char& c : suffix) {
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return suffix == ".png" && path[path.size() - 5] != '/';
}

struct Seen {
  bool over = false;
  OrbitAxis axis = OrbitAxis::kDegree;
  int outputs = 0;
  bool size = false;
  bool scale = false;
  long long transient = 500;
  long long keep = 500;
};

// One option and its value; false after a line on err.
bool ReadOption(std::string_view option, std::string_view value, OrbitArguments* args, Seen* seen,
                std::ostream& err) {
  OrbitRequest& request = args->request;
  long long whole = 0;
  if (option == "--over") {
    if (value != "degree" && value != "estimate") {
      err << kProgram << "--over must be degree or estimate, not \"" << value << "\"\n";
      return false;
    }
    seen->over = true;
    seen->axis = value == "degree" ? OrbitAxis::kDegree : OrbitAxis::kEstimate;
  } else if (option == "--range") {
    if (!ReadRange(value, &request.from, &request.to)) {
      err << kProgram << "--range must be A..B with 0 <= A < B <= 1, not \"" << value << "\"\n";
      return false;
    }
  } else if (option == "--columns") {
    if (!ReadWhole(value, &whole) || whole < kOrbitFewestColumns || whole > kOrbitMostColumns) {
      err << kProgram << "--columns must be a whole number from " << kOrbitFewestColumns << " to "
          << kOrbitMostColumns << ", not \"" << value << "\"\n";
      return false;
    }
    request.columns = static_cast<int>(whole);
    args->columnsGiven = true;
  } else if (option == "--transient" || option == "--keep") {
    if (!ReadWhole(value, &whole) || whole < 1 || whole > kOrbitLongestRun) {
      err << kProgram << option << " must be a whole number from 1 to " << kOrbitLongestRun
          << ", not \"" << value << "\"\n";
      return false;
    }
    (option == "--keep" ? seen->keep : seen->transient) = whole;
  } else if (option == "--output") {
    if (!EndsWithPng(value)) {
      err << kProgram << "--output must name a .png file, not \"" << value << "\"\n";
      return false;
    }
    args->path = value;
    args->output = OrbitOutput::kPicture;
    ++seen->outputs;
  } else if (option == "--size") {
    if (!ReadSize(value, &args->width, &args->height)) {
      err << kProgram << "--size must be WIDTHxHEIGHT, from " << kOrbitSmallestWidth << "x"
          << kOrbitSmallestHeight << " to " << kOrbitLargestSide << "x" << kOrbitLargestSide
          << ", not \"" << value << "\"\n";
      return false;
    }
    seen->size = true;
  } else if (option == "--scale") {
    if (!ReadWhole(value, &whole) || whole < 1 || whole > kOrbitLargestScale) {
      err << kProgram << "--scale must be a whole number from 1 to " << kOrbitLargestScale
          << ", not \"" << value << "\"\n";
      return false;
    }
    args->scale = static_cast<int>(whole);
    seen->scale = true;
  } else {
    err << kProgram << "unknown option \"" << option << "\" for --orbit; see --help\n";
    return false;
  }
  return true;
}

}  // namespace

bool IsOrbitCommand(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--orbit") == 0) {
      return true;
    }
  }
  return false;
}

bool ParseOrbitArguments(int argc, const char* const* argv, OrbitArguments* args,
                         std::ostream& err) {
  Seen seen;
  std::vector<const char*> run;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--orbit") {
      continue;
    }
    if (option == "--csv" || option == "--table") {
      args->output = option == "--csv" ? OrbitOutput::kCsv : OrbitOutput::kTable;
      ++seen.outputs;
      continue;
    }
    if (option.size() < 2 || option.substr(0, 2) != "--") {
      run.push_back(argv[i]);
      continue;
    }
    if (i + 1 >= argc) {
      err << kProgram << option << " needs a value; see --help\n";
      return false;
    }
    if (!ReadOption(option, argv[++i], args, &seen, err)) {
      return false;
    }
  }
  if (seen.outputs != 1) {
    err << kProgram << "--orbit needs exactly one of --csv, --table and --output FILE.png\n";
    return false;
  }
  if ((seen.size || seen.scale) && args->output != OrbitOutput::kPicture) {
    err << kProgram << (seen.size ? "--size" : "--scale")
        << " is for a picture (--output FILE.png) only\n";
    return false;
  }
  if (seen.transient + seen.keep - 1 > kOrbitLongestRun) {
    err << kProgram << "--transient plus --keep must not pass " << kOrbitLongestRun + 1 << ", not "
        << seen.transient << " + " << seen.keep << "\n";
    return false;
  }
  if (run.size() != 3) {
    err << kProgram << "expected 3 arguments (SENTENCE DEGREE ESTIMATE), got " << run.size()
        << "; see --help\n";
    return false;
  }
  // The listing's own checks and messages for the run's three arguments.
  if (!ComputeRunOfArguments(run[0], run[1], run[2], err)) {
    return false;
  }
  OrbitRequest& request = args->request;
  request.sentence = g_runParams.sentence;
  request.degree = g_runParams.degree;
  request.estimate = g_runParams.estimate;
  request.transient = static_cast<int>(seen.transient);
  request.keep = static_cast<int>(seen.keep);
  request.axis = seen.over ? seen.axis : DefaultOrbitAxis(request.sentence);
  if (request.axis == OrbitAxis::kDegree && !SentenceUsesDegree(request.sentence)) {
    err << kProgram << "--over degree: sentence " << request.sentence
        << " has no degree; use --over estimate\n";
    return false;
  }
  return true;
}

std::vector<OrbitColumn> ComputeOrbitForCommand(const OrbitRequest& request,
                                                const OrbitColumnSink& sink, int errFd) {
  std::vector<OrbitColumn> columns;
  std::atomic<int> done{0};
  std::jthread work([&](std::stop_token stop) {
    ComputeOrbitColumns(request, OrbitThreads(), stop, sink, &columns, &done);
  });
  if (isatty(errFd) == 0) {
    work.join();
    return columns;
  }
  const auto start = std::chrono::steady_clock::now();
  bool shown = false;
  while (done.load() < request.columns) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (std::chrono::steady_clock::now() - start < std::chrono::seconds(1)) {
      continue;
    }
    const std::string line = "\rorbit diagram: " + std::to_string(done.load()) + " of " +
                             std::to_string(request.columns) + " columns";
    shown = write(errFd, line.data(), line.size()) >= 0 || shown;
  }
  work.join();
  if (shown && write(errFd, "\n", 1) < 0) {
    return columns;  // the terminal went away; the result still counts
  }
  return columns;
}

int RunOrbitListing(const OrbitArguments& args, std::ostream& out) {
  const OrbitRequest& request = args.request;
  const char* axis = request.axis == OrbitAxis::kDegree ? "degree" : "estimate";
  std::vector<float> kept;
  const bool csv = args.output == OrbitOutput::kCsv;
  if (csv) {
    kept.resize(static_cast<std::size_t>(request.columns) * request.keep);
  }
  const OrbitColumnSink sink = [&](int column, const float* values) {
    std::copy_n(values, request.keep,
                kept.begin() + static_cast<std::ptrdiff_t>(column) * request.keep);
  };
  const std::vector<OrbitColumn> columns =
      ComputeOrbitForCommand(request, csv ? sink : OrbitColumnSink(), STDERR_FILENO);
  std::string text;
  if (csv) {
    out << OrbitCsvHeader(axis);
    for (int c = 0; c < request.columns; ++c) {
      out << OrbitCsvColumn(columns[static_cast<std::size_t>(c)].parameter,
                            kept.data() + static_cast<std::size_t>(c) * request.keep,
                            request.transient, request.keep);
    }
  } else {
    out << axis << ",behaviour,from_step,period,lyapunov,rounding\n";
    for (const OrbitColumn& column : columns) {
      const OrbitVerdict& v = column.verdict;
      const bool repeats = v.behaviour != RunBehaviour::kNoRepeat;
      text += FormatSignificant9(column.parameter) + ',' + RunBehaviourWords(v.behaviour) + ',' +
              (repeats ? std::to_string(v.fromStep) : std::string()) + ',' +
              (repeats ? std::to_string(v.period) : std::string()) + ',' +
              FormatFixed6(v.lyapunov) + ',' + (v.rounding ? '1' : '0') + '\n';
    }
    out << text;
  }
  out.flush();
  return out ? 0 : 1;
}
