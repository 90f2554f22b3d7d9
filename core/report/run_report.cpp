#include "core/report/run_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "core/numbers/number_text.h"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Sentence 3's constant, as the valuation uses it.
constexpr double kEpsilon = static_cast<double>(1e-6f);
// Cycle values this close together are one value seen through rounding.
constexpr double kRoundingSpread = 1e-6;
// Breakpoints and solutions of neighbouring pieces that differ by less than
// this are the same point, computed twice.
constexpr double kSameX = 1e-12;

bool IsKnown(SentenceKind sentence) {
  return static_cast<std::uint32_t>(sentence) < static_cast<std::uint32_t>(kSentenceCount);
}

// Sentences 0 to 5 are f(x) = 1 - |a*x + b|, sentence 3 with ε added and
// clamped to 1 (which happens exactly where |a*x + b| < ε).
struct AbsoluteForm {
  double a;
  double b;
  bool clamped;
};

AbsoluteForm FormOf(SentenceKind sentence, double k) {
  switch (sentence) {
    case 0:
      return {-1.0, k, false};  // k - x
    case 1:
      return {1.0, k - 1.0, false};  // k - (1 - x)
    case 2:
      return {k - 1.0, 0.0, false};  // k*x - x
    case 3:
      return {k + 1.0, -1.0, true};  // k*x - (1 - x)
    case 4:
      return {-(k + 1.0), k, false};  // (1 - x)*k - x
    default:
      return {1.0 - k, k - 1.0, false};  // (1 - x)*k - (1 - x)
  }
}

// Where a piece ends: the distance takes one of these values there.
// A fixed little list, not a vector: the slope is asked for at every value of
// every column of the orbit diagram, and an allocation each time would cost
// more than the rest of the work.
struct Corners {
  std::array<double, 2> distances;
  std::size_t count;
  const double* begin() const { return distances.data(); }
  const double* end() const { return distances.data() + count; }
};

[[gnu::always_inline]] inline Corners CornerDistances(const AbsoluteForm& form) {
  if (form.clamped) {
    return {{-kEpsilon, kEpsilon}, 2};
  }
  return {{0.0, 0.0}, 1};
}

// f' where the distance is d, strictly inside a piece.
[[gnu::always_inline]] inline double PieceSlope(const AbsoluteForm& form, double d) {
  if (form.clamped && std::fabs(d) < kEpsilon) {
    return 0.0;
  }
  return (d >= 0.0 ? -form.a : form.a) + 0.0;  // + 0.0: no "-0"
}

// Inline: the orbit diagram asks for a slope at each of a million values.
[[gnu::always_inline]] inline double LinearSlope(const AbsoluteForm& form, double x) {
  // a*x is exact for a degree and an estimate of single precision, and the
  // sum is rounded once, so the comparisons below see the real distance's
  // side of each corner.
  double d = form.a * x + form.b;
  for (double corner : CornerDistances(form)) {
    if (d == corner && form.a != 0.0) {
      // The piece to the right, except at 1, where only the inside counts.
      const bool towardsRight = x < 1.0;
      const bool dGrows = (form.a > 0.0) == towardsRight;
      d = std::nextafter(d, dGrows ? kInfinity : -kInfinity);
    }
  }
  return PieceSlope(form, d);
}

struct Piece {
  double from;
  double to;
  double intercept;
  double slope;
};

std::vector<Piece> PiecesOnUnitInterval(const AbsoluteForm& form) {
  std::vector<double> ends = {0.0, 1.0};
  if (form.a != 0.0) {
    for (double corner : CornerDistances(form)) {
      const double x = (corner - form.b) / form.a;
      if (x > 0.0 && x < 1.0) {
        ends.push_back(x);
      }
    }
  }
  std::sort(ends.begin(), ends.end());
  const double top = form.clamped ? 1.0 + kEpsilon : 1.0;
  std::vector<Piece> pieces;
  for (std::size_t i = 0; i + 1 < ends.size(); ++i) {
    if (ends[i + 1] - ends[i] < kSameX) {
      continue;
    }
    const double middle = (ends[i] + ends[i + 1]) / 2.0;
    const double d = form.a * middle + form.b;
    Piece piece{ends[i], ends[i + 1], 0.0, PieceSlope(form, d)};
    if (form.clamped && std::fabs(d) < kEpsilon) {
      piece.intercept = 1.0;
    } else {
      // top - |a*x + b| = top -/+ b -/+ a*x on this side of the corner.
      piece.intercept = d >= 0.0 ? top - form.b : top + form.b;
    }
    pieces.push_back(piece);
  }
  return pieces;
}

