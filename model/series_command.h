// veridrift-series: prints the exact values of one run for study and comparison.
#pragma once

#include <iosfwd>

inline constexpr int kSeriesCommandUsageError = 2;

// Runs the command with its arguments (argv[0] is the program name); writes
// the listing to out and any complaint to err; returns the exit status.
int RunSeriesCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
