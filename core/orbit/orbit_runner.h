// The orbit diagram's pictures computed away from the caller's thread: each
// request gets its own raster and replaces the one under way, and only the
// latest request's picture can ever be taken, so a superseded computation
// never shows in a newer picture. The threads live here alone, so that the
// columns, the raster and the picture build where there are none.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

#include "core/orbit/orbit_view.h"

// Computes every column on `threads` threads (at least one). Stops early
// when `stop` is requested and then returns false; `done`, when given,
// counts the finished columns as they finish.
bool ComputeOrbitColumns(const OrbitRequest& request, int threads, std::stop_token stop,
                         const OrbitColumnSink& sink, std::vector<OrbitColumn>* columns,
                         std::atomic<int>* done = nullptr);

// The processor cores to use: all of them, at least one.
int OrbitThreads();

// Computes and shades one picture in the calling thread; null when stopped.
std::shared_ptr<OrbitPicture> DrawOrbitPicture(const OrbitView& view, int threads,
                                               std::stop_token stop,
                                               std::atomic<int>* done = nullptr);

class OrbitRunner {
 public:
  // `ready` is called on a worker thread whenever the latest request's
  // picture is ready; `starting`, when given, first thing on each request's
  // thread, before it starts its helpers (which inherit what it sets).
  explicit OrbitRunner(std::function<void()> ready, std::function<void()> starting = {});
  ~OrbitRunner();
  OrbitRunner(const OrbitRunner&) = delete;
  OrbitRunner& operator=(const OrbitRunner&) = delete;

  // Asks the computation under way to stop (it ends within a stretch of
  // steps, without being waited for) and starts this one; returns its
  // generation.
  std::uint64_t Submit(const OrbitView& view);

  // How many superseded computations have not stopped yet.
  int Stopping() const;

  // The latest request's picture once, or null.
  std::shared_ptr<const OrbitPicture> TakeReady();

  bool Busy() const { return busy_.load(); }
  // Columns done of the request under way, from 0 to 1.
  double Progress() const;

 private:
  std::function<void()> ready_;
  std::function<void()> starting_;
  std::mutex mutex_;
  std::uint64_t generation_ = 0;
  std::shared_ptr<const OrbitPicture> picture_;
  std::atomic<bool> busy_{false};

  struct Job {
    std::atomic<int> done{0};
    int total = 1;
    std::atomic<bool> finished{false};
  };
  std::shared_ptr<Job> job_;
  // The latest job's thread last: each jthread stops and joins as it goes.
  std::vector<std::pair<std::jthread, std::shared_ptr<Job>>> stopping_;
  std::jthread work_;
};