Stability StabilityOf(double slopeLeft, double slopeRight) {
  const double steepest = std::max(std::fabs(slopeLeft), std::fabs(slopeRight));
  if (steepest < 1.0) {
    return Stability::kAttracting;
  }
  return steepest == 1.0 ? Stability::kNeutral : Stability::kRepelling;
}

void LinearFixedPoints(const AbsoluteForm& form, std::vector<FixedPoint>* points,
                       std::vector<FixedInterval>* intervals) {
  const std::vector<Piece> pieces = PiecesOnUnitInterval(form);
  std::vector<double> found;
  for (const Piece& piece : pieces) {
    if (piece.slope == 1.0) {
      if (piece.intercept == 0.0) {
        if (!intervals->empty() && intervals->back().to == piece.from) {
          intervals->back().to = piece.to;
        } else {
          intervals->push_back({piece.from, piece.to});
        }
      }
      continue;
    }
    const double x = piece.intercept / (1.0 - piece.slope);
    if (x >= piece.from - kSameX && x <= piece.to + kSameX) {
      found.push_back(std::clamp(x, piece.from, piece.to) + 0.0);  // + 0.0: no "-0"
    }
  }
  std::sort(found.begin(), found.end());
  for (double x : found) {
    if (!points->empty() && x - points->back().x < kSameX) {
      continue;  // the corner between two pieces, found by both
    }
    bool inInterval = false;
    for (const FixedInterval& interval : *intervals) {
      inInterval = inInterval || (x >= interval.from - kSameX && x <= interval.to + kSameX);
    }
    if (inInterval) {
      continue;
    }
    std::size_t right = 0;
    while (right + 1 < pieces.size() && x > pieces[right].to - kSameX) {
      ++right;
    }
    std::size_t left = right;
    if (right > 0 && x < pieces[right].from + kSameX) {
      left = right - 1;
    }
    FixedPoint point;
    point.x = x;
    point.slopeLeft = pieces[left].slope;
    point.slopeRight = pieces[right].slope;
    if (x <= 0.0) {
      point.slopeLeft = point.slopeRight;
    } else if (x >= 1.0) {
      point.slopeRight = point.slopeLeft;
    }
    point.corner = point.slopeLeft != point.slopeRight;
    point.stability = StabilityOf(point.slopeLeft, point.slopeRight);
    points->push_back(point);
  }
}

FixedPoint SmoothPoint(double x, double slope) {
  return {x, slope, slope, false, StabilityOf(slope, slope)};
}

}  // namespace

void FindFixedPoints(SentenceKind sentence, float degree, std::vector<FixedPoint>* points,
                     std::vector<FixedInterval>* intervals) {
  points->clear();
  intervals->clear();
  const double root5 = std::sqrt(5.0);
  switch (sentence) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
      LinearFixedPoints(FormOf(sentence, degree), points, intervals);
      return;
    case 6:  // x^2
      *points = {SmoothPoint(0.0, 0.0), SmoothPoint(1.0, 2.0)};
      return;
    case 7: {  // (1 - x)^2 = x
      const double x = (3.0 - root5) / 2.0;
      *points = {SmoothPoint(x, -2.0 * (1.0 - x))};
      return;
    }
    case 8:  // sqrt(x): vertical at 0
      *points = {SmoothPoint(0.0, kInfinity), SmoothPoint(1.0, 0.5)};
      return;
    case 9: {  // sqrt(1 - x) = x
      const double x = (root5 - 1.0) / 2.0;
      *points = {SmoothPoint(x, -0.5 / x)};
      return;
    }
    default:
      return;
  }
}

double SentenceSlope(SentenceKind sentence, float degree, double x) {
  const bool inside = x >= 0.0 && x <= 1.0;
  switch (sentence) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
      return LinearSlope(FormOf(sentence, degree), x);
    // On [0, 1] the closed forms: 1 - |x - 1| would lose a tiny x to rounding.
    case 6:
      return inside ? 2.0 * x : (x > 1.0 ? -2.0 : 2.0) * (1.0 - std::fabs(x - 1.0));
    case 7:
      return inside ? -2.0 * (1.0 - x) : 2.0 * (1.0 + x);
    case 8:
      if (inside) {
        return x == 0.0 ? kInfinity : 0.5 / std::sqrt(x);
      }
      return (x > 1.0 ? -0.5 : 0.5) / std::sqrt(1.0 - std::fabs(x - 1.0));
    case 9:
      if (inside) {
        return x == 1.0 ? -kInfinity : -0.5 / std::sqrt(1.0 - x);
      }
      return (x < 0.0 ? 0.5 : -0.5) / std::sqrt(1.0 - std::fabs(x));
    default:
      return kNaN;
  }
}

