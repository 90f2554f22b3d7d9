// The orbit diagram's pictures computed away from the caller's thread: each
// request gets its own raster and replaces the one under way, and only the
// latest request's picture can ever be taken, so a superseded computation
// never shows in a newer picture.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "orbit_columns.h"

// What to draw: the columns of `request` over the values [low, high] in
// `rows` rows of dots and `stripRows` rows of Lyapunov strip.
struct OrbitView {
  OrbitRequest request;
  double low = 0.0;
  double high = 1.0;
  int rows = 1;
  int stripRows = 1;
};

struct OrbitPicture {
  OrbitView view;
  std::uint64_t generation = 0;
  std::vector<OrbitColumn> columns;
  std::vector<std::uint8_t> dots;    // request.columns x rows, row 0 on top; OrbitPalette()
  std::vector<std::uint32_t> strip;  // request.columns x stripRows
};

// Computes and shades one picture in the calling thread; null when stopped.
std::shared_ptr<OrbitPicture> DrawOrbitPicture(const OrbitView& view, int threads,
                                               std::stop_token stop,
                                               std::atomic<int>* done = nullptr);

class OrbitRunner {
 public:
  // Called on a worker thread whenever the latest request's picture is ready.
  explicit OrbitRunner(std::function<void()> ready);
  ~OrbitRunner();
  OrbitRunner(const OrbitRunner&) = delete;
  OrbitRunner& operator=(const OrbitRunner&) = delete;

  // Stops the computation under way (it ends within one column) and starts
  // this one; returns its generation.
  std::uint64_t Submit(const OrbitView& view);

  // The latest request's picture once, or null.
  std::shared_ptr<const OrbitPicture> TakeReady();

  bool Busy() const { return busy_.load(); }
  // Columns done of the request under way, from 0 to 1.
  double Progress() const;

 private:
  std::function<void()> ready_;
  std::mutex mutex_;
  std::uint64_t generation_ = 0;
  std::shared_ptr<const OrbitPicture> picture_;
  std::atomic<bool> busy_{false};
  std::atomic<int> done_{0};
  std::atomic<int> total_{1};
  std::jthread work_;
};
