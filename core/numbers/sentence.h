// The ten self-referential sentences: their captions, valuations and formula
// lines. Everything here reads the current sentence and degree from the
// process-wide run parameters (series.h).
#pragma once

#include <cstdint>
#include <string>

// Index 0..9 of a sentence; any other value is accepted and gives the fallback
// results (-9999.0, "Not yet implemented").
using SentenceKind = std::int32_t;

inline constexpr SentenceKind kSentenceCount = 10;
inline constexpr double kNoValuation = -9999.0;
inline constexpr const char* kNotImplemented = "Not yet implemented";

// The valuation f(x) of the current sentence with the current degree, in
// double precision and not rounded to single.
double EvaluateSentence(float x);

// The same valuation for any sentence and degree, touching no process-wide
// state, so that many runs can be computed at once on other threads.
double EvaluateSentenceAt(SentenceKind sentence, float degree, float x);

// Replaces out with the picker caption of sentence `index`, filled with the
// current degree.
void FormatSentenceCaption(std::string& out, SentenceKind index);

// Replaces out with the formula line of the current sentence (two lines joined
// by "\n" for sentence 1).
void FormatFormula(std::string& out);

// The caption as the window template holds it before the first refresh, with
// "__" where the degree goes.
const char* TemplateCaption(SentenceKind index);

// Whether the sentence uses the degree k (sentences 0 to 5).
bool SentenceUsesDegree(SentenceKind index);

// The word after the degree field: "false" for sentences 1, 4 and 5, which
// speak of falsity, "true" for every other index.
const char* TruthWord(SentenceKind index);
