// Animated GIFs as users make them, timed from outside the process: the
// command's 999 frames of both views, and its 100 frames of the web view side
// by side with matplotlib's FuncAnimation and Pillow writer drawing the same
// run. Usage: gif_bench [--peer PATH_TO_peer_gif_mpl.py]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "number_text.h"

namespace {

constexpr int kRuns = 3;

struct Figures {
  double milliseconds = -1;  // median of kRuns, below zero when it failed
  double kilobytes = 0;      // 1000 bytes
  std::string failure;
};

Figures Measure(const QString& program, const QStringList& arguments, const QString& output) {
  std::vector<double> times;
  Figures figures;
  for (int run = 0; run < kRuns; ++run) {
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
      figures.failure = process.readAllStandardError().toStdString();
      return figures;
    }
    times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
  }
  std::sort(times.begin(), times.end());
  figures.milliseconds = times[times.size() / 2];
  figures.kilobytes = static_cast<double>(QFileInfo(output).size()) / 1000.0;
  return figures;
}

void Row(const char* what, const std::string& figure, const char* target, bool met) {
  std::printf("  %-50s %10s   %-9s %s\n", what, figure.c_str(), target,
              *target == '\0' ? "" : (met ? "ok" : "MISSED"));
}

QStringList Command(const char* view, const char* steps, const QString& output) {
  return {"--picture", view, "--steps", steps, "--output", output, "0", "0.30", "0.90"};
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
  std::printf(
      "Animated GIFs, sentence 0 (0.30, 0.90), wall time of the whole process, "
      "median of %d\n  %-50s %10s   %-9s\n",
      kRuns, "", "measured", "target");

  const QString both = folder.filePath(QStringLiteral("both.gif"));
  const Figures run = Measure(tool, Command("both", "2..1000", both), both);
  if (run.milliseconds < 0) {
    std::fprintf(stderr, "veridrift-series failed: %s\n", run.failure.c_str());
    return 1;
  }
  Row("999 frames, both views (ms)", FormatFixed2(run.milliseconds), "< 3000",
      run.milliseconds < 3000);
  Row("  file size (KB)", FormatFixed2(run.kilobytes), "<= 600", run.kilobytes <= 600);

  const QString web = folder.filePath(QStringLiteral("web.gif"));
  const Figures ours = Measure(tool, Command("web", "2..101", web), web);
  if (ours.milliseconds < 0) {
    std::fprintf(stderr, "veridrift-series failed: %s\n", ours.failure.c_str());
    return 1;
  }
  Row("100 frames, web view, veridrift-series (ms)", FormatFixed2(ours.milliseconds), "", true);
  Row("  file size (KB)", FormatFixed2(ours.kilobytes), "", true);
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
  Row("100 frames, web view, matplotlib + Pillow (ms)", FormatFixed2(theirs.milliseconds), "",
      true);
  Row("  file size (KB)", FormatFixed2(theirs.kilobytes), "", true);
  const double faster = theirs.milliseconds / ours.milliseconds;
  const double smaller = theirs.kilobytes / ours.kilobytes;
  Row("  veridrift-series faster by (times)", FormatFixed2(faster), ">= 10", faster >= 10);
  Row("  veridrift-series smaller by (times)", FormatFixed2(smaller), ">= 3", smaller >= 3);
  return 0;
}
