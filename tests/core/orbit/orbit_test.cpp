// The orbit diagram's model: columns against the tool's own run, the verdict
// against the run report, bad requests, the raster and cancellation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/orbit_command.h"
#include "cli/series_command.h"
#include "core/numbers/number_text.h"
#include "core/orbit/orbit_image.h"
#include "core/orbit/orbit_raster.h"
#include "core/orbit/orbit_runner.h"

namespace {

// Every column's kept values, in column order.
std::vector<std::vector<float>> KeptValues(const OrbitRequest& request,
                                           std::vector<OrbitColumn>* columns = nullptr) {
  std::vector<std::vector<float>> kept(static_cast<std::size_t>(request.columns));
  std::vector<OrbitColumn> own;
  ComputeOrbitColumns(
      request, 2, {},
      [&](int c, const float* values) {
        kept[static_cast<std::size_t>(c)].assign(values, values + request.keep);
      },
      columns != nullptr ? columns : &own);
  return kept;
}

std::vector<std::string> Split(const std::string& text, char by) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, by);) {
    parts.push_back(part);
  }
  return parts;
}

TEST(OrbitColumns, ColumnAtTheRunsOwnDegreeIsItsStoredTail) {
  const struct {
    SentenceKind sentence;
    int column;  // of 101 over [0, 1]
    float estimate;
  } cases[] = {{0, 30, 0.3f},  {1, 77, 0.9f},  {2, 50, 0.05f}, {3, 30, 0.3f},
               {3, 99, 0.61f}, {4, 100, 0.3f}, {4, 45, 0.77f}, {5, 12, 0.5f}};
  for (const auto& c : cases) {
    OrbitRequest request;
    request.sentence = c.sentence;
    request.estimate = c.estimate;
    request.columns = 101;
    const std::vector<std::vector<float>> kept = KeptValues(request);
    ComputeSeriesValues(OrbitParameter(request, c.column), c.estimate, c.sentence);
    const std::vector<float>& column = kept[static_cast<std::size_t>(c.column)];
    for (int i = 0; i < request.keep; ++i) {
      ASSERT_EQ(column[static_cast<std::size_t>(i)], SeriesAt(500 + i))
          << "sentence " << c.sentence << " column " << c.column << " step " << 500 + i;
    }
  }
}

TEST(OrbitColumns, RunsPastTheWindowsEndFollowTheSameRule) {
  OrbitRequest request;
  request.sentence = 3;
  request.columns = 3;
  request.estimate = 0.3f;
  request.transient = 99990;
  request.keep = 11;  // s[99990] .. s[100000]
  const std::vector<std::vector<float>> kept = KeptValues(request);
  for (int c = 0; c < 3; ++c) {
    float s = request.estimate;
    for (int i = 2; i <= 100000; ++i) {
      s = static_cast<float>(EvaluateSentenceAt(3, OrbitParameter(request, c), s));
      if (i >= request.transient) {
        ASSERT_EQ(
            kept[static_cast<std::size_t>(c)][static_cast<std::size_t>(i - request.transient)], s);
      }
    }
  }
}

TEST(OrbitColumns, OverTheEstimateSentence6EndsAtZeroBelowOne) {
  OrbitRequest request;
  request.sentence = 6;
  request.axis = DefaultOrbitAxis(6);
  request.columns = 41;
  ASSERT_EQ(request.axis, OrbitAxis::kEstimate);
  const std::vector<std::vector<float>> kept = KeptValues(request);
  for (int c = 0; c < request.columns; ++c) {
    const float expected = c + 1 == request.columns ? 1.0f : 0.0f;
    EXPECT_EQ(kept[static_cast<std::size_t>(c)].back(), expected)
        << "start " << OrbitParameter(request, c);
  }
}

