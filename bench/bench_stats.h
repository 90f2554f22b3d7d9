// Summaries of timing samples, and what the kernel says about a process's
// processor time and memory.
#pragma once

#include <sys/types.h>

#include <vector>

// The p-th percentile (0..100) by the nearest-rank method; 0 for no samples.
double Percentile(std::vector<double> samples, double p);
double Median(const std::vector<double>& samples);
double Mean(const std::vector<double>& samples);
double Largest(const std::vector<double>& samples);
// The largest |sample - reference|.
double LargestDeviation(const std::vector<double>& samples, double reference);

// Processor time (user and system, all live threads) in milliseconds, from
// the scheduler's nanosecond accounting; -1 when the process is gone.
double ProcessCpuMs(pid_t pid);
// Peak resident set size in MiB (VmHWM); -1 when unknown.
double PeakRssMiB(pid_t pid);

// Where the resident memory of a process lies now, in MiB, by what is mapped.
struct ResidentShares {
  double total = 0.0;
  double softwareRenderer = 0.0;  // Mesa's drivers and the LLVM they compile shaders with
  double qt = 0.0;
  double otherLibraries = 0.0;
  double ownData = 0.0;  // heap, stacks, anonymous and shared memory
};
ResidentShares ResidentSharesOf(pid_t pid);
