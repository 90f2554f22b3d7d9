// veridrift-series as a script runs it, timed from outside the process: a
// listing (which draws nothing) and a PNG of the web diagram at step 1000
// (every line of the staircase), process start to exit, with the peak
// resident memory of the process.
//   cli_bench [runs]   (default 50)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/numbers/number_text.h"

extern char** environ;

namespace {

struct Figures {
  std::vector<double> ms;
  double peakMiB = 0.0;
  bool ok = true;
};

// One run with its output thrown away; false when it failed.
bool RunOnce(const std::vector<std::string>& arguments, double* ms, double* peakMiB) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    return false;
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) {
    return false;
  }
  *ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  *peakMiB = std::max(*peakMiB, static_cast<double>(usage.ru_maxrss) / 1024.0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Figures Measure(const std::vector<std::string>& arguments, int runs) {
  Figures figures;
  for (int i = 0; i < runs && figures.ok; ++i) {
    double ms = 0.0;
    figures.ok = RunOnce(arguments, &ms, &figures.peakMiB);
    figures.ms.push_back(ms);
  }
  std::sort(figures.ms.begin(), figures.ms.end());
  return figures;
}

void Row(const std::string& what, double figure, const char* target, bool met) {
  std::printf("  %-52s %9s   %-8s %s\n", what.c_str(), FormatFixed2(figure).c_str(), target,
              *target == '\0' ? "" : (met ? "ok" : "MISSED"));
}

void Report(const char* what, const Figures& figures, double msTarget, double mibTarget) {
  if (!figures.ok || figures.ms.empty()) {
    std::printf("  %s: the command failed\n", what);
    return;
  }
  const double median = figures.ms[figures.ms.size() / 2];
  const std::string ms = "< " + std::to_string(static_cast<int>(msTarget));
  Row(std::string(what) + ", median (ms)", median, ms.c_str(), median <= msTarget);
  Row("  fastest (ms)", figures.ms.front(), "", true);
  if (mibTarget > 0) {
    const std::string mib = "< " + std::to_string(static_cast<int>(mibTarget));
    Row("  peak resident memory (MiB)", figures.peakMiB, mib.c_str(), figures.peakMiB <= mibTarget);
  } else {
    Row("  peak resident memory (MiB)", figures.peakMiB, "", true);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  const std::string tool = VERIDRIFT_SERIES_EXE;
  char folder[] = "/tmp/veridrift-cli-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) {
    std::perror("cli_bench");
    return 1;
  }
  const std::string png = std::string(folder) + "/web.png";
  std::printf("veridrift-series, process start to exit, %d runs each\n", runs);
  Report("--csv 3 0.30 0.90", Measure({tool, "--csv", "3", "0.30", "0.90"}, runs), 3, 0);
  Report("--picture web --step 1000, PNG",
         Measure({tool, "--picture", "web", "--step", "1000", "--output", png, "3", "0.30", "0.90"},
                 runs),
         10, 16);
  unlink(png.c_str());
  rmdir(folder);
  return 0;
}
