#include "cli/series_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result RunTool(std::vector<const char*> args) {
  args.insert(args.begin(), "veridrift-series");
  std::ostringstream out, err;
  const int status = RunSeriesCommand(static_cast<int>(args.size()), args.data(), out, err);
  return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

TEST(SeriesCommand, PrintsHeaderThenTheThousandValues) {
  const Result r = RunTool({"0", "0.30", "0.90"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 2u + 1000u);
  EXPECT_EQ(lines[0], "# This sentence is 0.30 True");
  EXPECT_EQ(lines[1], "#         = 1 - abs(0.30 - Xn)");
  EXPECT_EQ(lines[2], "0\t0");
  EXPECT_EQ(lines[3], "1\t0.899999976");
  EXPECT_EQ(lines[4], "2\t0.400000036");
  EXPECT_EQ(lines[1001], "999\t0.899999976");
}

TEST(SeriesCommand, TwoLineFormulaGetsTwoCommentLines) {
  const auto lines = Lines(RunTool({"1", "0.3", "0.5"}).out);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], "#         = 1 - abs(0.30 - (1 - Xn))");
  EXPECT_EQ(lines[2], "#          = 1 - abs(0.70 - Xn)");
  EXPECT_EQ(lines[3], "0\t0");
}

TEST(SeriesCommand, AcceptsAnyDecimalNotation) {
  const struct {
    const char* degree;
    const char* estimate;
  } cases[] = {{"1", "0"}, {".5", "1e-1"}, {"0.3", "+0.9"}, {"0.125", "0x1p-1"}};
  for (const auto& c : cases) {
    EXPECT_EQ(RunTool({"3", c.degree, c.estimate}).status, 0) << c.degree << " " << c.estimate;
  }
}

struct BadCase {
  const char* name;
  std::vector<const char*> args;
  const char* mentions;
};

TEST(SeriesCommand, RefusesBadArgumentsNamingThem) {
  const BadCase cases[] = {
      {"no arguments", {}, "expected 3 arguments"},
      {"too many", {"0", "0.3", "0.9", "1"}, "expected 3 arguments"},
      {"sentence out of range", {"10", "0.3", "0.9"}, "SENTENCE"},
      {"negative sentence", {"-1", "0.3", "0.9"}, "SENTENCE"},
      {"sentence not a number", {"x", "0.3", "0.9"}, "SENTENCE"},
      {"degree not a number", {"0", "abc", "0.9"}, "DEGREE"},
      {"degree with trailing junk", {"0", "0.3x", "0.9"}, "DEGREE"},
      {"degree empty", {"0", "", "0.9"}, "DEGREE"},
      {"degree above one", {"0", "1.01", "0.9"}, "DEGREE"},
      {"estimate negative", {"0", "0.3", "-0.1"}, "ESTIMATE"},
      {"estimate nan", {"0", "0.3", "nan"}, "ESTIMATE"},
      {"estimate infinite", {"0", "0.3", "inf"}, "ESTIMATE"},
      {"estimate with a comma", {"0", "0.3", "0,9"}, "ESTIMATE"},
  };
  for (const auto& c : cases) {
    const Result r = RunTool(c.args);
    EXPECT_EQ(r.status, kSeriesCommandUsageError) << c.name;
    EXPECT_EQ(r.out, "") << c.name;
    EXPECT_NE(r.err.find(c.mentions), std::string::npos) << c.name << ": " << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << c.name << ": one line only";
  }
}

TEST(SeriesCommand, HelpGoesToStandardOutput) {
  const Result r = RunTool({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("usage: veridrift-series", 0), 0u);
  EXPECT_EQ(r.err, "");
}

}  // namespace
