// The orbit diagram's columns: for each parameter along an axis, the run the
// tool itself would make, the values it visits after its transient and the
// run report's verdict on it. Any stretch of columns can be computed in the
// calling thread and abandoned half way, so that threads (orbit_runner.h) or
// a single thread in slices share the work; nothing here touches the
// process-wide run.
#pragma once

#include <functional>
#include <vector>

#include "core/numbers/series.h"
#include "core/report/run_report.h"

enum class OrbitAxis { kDegree, kEstimate };

inline constexpr int kOrbitFewestColumns = 2;
inline constexpr int kOrbitMostColumns = 10000;
inline constexpr int kOrbitLongestRun = 1000000;  // T + N - 1 at most

struct OrbitRequest {
  SentenceKind sentence = 0;
  float degree = 0.0f;
  float estimate = 0.0f;
  OrbitAxis axis = OrbitAxis::kDegree;
  double from = 0.0;  // A, 0 <= A < B <= 1
  double to = 1.0;    // B
  int columns = 1000;
  int transient = 500;  // T: the first kept value is s[T]
  int keep = 500;       // N
};

// The axis a sentence is shown over when nothing else is asked: the
// estimate for the sentences without a degree.
OrbitAxis DefaultOrbitAxis(SentenceKind sentence);

// Column c's parameter: A + c(B - A)/(C - 1) in double, rounded to single.
float OrbitParameter(const OrbitRequest& request, int column);

// The run of column c: the request's sentence, degree and estimate with the
// axis's one replaced by the column's parameter.
RunParams OrbitColumnRun(const OrbitRequest& request, int column);

// s[0] = 0, s[1] = x0, s[i] = single(f(s[i-1])) for i < length, exactly as
// the window's series is computed, continued by the same rule past its end.
void ComputeRunValues(const RunParams& run, int length, std::vector<float>* values);

// The run report's verdict on a column's run, from the run's first
// kSeriesLength values.
struct OrbitVerdict {
  RunBehaviour behaviour = RunBehaviour::kNoRepeat;
  int fromStep = 0;
  int period = 0;
  double lyapunov = 0.0;
  bool rounding = false;  // the report's note: rounding put the run on a fixed point
};

OrbitVerdict VerdictOfRun(const RunParams& run, const std::vector<float>& values);

struct OrbitColumn {
  float parameter = 0.0f;
  OrbitVerdict verdict;
};

// Receives column c's kept values s[T] .. s[T+N-1]; called once per column,
// from whichever thread computed it, for different columns at the same time.
using OrbitColumnSink = std::function<void(int column, const float* kept)>;

// Asked between stretches of steps; true abandons the work.
using OrbitShouldStop = std::function<bool()>;

// Computes the columns first .. last - 1 in the calling thread into
// `columns`, which holds the request's every column already. Returns false,
// with some of them unset, as soon as `stop` (when given) says so; a long
// run asks it every few milliseconds. Columns of one request may be computed
// this way on different threads at the same time.
bool ComputeOrbitColumnRange(const OrbitRequest& request, int first, int last,
                             const OrbitShouldStop& stop, const OrbitColumnSink& sink,
                             std::vector<OrbitColumn>* columns);
