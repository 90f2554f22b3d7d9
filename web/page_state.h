// What the page keeps between its calls into the core: the run's log and
// the answers the page's shell asks for. Plain C++, no browser needed, so
// the same functions can be checked natively.
#pragma once

#include <string>

#include "core/layout/dialog_rects.h"
#include "core/layout/dialog_templates.h"

// Computes the run from the picker's index and the two fields' texts, read
// as the desktop's fields read them, and writes the log back to its head.
void RefreshRun(int sentence, const std::string& degreeText, const std::string& estimateText);
// The text a field shows for a value set by the program ("0.30").
std::string FieldValueText(float value);
// "true", or "false" for the sentences that speak of falsehood.
std::string TruthWordOf(int sentence);

std::string LogText();
// The log after the step `step` was shown; whether it changed.
bool LogStep(int step);
// The step shown after `step`: 0 is followed by 2, and the last stays.
int NextStep(int step);
// The step shown before `step`: 2 goes back to 0, and 0 stays.
int PreviousStep(int step);
// The log, and whether its last line is open, as an uninterrupted run from
// step 0 leaves them at `step`: stepping by hand and Graph after it then
// write what the animation would have.
void ShowLogAtStep(int step, bool showOutput);
int StepIntervalMs();

std::string DescribeStep(int step);
// The web diagram's words, which say when f∘f is drawn too.
std::string DescribeWebStep(int step, bool secondIterate);
std::string ReportSentences();
std::string ReportLines();
// "index<TAB>value" lines of the current series, nine significant digits.
std::string SeriesListing();
std::string VersionText();
// The formula picture, one line of '#' (white) and '.' per pixel row.
std::string FormulaBitmapText();

// The window's constants that the page lays out with.
int PickerHeight();
int InitialInputLimit();
int LogFontPoints();
int LogPageLines();
// The smallest font, in pixels, the log is made to fit a whole page with.
int LogSmallestPixels();
std::string InitialDegreeText();
std::string InitialEstimateText();
std::string AboutMenuText();
std::string ReportMenuText();
// The desktop's entries for stepping by hand and f∘f, each key after a tab,
// and its Go to Step dialog's caption and label.
std::string StepForwardMenuText();
std::string StepBackMenuText();
std::string GoToStepMenuText();
std::string SecondIterateMenuText();
std::string GoToStepCaption();
std::string StepCountLabel();
// The window menu's entry that copies a link to what the window shows, and
// the line saying the link was copied, or that it is to be copied by hand.
std::string CopyLinkMenuText();
std::string LinkCopiedText();
std::string LinkByHandText();

// A template item's rectangle, and the template's client area, in CSS
// pixels at scale 1 (96 dots per inch), as the desktop window maps them.
// `measured` are the base units of the page's font for a template whose face
// is not known by design.
DialogRect ItemRectInPixels(int templateId, const DialogItemTemplate& item,
                            DialogBaseUnits measured);
DialogRect TemplateClientInPixels(int templateId, DialogBaseUnits measured);
