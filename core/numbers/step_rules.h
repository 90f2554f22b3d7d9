// Which step counts a run shows, and the step count a user types. The
// animation never shows 1: x[1] is the estimate itself, which the first
// line of the web trace already stands on, so 0 is followed by 2. Every
// shell steps, and goes to a step, by these rules, so a run stepped by hand
// stops where the animation would.
#pragma once

#include <string>
#include <string_view>

// The count shown after `step`: 0 (or 1) is followed by 2, 1000 stays.
int NextShownStep(int step);
// The count shown before `step`: 2 goes back to 0, nothing goes below 0,
// and a count past 1000 comes back to 1000.
int PreviousShownStep(int step);

// A step count typed by the user: a whole number from 0 to 1000, blanks
// around it allowed. `refusal` holds one line saying why when there is none.
struct StepCountText {
  bool valid = false;
  int step = 0;
  std::string refusal;
};
StepCountText ParseStepCount(std::string_view text);
