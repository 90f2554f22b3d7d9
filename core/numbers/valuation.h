// The valuations themselves, inline: the orbit diagram evaluates a million
// steps at a time and needs them where the compiler can see them. Everything
// else calls them through EvaluateSentence or EvaluateSentenceAt.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/numbers/sentence.h"

namespace valuation_detail {

// The single-precision 1e-6, widened: 9.999999974752427e-07, not the double 1e-6.
inline constexpr double kEpsilon = static_cast<double>(1e-6f);

// |v| by comparison with 0.0, as the valuations are defined.
inline double Magnitude(double v) {
  return v < 0.0 ? -v : v;
}

}  // namespace valuation_detail

// f(x) of `index` with degree `degree`, in double precision, not rounded.
inline double SentenceValuation(SentenceKind index, float degree, float x_single) {
  if (static_cast<std::uint32_t>(index) >= static_cast<std::uint32_t>(kSentenceCount)) {
    return kNoValuation;
  }
  const double x = x_single;
  const double k = degree;
  switch (index) {
    case 0: {
      const double d = k - x;
      return 1.0 - valuation_detail::Magnitude(d);
    }
    case 1: {
      const double t = 1.0 - x;
      const double d = k - t;
      return 1.0 - valuation_detail::Magnitude(d);
    }
    case 2: {
      const double p = k * x;
      const double d = p - x;
      return 1.0 - valuation_detail::Magnitude(d);
    }
    case 3: {
      const double p = k * x;
      const double t = 1.0 - x;
      const double d = p - t;
      const double y = (1.0 - valuation_detail::Magnitude(d)) + valuation_detail::kEpsilon;
      return y > 1.0 ? 1.0 : y;
    }
    case 4: {
      const double t = 1.0 - x;
      const double p = t * k;
      const double d = p - x;
      return 1.0 - valuation_detail::Magnitude(d);
    }
    case 5: {
      const double t = 1.0 - x;
      const double p = t * k;
      const double d = p - t;
      return 1.0 - valuation_detail::Magnitude(d);
    }
    case 6:
    case 8: {
      const float a = static_cast<float>(valuation_detail::Magnitude(x - 1.0));
      return std::pow(1.0 - a, index == 6 ? 2.0 : 0.5);
    }
    default: {  // 7 and 9
      const float a = static_cast<float>(valuation_detail::Magnitude(-x));
      return std::pow(1.0 - a, index == 7 ? 2.0 : 0.5);
    }
  }
}

// What the valuation of sentences 0 to 5 takes the magnitude of, computed as
// the valuation computes it, so its sign changes on the very single-precision
// step where f has its corner. Monotone in x. NaN for the other sentences,
// whose valuations have no corner in [0, 1].
inline double SentenceCornerArgument(SentenceKind index, float degree, float x_single) {
  const double x = x_single;
  const double k = degree;
  switch (index) {
    case 0:
      return k - x;
    case 1:
      return k - (1.0 - x);
    case 2:
      return k * x - x;
    case 3:
      return k * x - (1.0 - x);
    case 4:
      return (1.0 - x) * k - x;
    case 5:
      return (1.0 - x) * k - (1.0 - x);
    default:
      return std::numeric_limits<double>::quiet_NaN();
  }
}
