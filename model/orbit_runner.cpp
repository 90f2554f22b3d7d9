#include "orbit_runner.h"

#include <algorithm>
#include <utility>

#include "orbit_raster.h"

std::shared_ptr<OrbitPicture> DrawOrbitPicture(const OrbitView& view, int threads,
                                               std::stop_token stop, std::atomic<int>* done) {
  auto picture = std::make_shared<OrbitPicture>();
  picture->view = view;
  const OrbitRequest& request = view.request;
  OrbitRaster raster(request.columns, view.rows, view.low, view.high);
  const OrbitColumnSink sink = [&](int column, const float* kept) {
    raster.CountColumn(column, kept, request.keep);
  };
  if (!ComputeOrbitColumns(request, threads, stop, sink, &picture->columns, done)) {
    return nullptr;
  }
  picture->dots = ShadeOrbitRaster(raster, picture->columns, request.keep);
  picture->strip = ShadeLyapunovStrip(picture->columns, view.stripRows);
  return picture;
}

OrbitRunner::OrbitRunner(std::function<void()> ready) : ready_(std::move(ready)) {}

OrbitRunner::~OrbitRunner() {
  work_ = std::jthread();  // stops and joins before the members go
}

std::uint64_t OrbitRunner::Submit(const OrbitView& view) {
  work_ = std::jthread();
  std::uint64_t generation = 0;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    generation = ++generation_;
    picture_.reset();
  }
  done_ = 0;
  total_ = view.request.columns;
  busy_ = true;
  work_ = std::jthread([this, view, generation](std::stop_token stop) {
    std::shared_ptr<OrbitPicture> picture = DrawOrbitPicture(view, OrbitThreads(), stop, &done_);
    if (picture == nullptr) {
      return;
    }
    picture->generation = generation;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (generation != generation_) {
        return;
      }
      picture_ = std::move(picture);
    }
    busy_ = false;
    if (ready_) {
      ready_();
    }
  });
  return generation;
}

std::shared_ptr<const OrbitPicture> OrbitRunner::TakeReady() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (picture_ == nullptr || picture_->generation != generation_) {
    return nullptr;
  }
  return std::exchange(picture_, nullptr);
}

double OrbitRunner::Progress() const {
  return std::clamp(static_cast<double>(done_.load()) / std::max(1, total_.load()), 0.0, 1.0);
}
