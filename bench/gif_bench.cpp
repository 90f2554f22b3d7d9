// Animated GIFs as users make them, timed from outside the process: the
// command's 999 frames of both views (sentence 0, whose trace closes into a
// rectangle redrawn in turning colours at every step, the most that changes
// from frame to frame; and sentence 3, which never repeats), and its 100
// frames of the web view side by side with matplotlib's FuncAnimation and
// Pillow writer drawing the same run.
// Usage: gif_bench [--peer PATH_TO_peer_gif_mpl.py]
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/numbers/number_text.h"

namespace {

constexpr int kRuns = 3;

struct Figures {
  double milliseconds = -1;  // wall time, median of kRuns; below zero when it failed
  double processorMs = 0;    // user and system time of the same run
  double kilobytes = 0;      // 1000 bytes
  std::string failure;
};

double ChildrenProcessorMs() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

Figures Measure(const QString& program, const QStringList& arguments, const QString& output) {
  std::vector<std::pair<double, double>> runs;
  Figures figures;
  for (int run = 0; run < kRuns; ++run) {
    QProcess process;
    const double processorBefore = ChildrenProcessorMs();
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
      figures.failure = process.readAllStandardError().toStdString();
      return figures;
    }
    runs.emplace_back(static_cast<double>(clock.nsecsElapsed()) / 1e6,
                      ChildrenProcessorMs() - processorBefore);
  }
  std::sort(runs.begin(), runs.end());
  figures.milliseconds = runs[runs.size() / 2].first;
  figures.processorMs = runs[runs.size() / 2].second;
  figures.kilobytes = static_cast<double>(QFileInfo(output).size()) / 1000.0;
  return figures;
}

void Row(const std::string& what, double figure, const char* target = "", bool met = true) {
  std::printf("  %-54s %10s   %-9s %s\n", what.c_str(), FormatFixed2(figure).c_str(), target,
              *target == '\0' ? "" : (met ? "ok" : "MISSED"));
}

QStringList Command(const char* view, const char* steps, const QString& output,
                    const char* sentence) {
  return {"--picture", view, "--steps", steps, "--output", output, sentence, "0.30", "0.90"};
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  // Where the peer lives beside a checkout; another place can be given.
  QString peer = QStringLiteral(VERIDRIFT_SOURCE_DIR "/../shared/bench/peer_gif_mpl.py");
  const QStringList arguments = application.arguments();
  const qsizetype given = arguments.indexOf(QStringLiteral("--peer"));
  if (given > 0 && given + 1 < arguments.size()) {
    peer = arguments[given + 1];
  }
  QTemporaryDir folder;
  const QString tool = QStringLiteral(VERIDRIFT_SERIES_EXE);
  double load = 0;
  getloadavg(&load, 1);
  std::printf(
      "Animated GIFs, degree 0.30, estimate 0.90; whole processes, median of %d; "
      "load %s\n  %-54s %10s   %-9s\n",
      kRuns, FormatFixed2(load).c_str(), "", "measured", "target");

  const QString both = folder.filePath(QStringLiteral("both.gif"));
  for (const char* sentence : {"0", "3"}) {
    const Figures run = Measure(tool, Command("both", "2..1000", both, sentence), both);
    if (run.milliseconds < 0) {
      std::fprintf(stderr, "veridrift-series failed: %s\n", run.failure.c_str());
      return 1;
    }
    Row(std::string("999 frames, both views, sentence ") + sentence + " (ms)", run.milliseconds,
        "< 3000", run.milliseconds < 3000);
    Row("  processor time (ms)", run.processorMs);
    Row("  file size (KB)", run.kilobytes, "<= 600", run.kilobytes <= 600);
  }

  const QString web = folder.filePath(QStringLiteral("web.gif"));
  const Figures ours = Measure(tool, Command("web", "2..101", web, "0"), web);
  if (ours.milliseconds < 0) {
    std::fprintf(stderr, "veridrift-series failed: %s\n", ours.failure.c_str());
    return 1;
  }
  Row("100 frames, web view, sentence 0, veridrift-series (ms)", ours.milliseconds);
  Row("  processor time (ms)", ours.processorMs);
  Row("  file size (KB)", ours.kilobytes);
  if (!QFileInfo::exists(peer)) {
    std::printf("\n  matplotlib peer skipped: %s is not there (--peer PATH names it)\n",
                peer.toLocal8Bit().constData());
    return 0;
  }
  // Debian's matplotlib and Pillow belong to the system's interpreter.
  const QString peerGif = folder.filePath(QStringLiteral("peer.gif"));
  const Figures theirs =
      Measure(QStringLiteral("/usr/bin/python3"), {peer, peerGif, QStringLiteral("100")}, peerGif);
  if (theirs.milliseconds < 0) {
    std::printf("\n  matplotlib peer skipped: it failed: %s\n", theirs.failure.c_str());
    return 0;
  }
  Row("the same, matplotlib FuncAnimation + Pillow (ms)", theirs.milliseconds);
  Row("  processor time (ms)", theirs.processorMs);
  Row("  file size (KB)", theirs.kilobytes);
  const double faster = theirs.milliseconds / ours.milliseconds;
  const double smaller = theirs.kilobytes / ours.kilobytes;
  Row("veridrift-series faster by (times)", faster, ">= 20", faster >= 20);
  Row("  by processor time (times)", theirs.processorMs / ours.processorMs);
  Row("veridrift-series smaller by (times)", smaller, ">= 3", smaller >= 3);
  return 0;
}
