// What a run does and why: whether the stored series settles, cycles or
// wanders, the fixed points of f that explain it, and how fast nearby starts
// part or meet. One analysis feeds both the command's script-readable lines
// and the window's plain sentences, so the two can never disagree.
#pragma once

#include <string>
#include <vector>

#include "core/numbers/series.h"

enum class RunBehaviour {
  kSettles,                // period 1
  kSettlesWithinRounding,  // a cycle of neighbouring single-precision values
  kCycle,
  kNoRepeat,
};

enum class Stability { kAttracting, kNeutral, kRepelling };

struct FixedPoint {
  double x = 0.0;
  // f' just left and just right of x; equal unless x is a corner inside
  // (0, 1). At 0 and 1 both hold the slope from inside [0, 1].
  double slopeLeft = 0.0;
  double slopeRight = 0.0;
  bool corner = false;
  Stability stability = Stability::kNeutral;
};

// Every x in [from, to] is fixed.
struct FixedInterval {
  double from = 0.0;
  double to = 0.0;
};

struct RunReport {
  RunParams params;
  std::string caption;
  // False for a sentence index outside 0..9: there is no f to speak of.
  bool knownSentence = true;

  RunBehaviour behaviour = RunBehaviour::kNoRepeat;
  int fromStep = 0;  // 0 for no repeat
  int period = 0;    // 0 for no repeat
  // s[fromStep] .. s[fromStep + period - 1]; empty for no repeat.
  std::vector<float> values;

  std::vector<FixedPoint> fixedPoints;        // ascending
  std::vector<FixedInterval> fixedIntervals;  // ascending

  // Mean of ln|f'(s[i])| over i = 1 .. 998; -inf when some f' is 0, inf
  // when one is infinite.
  double lyapunov = 0.0;

  // Set when the run settled, from step 2 or later, on a fixed point that
  // does not attract: f would have carried it away, rounding put it there.
  bool roundedOntoFixedPoint = false;
  // The fixed point the run settles on or rounds around; -1 when none.
  int nearFixedPoint = -1;
};

// The cycle search looks at periods up to this; a repeat must be seen three
// times in full within s[1] .. s[999].
inline constexpr int kLongestPeriod = 333;
// Lyapunov terms: ln|f'(s[i])| for i = 1 .. kLyapunovTerms.
inline constexpr int kLyapunovTerms = kSeriesLength - 2;

// The report of the current run: the process-wide run parameters and the
// series computed from them.
RunReport AnalyseRun();

// The report of any run and its series, touching no process-wide state; the
// caption is left empty (it needs the current degree's text, and a column of
// the orbit diagram has no use for it).
RunReport AnalyseSeries(const RunParams& params, const ValuationSeries& series);

// The fixed points and intervals of f on [0, 1] in real arithmetic.
void FindFixedPoints(SentenceKind sentence, float degree, std::vector<FixedPoint>* points,
                     std::vector<FixedInterval>* intervals);

// f'(x) in real arithmetic; on a corner inside (0, 1) the slope of the piece
// to the right, at 0 and 1 the slope from inside.
double SentenceSlope(SentenceKind sentence, float degree, double x);

// "settles", "settles within rounding", "cycle" or "no repeat".
const char* RunBehaviourWords(RunBehaviour behaviour);

// "behaviour: ...", "fixed point: ..." and so on, one per line, each ending
// in "\n"; the caption, degree and estimate lines come first.
std::string FormatReportLines(const RunReport& report);

// The same as a few plain sentences, for reading in a window.
std::string FormatReportSentences(const RunReport& report);
