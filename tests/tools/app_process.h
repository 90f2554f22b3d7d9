// Starts the built application as its own process and watches it end.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

class AppProcess {
 public:
  // extraEnvironment holds "NAME=value" entries added to (or replacing in) ours.
  AppProcess(const std::string& program, const std::vector<std::string>& extraEnvironment = {});
  ~AppProcess();  // kills a process still running
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;

  int pid() const { return pid_; }
  // The exit status once the process has ended within the time-out; nullopt
  // when it is still running. A death by signal reads as 128 + signal.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
  void Kill(int signal);
  // What the process wrote to stdout and stderr so far (both go to a file,
  // never to our own streams).
  std::string Stderr() const;

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
  std::string stderrPath_;
};
