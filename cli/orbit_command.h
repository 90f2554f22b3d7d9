// veridrift-series --orbit: the orbit diagram's columns as CSV or as one
// verdict line per column; the arguments are read here for the picture too.
#pragma once

#include <iosfwd>
#include <string>

#include "core/orbit/orbit_columns.h"

enum class OrbitOutput { kCsv, kTable, kPicture };

struct OrbitArguments {
  OrbitRequest request;
  OrbitOutput output = OrbitOutput::kCsv;
  std::string path;  // the picture's file
  int width = 1000;
  int height = 600;
  int scale = 1;              // margins and type, as at a device pixel ratio of `scale`
  bool columnsGiven = false;  // else a picture has one column per pixel
};

inline constexpr int kOrbitSmallestWidth = 200;
inline constexpr int kOrbitSmallestHeight = 150;
inline constexpr int kOrbitLargestSide = 8192;
inline constexpr int kOrbitLargestScale = 4;

// Whether the arguments ask for the orbit diagram.
bool IsOrbitCommand(int argc, const char* const* argv);

// Reads and checks every argument (argv[0] is the program name); false after
// one line on err naming what is wrong. Whether a picture's folder exists is
// left to the writing.
bool ParseOrbitArguments(int argc, const char* const* argv, OrbitArguments* args,
                         std::ostream& err);

// Computes the columns on every core; with a terminal on stderr, a progress
// line shows when the work takes longer than a second. The sink as in
// ComputeOrbitColumns.
std::vector<OrbitColumn> ComputeOrbitForCommand(const OrbitRequest& request,
                                                const OrbitColumnSink& sink, int errFd);

// Writes the CSV or the table of a parsed request to out; the exit status.
int RunOrbitListing(const OrbitArguments& args, std::ostream& out);