TEST(OrbitCommand, TableAgreesWithTheReportColumnByColumn) {
  for (const char* sentence : {"3", "4", "5"}) {
    const char* table[] = {"veridrift-series", "--orbit", "--table", "--columns", "21",
                           sentence,           "0.5",     "0.3"};
    OrbitArguments args;
    std::ostringstream out, err;
    ASSERT_TRUE(ParseOrbitArguments(8, table, &args, err)) << err.str();
    ASSERT_EQ(RunOrbitListing(args, out), 0);
    const std::vector<std::string> lines = Split(out.str(), '\n');
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "degree,behaviour,from_step,period,lyapunov,rounding");
    for (std::size_t c = 1; c < lines.size(); ++c) {
      const std::vector<std::string> f = Split(lines[c] + ",", ',');
      const std::string degree = FormatFixed2(ParseDouble(f[0]));
      const char* report[] = {"veridrift-series", "--report", sentence, degree.c_str(), "0.3"};
      std::ostringstream reportOut, reportErr;
      ASSERT_EQ(RunSeriesCommand(5, report, reportOut, reportErr), 0);
      const std::string text = reportOut.str();
      SCOPED_TRACE(lines[c] + "\n" + text);
      EXPECT_NE(text.find("behaviour: " + f[1] + "\n"), std::string::npos);
      EXPECT_EQ(f[2].empty(), f[1] == "no repeat");
      if (!f[2].empty()) {
        EXPECT_NE(text.find("from step: " + f[2] + "\n"), std::string::npos);
      }
      if (f[1] != "settles" && !f[3].empty()) {
        EXPECT_NE(text.find("period: " + f[3] + "\n"), std::string::npos);
      }
      const double l = ParseDouble(f[4]);
      EXPECT_NE(text.find("lyapunov exponent: " + (std::isinf(l) ? f[4] : FormatFixed3(l))),
                std::string::npos);
      EXPECT_EQ(f[5] == "1", text.find("note: rounding, not f") != std::string::npos);
    }
  }
}

TEST(OrbitCommand, CsvListsEachColumnsKeptStepsInOrder) {
  const char* argv[] = {
      "veridrift-series", "--orbit", "--csv",  "--columns", "2", "--range", "0.25..0.75",
      "--transient",      "998",     "--keep", "2",         "0", "0.5",     "0.9"};
  OrbitArguments args;
  std::ostringstream out, err;
  ASSERT_TRUE(ParseOrbitArguments(14, argv, &args, err)) << err.str();
  ASSERT_EQ(RunOrbitListing(args, out), 0);
  std::string expected = "degree,step,value\n";
  for (const float k : {0.25f, 0.75f}) {
    ComputeSeriesValues(k, 0.9f, 0);
    for (int i = 998; i <= 999; ++i) {
      expected += FormatSignificant9(k) + "," + std::to_string(i) + "," +
                  FormatSignificant9(SeriesAt(i)) + "\n";
    }
  }
  EXPECT_EQ(out.str(), expected);
}

