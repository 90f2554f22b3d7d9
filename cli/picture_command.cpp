#include "cli/picture_command.h"

#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/series_command.h"
#include "core/numbers/series.h"
#include "picture/picture_export.h"
#include "picture/sheet_layout.h"

namespace {

constexpr const char* kProgram = "veridrift-series: ";
constexpr int kLargestSide = 8192;
constexpr int kLongestDelayMs = 60000;
constexpr int kMostLoops = 65535;
constexpr int kBothViews = kBothDiagrams;

struct PictureArguments {
  int mode = -1;  // 0 time series, 1 web, kBothViews
  int firstStep = -1;
  int lastStep = -1;
  bool range = false;
  std::string output;
  std::optional<PixelRect> size;
  std::optional<FramePace> pace;
  bool secondIterate = false;    // --iterate 2
  std::vector<const char*> run;  // SENTENCE DEGREE ESTIMATE
};

// A whole number of decimal digits, at most `largest`.
bool ReadCount(std::string_view text, int largest, int* value) {
  if (text.empty() || text.size() > 6) {
    return false;
  }
  int result = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
    result = result * 10 + (c - '0');
  }
  *value = result;
  return result <= largest;
}

bool ReadRange(std::string_view text, int* first, int* last) {
  const std::size_t dots = text.find("..");
  return dots != std::string_view::npos && ReadCount(text.substr(0, dots), kSeriesLength, first) &&
         ReadCount(text.substr(dots + 2), kSeriesLength, last) && *first <= *last;
}

std::optional<PixelRect> ReadSize(std::string_view text) {
  const std::size_t x = text.find('x');
  int width = 0;
  int height = 0;
  if (x == std::string_view::npos || !ReadCount(text.substr(0, x), kLargestSide, &width) ||
      !ReadCount(text.substr(x + 1), kLargestSide, &height) || width < 1 || height < 1) {
    return std::nullopt;
  }
  return PixelRect{0, 0, width, height};
}

// False after one line on err naming the argument.
bool ParseArguments(int argc, const char* const* argv, PictureArguments* args, std::ostream& err) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option.size() < 2 || option.substr(0, 2) != "--") {
      args->run.push_back(argv[i]);
      continue;
    }
    if (i + 1 >= argc) {
      err << kProgram << option << " needs a value; see --help\n";
      return false;
    }
    const std::string_view value = argv[++i];
    if (option == "--picture") {
      if (value != "web" && value != "series" && value != "both") {
        err << kProgram << "--picture must be web, series or both, not \"" << value << "\"\n";
        return false;
      }
      args->mode = value == "web" ? 1 : value == "both" ? kBothViews : 0;
    } else if (option == "--step") {
      if (!ReadCount(value, kSeriesLength, &args->firstStep)) {
        err << kProgram << "--step must be a whole number from 0 to " << kSeriesLength << ", not \""
            << value << "\"\n";
        return false;
      }
      args->lastStep = args->firstStep;
    } else if (option == "--steps") {
      if (!ReadRange(value, &args->firstStep, &args->lastStep)) {
        err << kProgram << "--steps must be A..B with 0 <= A <= B <= " << kSeriesLength
            << ", not \"" << value << "\"\n";
        return false;
      }
      args->range = true;
    } else if (option == "--delay") {
      args->pace = args->pace.value_or(FramePace());
      if (!ReadCount(value, kLongestDelayMs, &args->pace->delayMs) || args->pace->delayMs < 10 ||
          args->pace->delayMs % 10 != 0) {
        err << kProgram << "--delay must be 10 to " << kLongestDelayMs
            << " milliseconds in steps of 10, not \"" << value << "\"\n";
        return false;
      }
    } else if (option == "--loop") {
      args->pace = args->pace.value_or(FramePace());
      if (!ReadCount(value, kMostLoops, &args->pace->loops)) {
        err << kProgram << "--loop must be a whole number from 0 to " << kMostLoops << ", not \""
            << value << "\"\n";
        return false;
      }
    } else if (option == "--iterate") {
      if (value != "1" && value != "2") {
        err << kProgram << "--iterate must be 1 (f) or 2 (f and f(f(x))), not \"" << value
            << "\"\n";
        return false;
      }
      args->secondIterate = value == "2";
    } else if (option == "--output") {
      args->output = value;
    } else if (option == "--size") {
      args->size = ReadSize(value);
      if (!args->size) {
        err << kProgram << "--size must be WIDTHxHEIGHT, each 1 to " << kLargestSide
            << " pixels, not \"" << value << "\"\n";
        return false;
      }
    } else {
      err << kProgram << "unknown option \"" << option << "\"; see --help\n";
      return false;
    }
  }
  if (args->mode < 0 || args->firstStep < 0 || args->output.empty()) {
    err << kProgram
        << "--picture needs web, series or both, --step N or --steps A..B, and --output "
        << "FILE; see --help\n";
    return false;
  }
  if (args->mode == kBothViews && args->size) {
    err << kProgram << "--size cannot be given with --picture both: the sheet has the window's "
        << "layout\n";
    return false;
  }
  if (args->run.size() != 3) {
    err << kProgram << "expected 3 arguments (SENTENCE DEGREE ESTIMATE), got " << args->run.size()
        << "; see --help\n";
    return false;
  }
  return true;
}

