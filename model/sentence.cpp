#include "sentence.h"

#include <cmath>

#include "number_text.h"
#include "series.h"

namespace {

// The single-precision 1e-6, widened: 9.999999974752427e-07, not the double 1e-6.
constexpr double kEpsilon = static_cast<double>(1e-6f);

// |v| by comparison with 0.0, as the valuations are defined.
double Magnitude(double v) {
  return v < 0.0 ? -v : v;
}

bool IsKnown(SentenceKind index) {
  return static_cast<std::uint32_t>(index) < static_cast<std::uint32_t>(kSentenceCount);
}

struct CaptionText {
  const char* template_text;
  const char* before;  // caption up to the degree, or the whole caption
  const char* after;   // rest of the caption; null when there is no degree
};

constexpr CaptionText kCaptions[kSentenceCount] = {
    {"This sentence is __ True", "This sentence is ", " True"},
    {"This sentence is __ False", "This sentence is ", " False"},
    {"This sentence is __ as True as it is estimated to be True", "This sentence is ",
     " as True as it is estimated to be True"},
    {"This sentence is __ as True as it is estimated to be False", "This sentence is ",
     " as True as it is estimated to be False"},
    {"This sentence is __ as False as it is estimated to be True", "This sentence is ",
     " as False as it is estimated to be True"},
    {"This sentence is __ as False as it is estimated to be False", "This sentence is ",
     " as False as it is estimated to be False"},
    {"This sentence is very True", "This sentence is very True (emphatic truth teller)", nullptr},
    {"This sentence is very False", "This sentence is very False (emphatic liar)", nullptr},
    {"This sentence is fairly True", "This sentence is fairly True (modest truth teller)", nullptr},
    {"This sentence is fairly False", "This sentence is fairly False (modest liar)", nullptr},
};

}  // namespace

double EvaluateSentence(float x) {
  return EvaluateSentenceAt(g_runParams.sentence, g_runParams.degree, x);
}

double EvaluateSentenceAt(SentenceKind index, float degree, float x_single) {
  if (!IsKnown(index)) {
    return kNoValuation;
  }
  const double x = x_single;
  const double k = degree;
  switch (index) {
    case 0: {
      const double d = k - x;
      return 1.0 - Magnitude(d);
    }
    case 1: {
      const double t = 1.0 - x;
      const double d = k - t;
      return 1.0 - Magnitude(d);
    }
    case 2: {
      const double p = k * x;
      const double d = p - x;
      return 1.0 - Magnitude(d);
    }
    case 3: {
      const double p = k * x;
      const double t = 1.0 - x;
      const double d = p - t;
      const double y = (1.0 - Magnitude(d)) + kEpsilon;
      return y > 1.0 ? 1.0 : y;
    }
    case 4: {
      const double t = 1.0 - x;
      const double p = t * k;
      const double d = p - x;
      return 1.0 - Magnitude(d);
    }
    case 5: {
      const double t = 1.0 - x;
      const double p = t * k;
      const double d = p - t;
      return 1.0 - Magnitude(d);
    }
    case 6:
    case 8: {
      const float a = static_cast<float>(Magnitude(x - 1.0));
      return std::pow(1.0 - a, index == 6 ? 2.0 : 0.5);
    }
    default: {  // 7 and 9
      const float a = static_cast<float>(Magnitude(-x));
      return std::pow(1.0 - a, index == 7 ? 2.0 : 0.5);
    }
  }
}

void FormatSentenceCaption(std::string& out, SentenceKind index) {
  if (!IsKnown(index)) {
    out = kNotImplemented;
    return;
  }
  const CaptionText& caption = kCaptions[index];
  out = caption.before;
  if (caption.after != nullptr) {
    out += FormatFixed2(static_cast<double>(g_runParams.degree));
    out += caption.after;
  }
}

void FormatFormula(std::string& out) {
  const SentenceKind index = g_runParams.sentence;
  const double k = g_runParams.degree;
  const std::string kText = FormatFixed2(k);
  switch (index) {
    case 0:
      out = "        = 1 - abs(" + kText + " - Xn)";
      return;
    case 1:
      out = "        = 1 - abs(" + kText + " - (1 - Xn))\n         = 1 - abs(" +
            FormatFixed2(1.0 - k) + " - Xn)";
      return;
    case 2:
      out = "        = 1 - abs((" + kText + " * Xn) - Xn)";
      return;
    case 3:
      out = "        = 1 - abs((" + kText + " * Xn) - (1 - Xn))";
      return;
    case 4:
      out = "        = 1 - abs((" + kText + " * (1 - Xn)) - Xn)";
      return;
    case 5:
      out = "        = 1 - abs((" + kText + " * (1 - Xn)) - (1 - Xn))";
      return;
    case 6:
      out = "        = squared (1 - abs( 0 - (Xn - 1)))";
      return;
    case 7:
      out = "        = squared (1 - abs( 0 - Xn ))";
      return;
    case 8:
      out = "        = sqrt (1 - abs( 0 - (Xn - 1)))";
      return;
    case 9:
      out = "        = sqrt (1 - abs( 0 - Xn ))";
      return;
    default:
      out = kNotImplemented;
      return;
  }
}

const char* TemplateCaption(SentenceKind index) {
  return IsKnown(index) ? kCaptions[index].template_text : "";
}

bool SentenceUsesDegree(SentenceKind index) {
  return static_cast<std::uint32_t>(index) <= 5u;
}
