// veridrift-series --orbit: the listings need nothing but the model; a
// picture is composed by the model too, with no display, application or
// font, and written through the picture code's temporary file, so a failed write leaves nothing
// behind.
#pragma once

#include <iosfwd>

int RunOrbitCommand(int argc, char** argv, std::ostream& out, std::ostream& err);
