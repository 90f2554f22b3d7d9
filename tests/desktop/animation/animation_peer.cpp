// The other instance in the two-instance tests. Event commands work on the
// bare start event and need no display; "animate" runs one real worker on a
// plain window and is steered line by line through standard input.
//
//   animation_peer set|reset|hammer|open-twice EVENT
//   animation_peer wait EVENT TIMEOUT_MS     exit 0 when released, 3 on time-out
//   animation_peer animate EVENT INTERVAL_MS input: start stop restart quit
//                                            output: ready, paint N, ok COMMAND
#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "desktop/animation/animation_worker.h"
#include "desktop/animation/start_event.h"

namespace {

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// Prints each count it is painted with, for the test to read.
class ReportingView : public QWidget {
 public:
  std::atomic<int> counter{0};

 protected:
  void paintEvent(QPaintEvent*) override { Say("paint " + std::to_string(counter.load())); }
};

int Animate(int argc, char** argv, const std::string& eventName, int intervalMs) {
  QApplication app(argc, argv);
  SetStartEventName(eventName);
  ReportingView view;
  view.resize(40, 40);
  view.show();
  StartAnimationWorker({&view, 1, &view.counter}, intervalMs);
  QSocketNotifier input(0, QSocketNotifier::Read);
  std::string pending;
  auto quit = [&] {
    input.setEnabled(false);
    ShutdownAnimationWorkers();
    app.quit();
  };
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char chunk[256];
    const ssize_t got = read(0, chunk, sizeof chunk);
    if (got <= 0) {
      quit();
      return;
    }
    pending.append(chunk, static_cast<std::size_t>(got));
    for (std::size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
      const std::string command = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (command == "quit") {
        quit();
        return;
      }
      if (command == "start") {
        AnimationSignalStart();
      } else if (command == "stop") {
        AnimationRequestStop();
      } else if (command == "restart") {
        AnimationRequestRestart();
        view.counter.store(0);
      }
      Say("ok " + command);
    }
  });
  Say("ready");
  const int status = app.exec();
  ShutdownAnimationWorkers();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: animation_peer COMMAND EVENT [NUMBER]\n");
    return 2;
  }
  const std::string command = argv[1];
  const std::string eventName = argv[2];
  const int number = argc > 3 ? std::atoi(argv[3]) : 0;
  if (command == "animate") {
    return Animate(argc, argv, eventName, number);
  }
  std::unique_ptr<StartEvent> event = OpenStartEvent(eventName);
  const std::atomic<bool> never{false};
  if (command == "set") {
    event->Set();
  } else if (command == "reset") {
    event->Reset();
  } else if (command == "wait") {
    Say("waiting");
    const bool released = event->Wait(never, number) == StartEventWait::kSignalled;
    Say(released ? "released" : "timeout");
    return released ? 0 : 3;
  } else if (command == "hammer") {
    Say("hammering");
    for (;;) {
      event->Set();
      event->Wait(never, 0);
      event->Reset();
    }
  } else if (command == "open-twice") {
    std::unique_ptr<StartEvent> again = OpenStartEvent(eventName);
    Say(std::string("shared ") + (event->IsShared() ? "1" : "0") + (again->IsShared() ? "1" : "0"));
  } else {
    return 2;
  }
  Say(std::string("shared ") + (event->IsShared() ? "1" : "0"));
  return 0;
}
