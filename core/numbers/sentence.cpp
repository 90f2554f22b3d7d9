#include "core/numbers/sentence.h"

#include <cmath>

#include "core/numbers/number_text.h"
#include "core/numbers/series.h"
#include "core/numbers/valuation.h"

namespace {

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

double EvaluateSentenceAt(SentenceKind index, float degree, float x) {
  return SentenceValuation(index, degree, x);
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

const char* TruthWord(SentenceKind index) {
  return index == 1 || index == 4 || index == 5 ? "false" : "true";
}
