// A link's fragment: what it sets, what it refuses and the line that says
// so, and the page's own links read back to the state they were made from.
#include <gtest/gtest.h>

#include <string>

#include "core/link/link_fragment.h"

namespace {

TEST(LinkFragment, ReadsWhatItCanAndNamesTheRest) {
  const struct {
    const char* name;
    const char* fragment;
    int sentence;
    const char* degree;
    const char* estimate;
    int step;
    int output;
    const char* ignored;
  } cases[] = {
      {"the page's own link", "#sentence=3&degree=0.30&estimate=0.90&step=40&output=1", 3, "0.30",
       "0.90", 40, 1, ""},
      {"nothing at all", "", -1, "", "", -1, -1, ""},
      {"a lone hash", "#", -1, "", "", -1, -1, ""},
      {"every key optional, any order", "step=2&sentence=9", 9, "", "", 2, -1, ""},
      {"values as the field shows them", "degree=.3&estimate=1", -1, "0.30", "1.00", -1, -1, ""},
      {"the field's rounding", "degree=0.125&estimate=0.999", -1, "0.13", "1.00", -1, -1, ""},
      {"escaped", "%73entence=%34&degree=0%2E5", 4, "0.50", "", -1, -1, ""},
      {"empty parts skipped", "&&step=1000&", -1, "", "", 1000, -1, ""},
      {"leading zeros", "sentence=007&step=0040", 7, "", "", 40, -1, ""},
      {"partly bad", "sentence=12&degree=0.4&step=5000", -1, "0.40", "", -1, -1,
       "Ignored in the link: sentence \"12\" (0 to 9), step \"5000\" (0 to 1000)."},
      {"all bad", "sentence=x&degree=abc&estimate=1.5&step=-1&output=2&colour=red", -1, "", "", -1,
       -1,
       "Ignored in the link: sentence \"x\" (0 to 9), degree \"abc\" (0.00 to 1.00), estimate "
       "\"1.5\" (0.00 to 1.00), step \"-1\" (0 to 1000), output \"2\" (0 or 1), \"colour=red\" "
       "(not sentence, degree, estimate, step, output or orbit)."},
      {"a whole number above 1 is no tenths", "degree=5", -1, "", "", -1, -1,
       "Ignored in the link: degree \"5\" (0.00 to 1.00)."},
      {"no sign, blank, exponent or inf", "degree=-0&estimate=%200.5", -1, "", "", -1, -1,
       "Ignored in the link: degree \"-0\" (0.00 to 1.00), estimate \" 0.5\" (0.00 to 1.00)."},
      {"inf is no value", "degree=inf&estimate=1e-1", -1, "", "", -1, -1,
       "Ignored in the link: degree \"inf\" (0.00 to 1.00), estimate \"1e-1\" (0.00 to 1.00)."},
      {"a key with no value", "step&output=1", -1, "", "", -1, 1,
       "Ignored in the link: step \"\" (0 to 1000)."},
      {"the first of two stands", "step=3&step=4", -1, "", "", 3, -1,
       "Ignored in the link: step \"4\" (given before)."},
      {"a long value cut short", "step=12345678901234567890123456789", -1, "", "", -1, -1,
       "Ignored in the link: step \"123456789012345678901234...\" (0 to 1000)."},
      {"a huge number is past, not wrapped", "sentence=4294967299", -1, "", "", -1, -1,
       "Ignored in the link: sentence \"4294967299\" (0 to 9)."},
      {"a stray percent stays", "output=%1", -1, "", "", -1, -1,
       "Ignored in the link: output \"%1\" (0 or 1)."},
  };
  for (const auto& c : cases) {
    const LinkState state = ParseLinkFragment(c.fragment);
    EXPECT_EQ(state.sentence, c.sentence) << c.name;
    EXPECT_EQ(state.degreeText, c.degree) << c.name;
    EXPECT_EQ(state.estimateText, c.estimate) << c.name;
    EXPECT_EQ(state.step, c.step) << c.name;
    EXPECT_EQ(state.output, c.output) << c.name;
    EXPECT_EQ(state.ignored, c.ignored) << c.name;
  }
}

TEST(LinkFragment, AnOrbitViewOpensOnlyWhereItCanBeShown) {
  const struct {
    const char* name;
    const char* fragment;
    const char* axis;
    double from;
    double to;
    const char* ignored;
  } cases[] = {
      {"the page's own", "orbit=degree:0.25..0.50", "degree", 0.25, 0.5, ""},
      {"over the estimate", "sentence=7&orbit=estimate:0..1", "estimate", 0.0, 1.0, ""},
      {"escaped", "sentence=9&orbit=estimate%3A0.1..0.2", "estimate", 0.1, 0.2, ""},
      {"empty view", "orbit=degree:0.5..0.5", "", 0.0, 1.0,
       "Ignored in the link: orbit \"degree:0.5..0.5\" (degree:A..B or estimate:A..B, 0 <= A < B "
       "<= 1)."},
      {"past one, no axis", "orbit=0.2..1.5&orbit=time:0..1", "", 0.0, 1.0,
       "Ignored in the link: orbit \"0.2..1.5\" (degree:A..B or estimate:A..B, 0 <= A < B <= 1), "
       "orbit \"time:0..1\" (given before)."},
      {"no degree to show", "sentence=8&orbit=degree:0.1..0.3", "", 0.0, 1.0,
       "Ignored in the link: orbit \"degree:0.10..0.30\" (sentence 8 has no degree)."},
      {"the first sentence has a degree", "orbit=estimate:0..1", "", 0.0, 1.0,
       "Ignored in the link: orbit \"estimate:0.00..1.00\" (sentence 0 is shown over its "
       "degree)."},
  };
  for (const auto& c : cases) {
    const LinkState state = ParseLinkFragment(c.fragment);
    EXPECT_EQ(state.orbitAxis, c.axis) << c.name;
    EXPECT_EQ(state.orbitFrom, c.from) << c.name;
    EXPECT_EQ(state.orbitTo, c.to) << c.name;
    EXPECT_EQ(state.ignored, c.ignored) << c.name;
  }
  // The view widened to hundredths, never narrowed to nothing.
  EXPECT_EQ(FormatOrbitLinkPart(true, 0.25, 0.5), "&orbit=degree:0.25..0.50");
  EXPECT_EQ(FormatOrbitLinkPart(false, 0.2531, 0.2533), "&orbit=estimate:0.25..0.26");
  EXPECT_EQ(FormatOrbitLinkPart(true, 0.9999, 1.0), "&orbit=degree:0.99..1.00");
}

TEST(LinkFragment, ThePagesLinksReadBack) {
  EXPECT_EQ(FormatLinkFragment(3, "0.30", "0.90", 40, true),
            "sentence=3&degree=0.30&estimate=0.90&step=40&output=1");
  for (const int sentence : {0, 9}) {
    for (const int step : {0, 2, 1000}) {
      const LinkState state =
          ParseLinkFragment(FormatLinkFragment(sentence, "1.00", "0.05", step, false));
      EXPECT_EQ(state.sentence, sentence);
      EXPECT_EQ(state.step, step);
      EXPECT_EQ(state.degreeText + state.estimateText, "1.000.05");
      EXPECT_EQ(state.output, 0);
      EXPECT_EQ(state.ignored, "");
    }
  }
  // A field caught half-edited links what it shows, and the link says so.
  EXPECT_EQ(ParseLinkFragment(FormatLinkFragment(1, "?", "0.&", 5, true)).ignored,
            "Ignored in the link: degree \"?\" (0.00 to 1.00), estimate \"0.&\" (0.00 to 1.00).");
}

}  // namespace
