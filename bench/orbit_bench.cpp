// The orbit diagram's figures: the default diagram computed and rastered on
// one core and on all, a zoom's picture and a cancellation through the
// runner, the memory a full-screen picture holds, and the command's PNG side
// by side with the usual numpy + matplotlib script.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <time.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench_stats.h"
#include "core/numbers/number_text.h"
#include "core/orbit/orbit_image.h"
#include "core/orbit/orbit_runner.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Row(const std::string& name, double value, const std::string& target = "", bool met = true) {
  std::string line = "  " + name;
  line.resize(58, ' ');
  std::string number = FormatFixed2(value);
  line += std::string(10 - std::min<std::size_t>(10, number.size()), ' ') + number;
  if (!target.empty()) {
    line += "   " + target;
    line.resize(line.size() + (target.size() < 12 ? 12 - target.size() : 1), ' ');
    line += met ? "ok" : "MISSED";
  }
  std::printf("%s\n", line.c_str());
}

// Sentence 3 from 0.90 over the whole degree, as the peer script draws it.
OrbitView DefaultView(int columns, int rows) {
  OrbitView view;
  view.request.sentence = 3;
  view.request.degree = 0.3f;
  view.request.estimate = 0.9f;
  view.request.columns = columns;
  view.rows = rows;
  view.stripRows = 60;
  return view;
}

std::vector<double> TimeDraws(const OrbitView& view, int threads, int runs) {
  std::vector<double> samples;
  for (int i = 0; i < runs; ++i) {
    const Clock::time_point start = Clock::now();
    const auto picture = DrawOrbitPicture(view, threads, {});
    samples.push_back(MsSince(start));
  }
  return samples;
}

// Wall time of a whole process, from its start to its exit.
double RunProcess(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args) {
    argv.push_back(const_cast<char*>(arg.c_str()));
  }
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    return -1.0;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  const double ms = MsSince(start);
  posix_spawn_file_actions_destroy(&actions);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1.0;
}

void Memory() {
  // A 1920x1080 window's plot, about 1900 by 1000 pixels: its picture and the
  // composed image the window keeps.
  const double before = PeakRssMiB(getpid());
  const OrbitFrame frame = OrbitFrameFor(1900, 1000, 1);
  OrbitView view = OrbitViewForFrame(DefaultView(2, 2).request, 0.0, 1.0, frame, false);
  auto picture = DrawOrbitPicture(view, OrbitThreads(), {});
  const std::vector<std::uint8_t> image = ComposeOrbitImage(*picture, frame, {});
  const double held = (picture->dots.size() + picture->strip.size() + image.size() +
                       picture->columns.size() * sizeof(OrbitColumn)) /
                      1048576.0;
  Row("full-screen picture and image held (MiB)", held);
  const double growth = PeakRssMiB(getpid()) - before;
  Row("peak resident growth making them (MiB)", growth, "< 16", growth < 16);
}

void Computing() {
  const OrbitView view = DefaultView(1000, 500);
  TimeDraws(view, 1, 3);  // warm up
  const std::vector<double> one = TimeDraws(view, 1, 40);
  const int cores = OrbitThreads();
  const std::vector<double> all = TimeDraws(view, cores, 40);
  Row("default diagram, 1 core, median (ms)", Median(one));
  // Processor time, which a busy machine does not inflate as it does the
  // wall clock.
  timespec cpuStart{};
  timespec cpuEnd{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuStart);
  constexpr int kCpuRuns = 10;
  for (int i = 0; i < kCpuRuns; ++i) {
    DrawOrbitPicture(view, 1, {});
  }
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuEnd);
  const double cpuMs =
      ((cpuEnd.tv_sec - cpuStart.tv_sec) * 1e3 + (cpuEnd.tv_nsec - cpuStart.tv_nsec) / 1e6) /
      kCpuRuns;
  Row("  processor time of one, on 1 core (ms)", cpuMs);
  Row("default diagram, " + std::to_string(cores) + " cores, median (ms)", Median(all), "<= 5",
      Median(all) <= 5.0);
  Row("  p99 (ms)", Percentile(all, 99));
  Row("  one core's time / cores / this (efficiency)", Median(one) / cores / Median(all));
}

