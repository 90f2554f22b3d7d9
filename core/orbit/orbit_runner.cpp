#include "core/orbit/orbit_runner.h"

#include <algorithm>
#include <utility>

#include "core/orbit/orbit_raster.h"

namespace {

// Columns are handed out a few at a time, so a thread that drew quick
// columns takes more of them.
constexpr int kColumnsAtATime = 4;

void ComputeSomeColumns(const OrbitRequest& request, const std::stop_token& stop,
                        const OrbitColumnSink& sink, std::vector<OrbitColumn>* columns,
                        std::atomic<int>* next, std::atomic<int>* done) {
  const OrbitShouldStop stopped = [&stop] { return stop.stop_requested(); };
  for (int first = next->fetch_add(kColumnsAtATime); first < request.columns;
       first = next->fetch_add(kColumnsAtATime)) {
    const int last = std::min(request.columns, first + kColumnsAtATime);
    if (!ComputeOrbitColumnRange(request, first, last, stopped, sink, columns)) {
      return;
    }
    if (done != nullptr) {
      done->fetch_add(last - first, std::memory_order_relaxed);
    }
  }
}

}  // namespace

bool ComputeOrbitColumns(const OrbitRequest& request, int threads, std::stop_token stop,
                         const OrbitColumnSink& sink, std::vector<OrbitColumn>* columns,
                         std::atomic<int>* done) {
  columns->assign(static_cast<std::size_t>(request.columns), OrbitColumn{});
  std::atomic<int> next{0};
  {
    std::vector<std::jthread> helpers;
    for (int t = 1; t < std::min(threads, request.columns); ++t) {
      helpers.emplace_back([&] { ComputeSomeColumns(request, stop, sink, columns, &next, done); });
    }
    ComputeSomeColumns(request, stop, sink, columns, &next, done);
  }
  return !stop.stop_requested();
}

int OrbitThreads() {
  return std::max(1u, std::thread::hardware_concurrency());
}

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

OrbitRunner::OrbitRunner(std::function<void()> ready, std::function<void()> starting)
    : ready_(std::move(ready)), starting_(std::move(starting)) {}

OrbitRunner::~OrbitRunner() {
  work_ = std::jthread();  // stops and joins before the members go
  stopping_.clear();
}

std::uint64_t OrbitRunner::Submit(const OrbitView& view) {
  // The superseded work is told to stop and left to end by itself; what has
  // ended by now is joined at once.
  std::erase_if(stopping_, [](const auto& old) { return old.second->finished.load(); });
  if (work_.joinable()) {
    work_.request_stop();
    stopping_.emplace_back(std::move(work_), job_);
  }
  std::uint64_t generation = 0;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    generation = ++generation_;
    picture_.reset();
  }
  auto job = std::make_shared<Job>();
  job->total = view.request.columns;
  job_ = job;
  busy_ = true;
  work_ = std::jthread([this, view, generation, job](std::stop_token stop) {
    if (starting_) {
      starting_();
    }
    std::shared_ptr<OrbitPicture> picture =
        DrawOrbitPicture(view, OrbitThreads(), stop, &job->done);
    bool latest = false;
    if (picture != nullptr) {
      picture->generation = generation;
      const std::lock_guard<std::mutex> lock(mutex_);
      latest = generation == generation_;
      if (latest) {
        picture_ = std::move(picture);
      }
    }
    job->finished = true;
    if (latest) {
      busy_ = false;
      if (ready_) {
        ready_();
      }
    }
  });
  return generation;
}

int OrbitRunner::Stopping() const {
  int running = 0;
  for (const auto& old : stopping_) {
    running += old.second->finished.load() ? 0 : 1;
  }
  return running;
}

std::shared_ptr<const OrbitPicture> OrbitRunner::TakeReady() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (picture_ == nullptr || picture_->generation != generation_) {
    return nullptr;
  }
  return std::exchange(picture_, nullptr);
}

double OrbitRunner::Progress() const {
  const std::shared_ptr<Job> job = job_;
  return job == nullptr
             ? 0.0
             : std::clamp(static_cast<double>(job->done.load()) / std::max(1, job->total), 0.0,
                          1.0);
}
