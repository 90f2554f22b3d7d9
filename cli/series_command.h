// veridrift-series: prints the exact values of one run for study and comparison.
#pragma once

#include <iosfwd>

inline constexpr int kSeriesCommandUsageError = 2;

// Checks the run's three arguments as the command does and, when they are
// sound, computes the run into the model; false after one line on err.
bool ComputeRunOfArguments(const char* sentence, const char* degree, const char* estimate,
                           std::ostream& err);

// Runs the command with its arguments (argv[0] is the program name); writes
// the listing to out and any complaint to err; returns the exit status.
int RunSeriesCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
