// veridrift-series --picture: a diagram of one run, or a range of its steps,
// written as PNG, SVG, PDF or animated GIF without any display.
#pragma once

#include <iosfwd>

// Whether the arguments ask for a picture rather than a listing.
bool IsPictureCommand(int argc, const char* const* argv);

// Runs the picture command (argv[0] is the program name); views take their
// size in the window at scale 1 unless --size is given. Only the command's
// own complaints reach err. Returns the exit status: 0 written, 2 bad
// arguments or the file cannot be written (nothing is left behind), 1 a
// picture that cannot be drawn (an SVG or PDF without its writer).
int RunPictureCommand(int argc, const char* const* argv, std::ostream& err);