namespace {

void FindRepeat(const ValuationSeries& s, RunReport* report) {
  constexpr int kLast = kSeriesLength - 1;
  for (int p = 1; p <= kLongestPeriod; ++p) {
    int i = kLast - p;
    while (i >= 1 && s[i] == s[i + p]) {
      --i;
    }
    const int from = i + 1;
    if (kLast - from + 1 < 3 * p) {
      continue;
    }
    report->fromStep = from;
    report->period = p;
    report->values.assign(s.begin() + from, s.begin() + from + p);
    const auto [low, high] = std::minmax_element(report->values.begin(), report->values.end());
    if (p == 1) {
      report->behaviour = RunBehaviour::kSettles;
    } else if (static_cast<double>(*high) - static_cast<double>(*low) <= kRoundingSpread) {
      report->behaviour = RunBehaviour::kSettlesWithinRounding;
    } else {
      report->behaviour = RunBehaviour::kCycle;
    }
    return;
  }
  report->behaviour = RunBehaviour::kNoRepeat;
}

double LyapunovExponent(const RunParams& params, const ValuationSeries& s) {
  bool zero = false;
  bool infinite = false;
  double sum = 0.0;
  // The piecewise-linear sentences have two or three slopes; a repeated
  // slope reuses its logarithm (the same value, so the same sum), which makes
  // the orbit diagram's thousand reports cheap.
  double lastSlope = kNaN;
  double lastLog = 0.0;
  // The piecewise-linear form worked out once, not at every value.
  const bool linear = params.sentence >= 0 && params.sentence <= 5;
  const AbsoluteForm form = FormOf(params.sentence, params.degree);
  for (int i = 1; i <= kLyapunovTerms; ++i) {
    const double slope = std::fabs(linear ? LinearSlope(form, s[i])
                                          : SentenceSlope(params.sentence, params.degree, s[i]));
    if (std::isnan(slope)) {
      return kNaN;
    }
    if (slope == 0.0) {
      zero = true;
    } else if (std::isinf(slope)) {
      infinite = true;
    } else {
      if (slope != lastSlope) {
        lastSlope = slope;
        lastLog = std::log(slope);
      }
      sum += lastLog;
    }
  }
  if (zero && infinite) {
    return kNaN;  // no mean to speak of
  }
  if (zero || infinite) {
    return zero ? -kInfinity : kInfinity;
  }
  return sum / kLyapunovTerms + 0.0;
}

void FindWhereItSettles(RunReport* report) {
  if (report->behaviour != RunBehaviour::kSettles &&
      report->behaviour != RunBehaviour::kSettlesWithinRounding) {
    return;
  }
  double nearest = kRoundingSpread;
  for (std::size_t j = 0; j < report->fixedPoints.size(); ++j) {
    double distance = 0.0;
    for (float v : report->values) {
      distance = std::max(distance, std::fabs(static_cast<double>(v) - report->fixedPoints[j].x));
    }
    if (distance <= nearest) {
      nearest = distance;
      report->nearFixedPoint = static_cast<int>(j);
    }
  }
  if (report->behaviour != RunBehaviour::kSettles || report->fromStep <= 1) {
    return;
  }
  if (report->nearFixedPoint >= 0) {
    report->roundedOntoFixedPoint =
        report->fixedPoints[static_cast<std::size_t>(report->nearFixedPoint)].stability !=
        Stability::kAttracting;
    return;
  }
  const double v = report->values.front();
  for (const FixedInterval& interval : report->fixedIntervals) {
    if (v >= interval.from - kRoundingSpread && v <= interval.to + kRoundingSpread) {
      report->roundedOntoFixedPoint = true;  // every point of it is neutral
    }
  }
}

}  // namespace

RunReport AnalyseRun() {
  RunReport report = AnalyseSeries(g_runParams, g_series);
  FormatSentenceCaption(report.caption, g_runParams.sentence);
  return report;
}

RunReport AnalyseSeries(const RunParams& params, const ValuationSeries& series) {
  RunReport report;
  report.params = params;
  report.knownSentence = IsKnown(params.sentence);
  FindRepeat(series, &report);
  FindFixedPoints(params.sentence, params.degree, &report.fixedPoints, &report.fixedIntervals);
  report.lyapunov = report.knownSentence ? LyapunovExponent(params, series) : kNaN;
  FindWhereItSettles(&report);
  return report;
}