std::string WithStep(const std::string& pattern, int step) {
  std::string path = pattern;
  const std::string count = std::to_string(step);
  for (std::size_t at = path.find("%d"); at != std::string::npos;
       at = path.find("%d", at + count.size())) {
    path.replace(at, 2, count);
  }
  return path;
}

}  // namespace

bool IsPictureCommand(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--picture") == 0) {
      return true;
    }
  }
  return false;
}

int RunPictureCommand(int argc, const char* const* argv, std::ostream& err) {
  PictureArguments args;
  if (!ParseArguments(argc, argv, &args, err)) {
    return kSeriesCommandUsageError;
  }
  // The listing's own checks of SENTENCE, DEGREE and ESTIMATE, with its
  // messages; on success the model holds the run.
  if (!ComputeRunOfArguments(args.run[0], args.run[1], args.run[2], err)) {
    return kSeriesCommandUsageError;
  }
  const std::string& output = args.output;
  const std::optional<PictureFormat> format = PictureFormatOfPath(output);
  if (!format) {
    err << kProgram << "--output must end in .png, .svg, .pdf or .gif, not \"" << args.output
        << "\"\n";
    return kSeriesCommandUsageError;
  }
  if (args.pace && *format != PictureFormat::kGif) {
    err << kProgram << "--delay and --loop are for a .gif output, not \"" << args.output << "\"\n";
    return kSeriesCommandUsageError;
  }
  const bool onePerStep = *format == PictureFormat::kPng || *format == PictureFormat::kSvg;
  if (args.range && onePerStep && output.find("%d") == std::string::npos) {
    err << kProgram << "--output must contain %d (the step count) for a sequence of "
        << (*format == PictureFormat::kPng ? "PNG" : "SVG") << " files, not \"" << args.output
        << "\"\n";
    return kSeriesCommandUsageError;
  }

  const SheetLayout layout = DiagramSheetLayout(args.mode, args.size);

  std::vector<OutputFile> files;
  for (int step = args.firstStep; step <= args.lastStep; ++step) {
    Sheet sheet = SheetAtStep(layout, step, args.secondIterate);
    if (onePerStep) {
      files.push_back({WithStep(output, step), *format, {sheet}});
    } else {
      // A PDF page carries its step; a GIF frame is the picture alone.
      if (args.range && *format == PictureFormat::kPdf) {
        sheet.label = "step " + std::to_string(step);
      }
      if (files.empty()) {
        files.push_back({output, *format, {}});
      }
      files.front().sheets.push_back(sheet);
    }
  }
  std::string error;
  const WriteOutcome outcome = WriteDiagramFiles(files, layout.width, layout.height, &error,
                                                 args.pace.value_or(FramePace()));
  if (outcome != WriteOutcome::kWritten) {
    err << kProgram << error << '\n';
    return outcome == WriteOutcome::kNotDrawn ? 1 : kSeriesCommandUsageError;
  }
  return 0;
}
