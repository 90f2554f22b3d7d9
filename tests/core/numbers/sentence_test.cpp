#include "core/numbers/sentence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/numbers/series.h"

namespace {

void Use(SentenceKind sentence, float degree) {
  g_runParams.sentence = sentence;
  g_runParams.degree = degree;
}

struct ValuationCase {
  const char* name;
  SentenceKind sentence;
  float degree;
  float x;
  double expected;  // compared bit for bit
};

TEST(EvaluateSentence, GivesTheExactDoubles) {
  const float nearInverse = static_cast<float>(1.0 / 1.3);
  const ValuationCase cases[] = {
      {"0 at its fixed point", 0, 0.3f, 0.3f, 1.0},
      {"0 from 0.9", 0, 0.3f, 0.9f, 0.40000003576278687},
      {"1 from 0.9", 1, 0.3f, 0.9f, 1.0 - std::fabs(0.3f - (1.0 - 0.9f))},
      {"2 with k = 1 is always true", 2, 1.0f, 0.37f, 1.0},
      {"2 with k = 1 at 0", 2, 1.0f, 0.0f, 1.0},
      {"3 clamps at the crossing, never 1 + eps", 3, 0.3f, nearInverse, 1.0},
      {"3 adds the single epsilon elsewhere", 3, 0.3f, 0.0f, 9.999999974752427e-07},
      {"4 at 0", 4, 0.5f, 0.0f, 0.5},
      {"5 at 1", 5, 0.5f, 1.0f, 1.0},
      {"6 at 2^-30 rounds |x-1| to 1 first", 6, 0.3f, std::ldexp(1.0f, -30), 0.0},
      {"6 at 0.9", 6, 0.3f, 0.9f, std::pow(1.0 - static_cast<float>(1.0 - 0.9f), 2.0)},
      {"7 at 1", 7, 0.3f, 1.0f, 0.0},
      {"7 at 0", 7, 0.3f, 0.0f, 1.0},
      {"8 at 1", 8, 0.3f, 1.0f, 1.0},
      {"9 at 0", 9, 0.3f, 0.0f, 1.0},
      {"9 at 0.25", 9, 0.3f, 0.25f, std::sqrt(0.75)},
      {"index 10 falls back", 10, 0.3f, 0.5f, -9999.0},
      {"index -1 falls back", -1, 0.3f, 0.5f, -9999.0},
      {"lowest index falls back", INT32_MIN, 0.3f, 0.5f, -9999.0},
  };
  for (const auto& c : cases) {
    Use(c.sentence, c.degree);
    EXPECT_EQ(EvaluateSentence(c.x), c.expected) << c.name;
  }
}

// Without -ffp-contract=off, k*x - x may become one fused multiply-add and
// the series drifts; these pin the unfused result.
TEST(EvaluateSentence, ProductsAreRoundedBeforeTheSubtraction) {
  Use(2, 0.5f);
  const double k = 0.5f, x = 0.9f;
  const double p = k * x;
  EXPECT_EQ(EvaluateSentence(0.9f), 1.0 - std::fabs(p - x));
  Use(3, 0.3f);
  const float x3 = 0.7f;
  const double p3 = static_cast<double>(0.3f) * x3;
  const double d3 = p3 - (1.0 - x3);
  EXPECT_EQ(EvaluateSentence(x3), (1.0 - std::fabs(d3)) + static_cast<double>(1e-6f));
}

TEST(EvaluateSentence, DegreeFreeSentencesIgnoreTheDegree) {
  for (SentenceKind sentence = 6; sentence <= 9; ++sentence) {
    Use(sentence, 0.0f);
    const double atZero = EvaluateSentence(0.4f);
    Use(sentence, 1.0f);
    EXPECT_EQ(EvaluateSentence(0.4f), atZero) << sentence;
  }
}

struct TextCase {
  SentenceKind sentence;
  float degree;
  const char* text;
};

TEST(FormatSentenceCaption, FillsTheDegree) {
  const TextCase cases[] = {
      {0, 0.3f, "This sentence is 0.30 True"},
      {1, 0.3f, "This sentence is 0.30 False"},
      {2, 0.3f, "This sentence is 0.30 as True as it is estimated to be True"},
      {3, 0.3f, "This sentence is 0.30 as True as it is estimated to be False"},
      {4, 0.3f, "This sentence is 0.30 as False as it is estimated to be True"},
      {5, 0.125f, "This sentence is 0.13 as False as it is estimated to be False"},
      {6, 0.3f, "This sentence is very True (emphatic truth teller)"},
      {7, 0.3f, "This sentence is very False (emphatic liar)"},
      {8, 0.3f, "This sentence is fairly True (modest truth teller)"},
      {9, 0.3f, "This sentence is fairly False (modest liar)"},
      {10, 0.3f, "Not yet implemented"},
      {-1, 0.3f, "Not yet implemented"},
  };
  for (const auto& c : cases) {
    Use(0, c.degree);
    std::string out = "left over";
    FormatSentenceCaption(out, c.sentence);
    EXPECT_EQ(out, c.text) << c.sentence;
  }
}

TEST(FormatFormula, FillsTheDegreeOfTheCurrentSentence) {
  const TextCase cases[] = {
      {0, 0.3f, "        = 1 - abs(0.30 - Xn)"},
      {1, 0.3f, "        = 1 - abs(0.30 - (1 - Xn))\n         = 1 - abs(0.70 - Xn)"},
      {1, 1.0f, "        = 1 - abs(1.00 - (1 - Xn))\n         = 1 - abs(0.00 - Xn)"},
      {2, 0.5f, "        = 1 - abs((0.50 * Xn) - Xn)"},
      {3, 0.3f, "        = 1 - abs((0.30 * Xn) - (1 - Xn))"},
      {4, 0.3f, "        = 1 - abs((0.30 * (1 - Xn)) - Xn)"},
      {5, 0.3f, "        = 1 - abs((0.30 * (1 - Xn)) - (1 - Xn))"},
      {6, 0.3f, "        = squared (1 - abs( 0 - (Xn - 1)))"},
      {7, 0.3f, "        = squared (1 - abs( 0 - Xn ))"},
      {8, 0.3f, "        = sqrt (1 - abs( 0 - (Xn - 1)))"},
      {9, 0.3f, "        = sqrt (1 - abs( 0 - Xn ))"},
      {10, 0.3f, "Not yet implemented"},
      {-7, 0.3f, "Not yet implemented"},
  };
  for (const auto& c : cases) {
    Use(c.sentence, c.degree);
    std::string out = "left over";
    FormatFormula(out);
    EXPECT_EQ(out, c.text) << c.sentence;
  }
}

TEST(TemplateCaption, KeepsThePlaceholder) {
  EXPECT_STREQ(TemplateCaption(0), "This sentence is __ True");
  EXPECT_STREQ(TemplateCaption(9), "This sentence is fairly False");
  EXPECT_STREQ(TemplateCaption(10), "");
  EXPECT_TRUE(SentenceUsesDegree(5));
  EXPECT_FALSE(SentenceUsesDegree(6));
  EXPECT_FALSE(SentenceUsesDegree(-1));
}

TEST(TruthWord, FalseForTheSentencesOfFalsity) {
  const char* words[] = {"true",  "false", "true", "true", "false",
                         "false", "true",  "true", "true", "true"};
  for (SentenceKind i = 0; i < kSentenceCount; ++i) {
    EXPECT_STREQ(TruthWord(i), words[i]) << i;
  }
  EXPECT_STREQ(TruthWord(-1), "true") << "no selection";
}

}  // namespace