namespace {

constexpr std::size_t kValuesShown = 16;

const char* StabilityWord(Stability stability) {
  switch (stability) {
    case Stability::kAttracting:
      return "attracting";
    case Stability::kNeutral:
      return "neutral";
    default:
      return "repelling";
  }
}

}  // namespace

const char* RunBehaviourWords(RunBehaviour behaviour) {
  switch (behaviour) {
    case RunBehaviour::kSettles:
      return "settles";
    case RunBehaviour::kSettlesWithinRounding:
      return "settles within rounding";
    case RunBehaviour::kCycle:
      return "cycle";
    default:
      return "no repeat";
  }
}

namespace {

const char* LyapunovWord(double exponent) {
  if (std::isnan(exponent)) {
    return "undefined";
  }
  if (exponent < 0.0) {
    return "converging";
  }
  return exponent > 0.0 ? "diverging" : "neutral";
}

std::string LyapunovText(double exponent) {
  return std::isinf(exponent) ? (exponent < 0 ? "-inf" : "inf") : FormatFixed3(exponent);
}

std::string SlopeText(const FixedPoint& point) {
  if (point.corner) {
    return FormatFixed4(point.slopeLeft) + "/" + FormatFixed4(point.slopeRight);
  }
  return FormatFixed4(point.slopeLeft);
}

// "-1.0000" as "-1", "0.5000" as "0.5": a slope read aloud, not a column.
std::string ShortNumber(double value) {
  std::string text = FormatFixed4(value);
  if (text.find('.') == std::string::npos) {
    return text;  // inf
  }
  while (text.back() == '0') {
    text.pop_back();
  }
  if (text.back() == '.') {
    text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

const FixedPoint* NearPoint(const RunReport& report) {
  return report.nearFixedPoint >= 0
             ? &report.fixedPoints[static_cast<std::size_t>(report.nearFixedPoint)]
             : nullptr;
}

}  // namespace

std::string FormatReportLines(const RunReport& report) {
  std::string out = "sentence: " + std::to_string(report.params.sentence) + " " + report.caption +
                    "\ndegree: " + FormatFixed2(report.params.degree) +
                    "\nestimate: " + FormatFixed2(report.params.estimate) +
                    "\nbehaviour: " + RunBehaviourWords(report.behaviour) + "\n";
  if (report.behaviour != RunBehaviour::kNoRepeat) {
    out += "from step: " + std::to_string(report.fromStep) + "\n";
    if (report.behaviour != RunBehaviour::kSettles) {
      out += "period: " + std::to_string(report.period) + "\n";
    }
    out += "values:";
    for (std::size_t i = 0; i < report.values.size() && i < kValuesShown; ++i) {
      out += " " + FormatSignificant9(report.values[i]);
    }
    out += report.values.size() > kValuesShown ? " ...\n" : "\n";
  }
  // Points and intervals in one ascending list.
  std::size_t interval = 0;
  for (std::size_t i = 0; i <= report.fixedPoints.size(); ++i) {
    const double x = i < report.fixedPoints.size() ? report.fixedPoints[i].x : kInfinity;
    while (interval < report.fixedIntervals.size() && report.fixedIntervals[interval].from < x) {
      out += "fixed points: every x in [" + FormatFixed4(report.fixedIntervals[interval].from) +
             ", " + FormatFixed4(report.fixedIntervals[interval].to) + "]\n";
      ++interval;
    }
    if (i < report.fixedPoints.size()) {
      const FixedPoint& point = report.fixedPoints[i];
      out += "fixed point: " + FormatFixed4(point.x) + " slope " + SlopeText(point) + " " +
             StabilityWord(point.stability) + "\n";
    }
  }
  out += "lyapunov exponent: " + LyapunovText(report.lyapunov) + " " +
         LyapunovWord(report.lyapunov) + "\n";
  if (!report.knownSentence) {
    out += "note: there is no sentence with this number, so f is not defined\n";
  }
  const FixedPoint* near = NearPoint(report);
  if (report.roundedOntoFixedPoint) {
    out += std::string("note: rounding, not f, brought the run onto the ") +
           (near != nullptr ? StabilityWord(near->stability) : "neutral") + " fixed point " +
           FormatFixed4(near != nullptr ? near->x : report.values.front()) + " at step " +
           std::to_string(report.fromStep) + "\n";
  }
  if (report.behaviour == RunBehaviour::kSettlesWithinRounding && near != nullptr) {
    out += "note: the values are neighbouring single-precision numbers around the fixed point " +
           FormatFixed4(near->x) + "\n";
  }
  return out;
}

namespace {

std::string CountWord(std::size_t count) {
  static const char* const kWords[] = {"no", "one", "two", "three", "four"};
  return count < 5 ? kWords[count] : std::to_string(count);
}

std::string ShownValues(const std::vector<float>& values, bool exact) {
  std::string text;
  for (std::size_t i = 0; i < values.size() && i < kValuesShown; ++i) {
    text += (i > 0 ? ", " : "") + (exact ? FormatSignificant9(values[i]) : FormatFixed2(values[i]));
  }
  return values.size() > kValuesShown ? text + ", ..." : text;
}

// Two decimals as the main window shows them, and the stored value when those
// two decimals would hide it (0.99999994 is not 1).
std::string SettledValue(float value) {
  const std::string shown = FormatFixed2(value);
  if (static_cast<float>(ParseDouble(shown)) == value) {
    return shown;
  }
  return shown + " (stored as " + FormatSignificant9(value) + ")";
}

std::string PointSentence(const FixedPoint& point) {
  std::string slope = point.corner ? "slopes " + ShortNumber(point.slopeLeft) + " left and " +
                                         ShortNumber(point.slopeRight) + " right"
                                   : "slope " + ShortNumber(point.slopeLeft);
  return FormatFixed4(point.x) + ", " + StabilityWord(point.stability) + " (" + slope + ")";
}

}  // namespace

std::string FormatReportSentences(const RunReport& report) {
  if (!report.knownSentence) {
    return "No sentence is chosen, so there is no valuation to report on.";
  }
  std::string text;
  const FixedPoint* near = NearPoint(report);
  switch (report.behaviour) {
    case RunBehaviour::kSettles:
      text = "From step " + std::to_string(report.fromStep) + " on the value stays at " +
             SettledValue(report.values.front()) + ".";
      break;
    case RunBehaviour::kSettlesWithinRounding:
      text = "From step " + std::to_string(report.fromStep) + " on the values repeat every " +
             std::to_string(report.period) +
             " steps between neighbouring single-precision numbers" +
             (near != nullptr ? " around " + FormatFixed4(near->x) : std::string()) + ": " +
             ShownValues(report.values, true) + ". In real arithmetic that is settling.";
      break;
    case RunBehaviour::kCycle:
      text = "From step " + std::to_string(report.fromStep) + " on the values repeat every " +
             std::to_string(report.period) + " steps: " + ShownValues(report.values, false) + ".";
      break;
    default:
      text = "The values do not repeat within the 999 steps of the run.";
      break;
  }
  const std::size_t count = report.fixedPoints.size();
  for (const FixedInterval& interval : report.fixedIntervals) {
    text += " Every x from " + FormatFixed4(interval.from) + " to " + FormatFixed4(interval.to) +
            " is a fixed point of f (neutral, slope 1).";
  }
  if (count == 1) {
    text += " f has one fixed point, " + PointSentence(report.fixedPoints.front()) + ".";
  } else if (count > 1) {
    text += " f has " + CountWord(count) + " fixed points: ";
    for (std::size_t i = 0; i < count; ++i) {
      text +=
          (i == 0 ? "" : (i + 1 == count ? " and " : "; ")) + PointSentence(report.fixedPoints[i]);
    }
    text += ".";
  } else if (report.fixedIntervals.empty()) {
    text += " f has no fixed point in [0, 1].";
  }
  if (report.roundedOntoFixedPoint) {
    text += std::string(" Rounding, not f, brought the run onto the ") +
            (near != nullptr ? StabilityWord(near->stability) : "neutral") + " fixed point " +
            FormatFixed4(near != nullptr ? near->x : report.values.front()) + " at step " +
            std::to_string(report.fromStep) +
            ": f does not draw nearby values to it, but each step of single precision loses "
            "digits until a value lands on it exactly.";
  }
  const double l = report.lyapunov;
  text += " Lyapunov exponent " + LyapunovText(l) + ": ";
  if (std::isnan(l)) {
    text += "not defined for this run.";
  } else if (l < 0.0) {
    text += "nearby starts come together.";
  } else if (l > 0.0) {
    text += "nearby starts drift apart.";
  } else {
    text += "nearby starts neither come together nor drift apart.";
  }
  return text;
}