TEST(OrbitCommand, BadRequestsNameWhatIsWrong) {
  const struct {
    std::vector<const char*> args;
    const char* says;
  } cases[] = {
      {{"--columns", "1"}, "--columns must be a whole number from 2 to 10000, not \"1\""},
      {{"--columns", "10001"}, "--columns must be"},
      {{"--range", "0.5..0.5"}, "--range must be A..B with 0 <= A < B <= 1"},
      {{"--range", "0..1.5"}, "--range must be"},
      {{"--transient", "0"}, "--transient must be a whole number from 1"},
      {{"--keep", "x"}, "--keep must be"},
      {{"--transient", "500000", "--keep", "500002"}, "--transient plus --keep must not pass"},
      {{"--over", "time"}, "--over must be degree or estimate, not \"time\""},
      {{"--table"}, "exactly one of --csv, --table and --output"},
      {{"--output", "o.jpg"}, "--output must name a .png file"},
      {{"--size", "300x200"}, "--size is for a picture"},
      {{"--scale", "2"}, "--scale is for a picture"},
      {{"--scale", "5"}, "--scale must be a whole number from 1 to 4, not \"5\""},
      {{"--colour", "red"}, "unknown option \"--colour\""},
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv = {"veridrift-series", "--orbit", "--csv"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    argv.insert(argv.end(), {"3", "0.5", "0.3"});
    OrbitArguments args;
    std::ostringstream err;
    EXPECT_FALSE(ParseOrbitArguments(static_cast<int>(argv.size()), argv.data(), &args, err));
    const std::string said = err.str();
    EXPECT_NE(said.find(c.says), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  }
  const char* noDegree[] = {"veridrift-series", "--orbit", "--table", "--over",
                            "degree",           "7",       "0.5",     "0.3"};
  OrbitArguments args;
  std::ostringstream err;
  EXPECT_FALSE(ParseOrbitArguments(8, noDegree, &args, err));
  EXPECT_EQ(err.str(),
            "veridrift-series: --over degree: sentence 7 has no degree; use --over "
            "estimate\n");
}

TEST(OrbitRaster, CountsEveryDotAndColoursRoundedColumns) {
  OrbitRequest request;
  request.sentence = 4;
  request.from = 0.9;
  request.estimate = 0.3f;
  request.columns = 11;  // the last column is k = 1, where rounding lands on 0
  std::vector<OrbitColumn> columns;
  OrbitRaster raster(request.columns, 50, 0.0, 1.0);
  ComputeOrbitColumns(
      request, 2, {}, [&](int c, const float* kept) { raster.CountColumn(c, kept, request.keep); },
      &columns);
  for (int c = 0; c < request.columns; ++c) {
    int total = 0;
    for (int r = 0; r < raster.height(); ++r) {
      total += raster.CountAt(c, r);
    }
    EXPECT_EQ(total, request.keep) << "column " << c;
  }
  EXPECT_TRUE(columns.back().verdict.rounding);
  EXPECT_FALSE(columns.front().verdict.rounding);
  const std::vector<std::uint8_t> pixels = ShadeOrbitRaster(raster, columns, request.keep);
  EXPECT_EQ(OrbitPalette()[pixels[49 * 11 + 10]], kOrbitRoundingDot);  // settled at 0, full
  EXPECT_EQ(OrbitPalette()[pixels[10]], kOrbitGround);                 // nothing of it at the top
}

TEST(OrbitImage, FramesMarksAndTheRoundedColumnAreWhereTheyBelong) {
  OrbitRequest request;
  request.sentence = 4;
  request.estimate = 0.3f;
  request.from = 0.5;
  const OrbitFrame frame = OrbitFrameFor(400, 300, 1);
  const OrbitView view = OrbitViewForFrame(request, 0.0, 1.0, frame, false);
  ASSERT_EQ(view.request.columns, frame.dots.width);
  const std::shared_ptr<OrbitPicture> picture = DrawOrbitPicture(view, 2, {});
  const std::vector<std::uint8_t> image = ComposeOrbitImage(*picture, frame, {0.75, -1});
  const auto at = [&](int x, int y) { return image[static_cast<std::size_t>(y) * 400 + x]; };
  const OrbitRect& dots = frame.dots;
  // The last column is k = 1, where rounding put the run on 0: its bottom
  // pixel in full rounding colour, inside the frame, which lies around it.
  EXPECT_EQ(at(dots.x + dots.width - 1, dots.y + dots.height - 1), kIndexRounding);
  EXPECT_EQ(at(dots.x + dots.width, dots.y + dots.height - 1), kIndexAxis);
  EXPECT_EQ(at(dots.x - 1, dots.y), kIndexAxis);
  // The marker at k = 0.75, halfway across, from the dots' top through the strip.
  const int marker = dots.x + dots.width / 2;
  EXPECT_EQ(at(marker, dots.y), kIndexMarker);
  EXPECT_EQ(at(marker, frame.strip.y + frame.strip.height - 1), kIndexMarker);
  EXPECT_EQ(at(0, 0), kIndexGround);
}

TEST(OrbitRunner, ASupersededRequestNeverPaintsIntoTheNewerPicture) {
  std::mutex mutex;
  std::condition_variable woken;
  int readyCalls = 0;
  OrbitRunner runner([&] {
    const std::lock_guard<std::mutex> lock(mutex);
    ++readyCalls;
    woken.notify_all();
  });
  OrbitView slow;
  slow.request.sentence = 3;
  slow.request.columns = 2000;
  slow.request.transient = 50000;
  slow.request.keep = 50000;
  slow.rows = 40;
  OrbitView quick = slow;
  quick.request.sentence = 5;
  quick.request.columns = 64;
  quick.request.transient = 500;
  quick.request.keep = 500;
  runner.Submit(slow);
  const std::uint64_t latest = runner.Submit(quick);
  std::unique_lock<std::mutex> lock(mutex);
  woken.wait(lock, [&] { return readyCalls > 0; });
  lock.unlock();
  const std::shared_ptr<const OrbitPicture> picture = runner.TakeReady();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->generation, latest);
  EXPECT_EQ(readyCalls, 1);
  const std::shared_ptr<OrbitPicture> alone = DrawOrbitPicture(quick, 1, {});
  EXPECT_EQ(picture->dots, alone->dots);
  EXPECT_EQ(picture->strip, alone->strip);
  EXPECT_EQ(runner.TakeReady(), nullptr);  // taken once

  // Stopped half way, a picture is never handed over at all.
  std::stop_source stop;
  stop.request_stop();
  EXPECT_EQ(DrawOrbitPicture(slow, 2, stop.get_token()), nullptr);
}

}  // namespace