void Runner() {
  std::mutex mutex;
  std::condition_variable woken;
  bool ready = false;
  OrbitRunner runner([&] {
    const std::lock_guard<std::mutex> lock(mutex);
    ready = true;
    woken.notify_all();
  });
  const auto waitReady = [&] {
    std::unique_lock<std::mutex> lock(mutex);
    woken.wait(lock, [&] { return ready; });
    ready = false;
    return runner.TakeReady();
  };
  std::vector<double> zooms;
  for (int i = 0; i < 100; ++i) {
    OrbitView view = DefaultView(1000, 450);
    view.request.from = 0.002 * (i % 50);
    view.request.to = 1.0 - 0.003 * (i % 30);
    const Clock::time_point start = Clock::now();
    runner.Submit(view);
    waitReady();
    zooms.push_back(MsSince(start));
  }
  Row("a zoom's new picture, p99 of 100 (ms)", Percentile(zooms, 99), "<= 50",
      Percentile(zooms, 99) <= 50.0);

  OrbitView slow = DefaultView(1000, 450);
  slow.request.transient = 50000;
  slow.request.keep = 50000;
  const Clock::time_point start = Clock::now();
  runner.Submit(slow);
  waitReady();
  const double whole = MsSince(start);
  Row("T + N = 100000, whole picture (ms)", whole, "<= 1000", whole <= 1000.0);
  std::vector<double> cancels;
  for (int i = 0; i < 10; ++i) {
    slow.request.from = 0.01 * i;
    runner.Submit(slow);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    OrbitView next = slow;
    next.request.to = 0.9;
    const Clock::time_point asked = Clock::now();
    runner.Submit(next);
    while (runner.Stopping() > 0) {
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    cancels.push_back(MsSince(asked));
  }
  waitReady();
  Row("  a new zoom stops the old work, p99 (ms)", Percentile(cancels, 99), "<= 20",
      Percentile(cancels, 99) <= 20.0);
}

void SideBySide() {
  const std::string png = "orbit_bench_ours.png";
  const std::string peerPng = "orbit_bench_peer.png";
  std::vector<double> ours;
  for (int i = 0; i < 10; ++i) {
    ours.push_back(RunProcess({VERIDRIFT_SERIES_EXE, "--orbit", "--columns", "1000", "--output",
                               png, "3", "0.30", "0.90"}));
  }
  Row("--orbit --output, process start to PNG, median (ms)", Median(ours));
  const char* own = std::getenv("VERIDRIFT_PEER_ORBIT");
  const std::string peer = own != nullptr ? own : VERIDRIFT_PEER_ORBIT;
  if (access(peer.c_str(), R_OK) != 0) {
    std::printf("  (the numpy + matplotlib peer %s is missing: side by side skipped)\n",
                peer.c_str());
    std::remove(png.c_str());
    return;
  }
  // The first Python that has numpy and matplotlib: a version manager's
  // python3 may come first on the path without them.
  std::string python;
  const char* const candidates[] = {std::getenv("VERIDRIFT_PYTHON"), "python3", "/usr/bin/python3"};
  for (const char* candidate : candidates) {
    if (python.empty() && candidate != nullptr &&
        RunProcess({candidate, "-c", "import numpy, matplotlib"}) >= 0) {
      python = candidate;
    }
  }
  if (python.empty()) {
    std::printf("  (no python3 with numpy and matplotlib: side by side skipped)\n");
    std::remove(png.c_str());
    return;
  }
  std::vector<double> theirs;
  for (int i = 0; i < 3; ++i) {
    theirs.push_back(RunProcess({python, peer, peerPng, "1000"}));
  }
  Row("numpy + matplotlib peer, the same, median (ms)", Median(theirs));
  const double ratio = Median(theirs) / Median(ours);
  Row("  times faster", ratio, ">= 30", ratio >= 30.0);
  std::remove(png.c_str());
  std::remove(peerPng.c_str());
}

}  // namespace

int main() {
  std::printf("orbit diagram: sentence 3 from 0.90, 1000 columns, T = N = 500, %d processors\n",
              static_cast<int>(std::thread::hardware_concurrency()));
  Memory();
  Computing();
  Runner();
  SideBySide();
  return 0;
}
