// veridrift-series --picture: a diagram of one run, or a range of its steps,
// written as PNG, SVG, PDF or animated GIF without any display.
#pragma once

#include <QRect>
#include <functional>
#include <iosfwd>

// Whether the arguments ask for a picture rather than a listing.
bool IsPictureCommand(int argc, const char* const* argv);

// Where a view of `mode` (0 time series, 1 web) is in the window at scale 1;
// asked only when --size is not given, with the application up.
using ViewPlace = std::function<QRect(int mode)>;

// Runs the picture command (argv[0] is the program name). Starts its own
// headless application; nothing of Qt's or the OpenGL driver's reaches err,
// only the command's own complaints. Returns the exit status: 0 written, 2
// bad arguments or the file cannot be written (nothing is left behind), 1 no
// OpenGL for a PNG.
int RunPictureCommand(int argc, char** argv, std::ostream& err, const ViewPlace& viewPlace);
