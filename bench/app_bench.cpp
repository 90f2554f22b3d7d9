// Start-up, reaction, painting, idling, pacing and memory of the application,
// measured on the machine at hand and printed against the targets.
//
//   app_bench [startup|reaction|paint|goto|pacing|idle|memory]...   (default: all)
//
// The whole run whose peak memory is reported runs in a child process of the
// same program (VERIDRIFT_BENCH_FULL_RUN set), at a short step interval.
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app_process.h"
#include "bench_stats.h"
#include "core/layout/resource.h"
#include "core/numbers/number_text.h"
#include "desktop/animation/animation_worker.h"
#include "desktop/animation/start_event.h"
#include "desktop/controls/pretranslate.h"
#include "desktop/views/diagram_view.h"
#include "desktop/windows/run_report_window.h"
#include "desktop/windows/sentence_dlg.h"
#include "event_loop_wait.h"
#include "startup_probe.h"
#include "window_bench.h"

namespace {

using namespace std::chrono_literals;

constexpr int kStartups = 10;
constexpr int kKeystrokes = 1000;
constexpr int kPaintRepetitions = 30;
constexpr int kCpuSeconds = 10;
constexpr int kPacedSteps = 100;
constexpr int kGoToSteps = 300;
constexpr int kFullRunIntervalMs = 1;

std::string F(double value) {
  return FormatFixed2(value);
}

// A figure with its target; a row without a target is for information.
void Row(const std::string& what, const std::string& figure, const std::string& target, bool met) {
  const char* verdict = target.empty() ? "" : met ? "ok" : "MISSED";
  std::printf("  %-46s %12s   %-10s %s\n", what.c_str(), figure.c_str(), target.c_str(), verdict);
}

std::string RendererName() {
  QOffscreenSurface surface;
  surface.create();
  QOpenGLContext context;
  if (!context.create() || !context.makeCurrent(&surface)) {
    return "no OpenGL";
  }
  const auto* name = context.functions()->glGetString(GL_RENDERER);
  std::string renderer = name != nullptr ? reinterpret_cast<const char*>(name) : "unknown";
  context.doneCurrent();
  return renderer;
}

// The 1-minute load average: other work competing for the processors shows
// in every figure here.
std::string LoadAverage() {
  std::ifstream loadavg("/proc/loadavg");
  std::string oneMinute;
  loadavg >> oneMinute;
  return oneMinute.empty() ? "unknown" : oneMinute;
}

std::string EventNameForThisProcess() {
  return "VeridriftBench-" + std::to_string(getpid());
}

// A main window like the application's, on a start event of its own so that
// no running instance starts or stops it.
struct ShownWindow {
  ShownWindow() {
    dialog.show();
    (void)QTest::qWaitForWindowExposed(&dialog);
    dialog.activateWindow();
    (void)QTest::qWaitForWindowActive(&dialog);
  }
  CSentenceDlg dialog;
};

constexpr const char* kFullRunVariable = "VERIDRIFT_BENCH_FULL_RUN";

int FullRunChild() {
  CDiagramView::SetStepInterval(kFullRunIntervalMs);
  ShownWindow shown;
  CSentenceDlg& dialog = shown.dialog;
  if (auto* showOutput = qobject_cast<QCheckBox*>(dialog.GetDlgItem(IDC_SHOW_OUTPUT))) {
    showOutput->setChecked(true);
  }
  const auto started = std::chrono::steady_clock::now();
  QTest::keyClick(&dialog, Qt::Key_G);
  const bool done = RunEventLoopUntil(
      [&] {
        return dialog.m_webView->m_stepCounter.load() == kSeriesLength &&
               dialog.m_seriesView->m_stepCounter.load() == kSeriesLength;
      },
      120000);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::cerr << "full-run " << (done ? "done" : "unfinished") << " " << F(seconds) << " "
            << F(PeakRssMiB(getpid())) << "\n";
  return done ? 0 : 1;
}

struct FullRun {
  bool ok = false;
  double seconds = 0.0;
  double peakRssMiB = 0.0;
};

std::string ThisProgram() {
  char path[4096] = {};
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : "app_bench";
}

// In a fresh process, so that its peak memory is that of one window and one
// whole run, and nothing of the measurements before.
FullRun RunFullRunChild() {
  FullRun run;
  AppProcess child(ThisProgram(), {"QT_QPA_PLATFORM=xcb", std::string(kFullRunVariable) + "=1"});
  if (child.WaitForExit(180s) != std::optional<int>(0)) {
    std::fprintf(stderr, "full run failed: %s\n", child.Stderr().c_str());
    return run;
  }
  const std::string report = child.Stderr();
  const std::size_t at = report.find("full-run done ");
  if (at == std::string::npos) {
    return run;
  }
  std::size_t used = 0;
  const std::string rest = report.substr(at + 14);
  run.seconds = ParseDoublePrefix(rest, &used);
  run.peakRssMiB = ParseDouble(rest.substr(used));
  run.ok = true;
  return run;
}

struct StartupFigures {
  std::vector<double> startupMs;
  std::vector<double> startupCpuMs;
  double peakRssMiB = 0.0;  // the largest after start-up
  ResidentShares shares;    // of that instance
  double pausedCpuMs = -1.0;
  bool disturbed = false;  // another instance started the animation meanwhile
  std::string error;
};

StartupFigures MeasureStartups(const std::string& program) {
  StartupFigures figures;
  for (int run = 0; run < kStartups; ++run) {
    std::function<void(AppProcess&)> whileUp;
    if (run == kStartups - 1) {
      // The last instance sits paused with its window up. It shares the
      // user's start event, so note whether anyone signalled it meanwhile.
      whileUp = [&figures](AppProcess& app) {
        const std::unique_ptr<StartEvent> event = OpenStartEvent();
        std::this_thread::sleep_for(1s);
        const StartEventWord before = event->Word();
        const double cpuBefore = ProcessCpuMs(app.pid());
        std::this_thread::sleep_for(std::chrono::seconds(kCpuSeconds));
        figures.pausedCpuMs = ProcessCpuMs(app.pid()) - cpuBefore;
        figures.disturbed = event->Word() != before;
      };
    }
    const StartupSample sample = MeasureStartup(program, whileUp);
    if (!sample.ok) {
      figures.error = sample.error;
      return figures;
    }
    figures.startupMs.push_back(sample.startupMs);
    figures.startupCpuMs.push_back(sample.startupCpuMs);
    if (sample.peakRssMiB > figures.peakRssMiB) {
      figures.peakRssMiB = sample.peakRssMiB;
      figures.shares = sample.shares;
    }
  }
  return figures;
}

std::string Joined(const std::vector<double>& samples) {
  std::string text;
  for (const double sample : samples) {
    text += ' ';
    text += F(sample);
  }
  return text;
}

bool Wanted(const std::vector<std::string>& sections, const char* section) {
  return sections.empty() || std::find(sections.begin(), sections.end(), section) != sections.end();
}

}  // namespace

int main(int argc, char** argv) {
  const bool fullRunChild = std::getenv(kFullRunVariable) != nullptr;
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  InstallPreTranslateFilter(application);
  SetStartEventName(EventNameForThisProcess());
  struct RemoveEvent {
    ~RemoveEvent() { RemoveStartEvent(EventNameForThisProcess()); }
  } removeEvent;
  if (fullRunChild) {
    return FullRunChild();
  }
  const std::vector<std::string> sections(argv + 1, argv + argc);
  for (const std::string& section : sections) {
    if (std::string(" startup reaction paint goto pacing idle memory ").find(" " + section + " ") ==
        std::string::npos) {
      std::fprintf(stderr, "usage: app_bench [startup|reaction|paint|pacing|idle|memory]...\n");
      return 2;
    }
  }

  std::printf("Veridrift benchmark\n  renderer: %s, display %s, %u processors, load %s\n\n",
              RendererName().c_str(), std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "?",
              std::thread::hardware_concurrency(), LoadAverage().c_str());
  std::printf("  %-46s %12s   %-10s\n", "", "measured", "target");
  std::fflush(stdout);
  std::vector<std::string> notes;

  if (Wanted(sections, "startup") || Wanted(sections, "memory")) {
    const StartupFigures startup = MeasureStartups(VERIDRIFT_EXE);
    if (!startup.error.empty()) {
      std::fprintf(stderr, "start-up: %s\n", startup.error.c_str());
      return 1;
    }
    const double median = Median(startup.startupMs);
    const double cpuMedian = Median(startup.startupCpuMs);
    Row("start-up, median of " + std::to_string(kStartups) + " (ms)", F(median), "< 300",
        median < 300.0);
    Row("  processor time used meanwhile, median (ms)", F(cpuMedian), "", true);
    Row("CPU over 10 s paused (ms)", F(startup.pausedCpuMs), "< 10",
        startup.pausedCpuMs >= 0.0 && startup.pausedCpuMs < 10.0 && !startup.disturbed);
    Row("peak resident memory after start-up (MiB)", F(startup.peakRssMiB), "< 80",
        startup.peakRssMiB < 80.0);
    const ResidentShares& shares = startup.shares;
    Row("  of it Mesa's software renderer and LLVM", F(shares.softwareRenderer), "", true);
    Row("  of it Qt's libraries", F(shares.qt), "", true);
    Row("  of it other libraries", F(shares.otherLibraries), "", true);
    Row("  of it the process's own data", F(shares.ownData), "", true);
    notes.push_back("start-up samples (ms):" + Joined(startup.startupMs));
    if (startup.disturbed) {
      notes.push_back("paused CPU: another instance signalled the start event meanwhile");
    }
  }

  if (Wanted(sections, "reaction") || Wanted(sections, "paint") || Wanted(sections, "goto") ||
      Wanted(sections, "pacing") || Wanted(sections, "idle")) {
    ShownWindow shown;
    CSentenceDlg& dialog = shown.dialog;
    if (Wanted(sections, "reaction")) {
      const ReactionFigures reaction = MeasureReaction(dialog, kKeystrokes);
      const double p99 = Percentile(reaction.keystrokeMs, 99.0);
      Row("reaction to a keystroke, median (ms)", F(Median(reaction.keystrokeMs)), "", true);
      Row("reaction to a keystroke, p99 (ms)", F(p99), "< 5",
          p99 < 5.0 && reaction.keystrokesWithoutEffect == 0);
      // Beyond the processor time, a keystroke waits for a processor and for
      // the X server: on a busy machine that is the tail.
      Row("  processor time per keystroke, p99 (ms)", F(Percentile(reaction.keystrokeCpuMs, 99.0)),
          "", true);
      notes.push_back(
          "keystrokes that did not refresh: " + std::to_string(reaction.keystrokesWithoutEffect) +
          " of " + std::to_string(kKeystrokes));
      // The Run Report window follows every Refresh while it is open.
      dialog.OnRunReport();
      dialog.activateWindow();
      QApplication::processEvents();
      const ReactionFigures withReport = MeasureReaction(dialog, kKeystrokes);
      const double reportP99 = Percentile(withReport.keystrokeMs, 99.0);
      Row("  with the Run Report window open, median (ms)", F(Median(withReport.keystrokeMs)), "",
          true);
      Row("  with the Run Report window open, p99 (ms)", F(reportP99), "< 5",
          reportP99 < 5.0 && withReport.keystrokesWithoutEffect == 0);
      if (QWidget* report = CRunReportWindow::Find(&dialog)) {
        report->close();
      }
      QApplication::processEvents();
      dialog.RestartGraphing();
    }
    if (Wanted(sections, "paint")) {
      for (const ViewPaintFigures& view :
           MeasurePaints(dialog, {0, 500, 1000}, kPaintRepetitions)) {
        for (const PaintFigures& paint : view.rows) {
          const std::string at =
              std::string(view.view) + " at " + std::to_string(paint.counter) + " (ms)";
          Row("paint, " + at + ", a step", F(paint.stepMs), "< 2", paint.stepMs < 2.0);
          Row("  repainted unchanged", F(paint.unchangedMs), "< 2", paint.unchangedMs < 2.0);
          Row("  drawn afresh", F(paint.afreshMs), "< 2", paint.afreshMs < 2.0);
        }
      }
    }
    if (Wanted(sections, "goto")) {
      const std::vector<double> gotoMs = MeasureGoToStep(dialog, kGoToSteps);
      const double p99 = Percentile(gotoMs, 99.0);
      Row("going to a step, both views and the log, p99 (ms)", F(p99), "< 16", p99 < 16.0);
      Row("  median (ms)", F(Median(gotoMs)), "", true);
    }
    if (Wanted(sections, "idle")) {
      const double idleCpuMs = MeasureIdleCpuMsAtLimit(dialog, kCpuSeconds, dialog.m_sentenceCombo);
      Row("CPU over 10 s idle at step 1000 (ms)", F(idleCpuMs), "< 10", idleCpuMs < 10.0);
      const double caretCpuMs = MeasureIdleCpuMsAtLimit(dialog, kCpuSeconds, dialog.m_degreeEdit);
      Row("  the same, caret blinking in the degree field", F(caretCpuMs), "< 10",
          caretCpuMs < 10.0);
    }
    if (Wanted(sections, "pacing")) {
      const PacingFigures pacing = MeasurePacing(dialog, kPacedSteps);
      const double webMean = Mean(pacing.webIntervalsMs);
      const double seriesMean = Mean(pacing.seriesIntervalsMs);
      Row("step interval, web view, mean (ms)", F(webMean), "500 +- 2",
          std::fabs(webMean - 500) <= 2);
      Row("step interval, web view, largest deviation",
          F(LargestDeviation(pacing.webIntervalsMs, 500)), "", true);
      Row("step interval, time series, mean (ms)", F(seriesMean), "500 +- 2",
          std::fabs(seriesMean - 500) <= 2);
      Row("step interval, time series, largest deviation",
          F(LargestDeviation(pacing.seriesIntervalsMs, 500)), "", true);
      Row("views apart after " + std::to_string(kPacedSteps) + " steps (steps)",
          std::to_string(pacing.counterGapAtEnd), "<= 1", std::abs(pacing.counterGapAtEnd) <= 1);
      Row("views apart at most, during them (steps)", std::to_string(pacing.largestCounterGap),
          "<= 1", pacing.largestCounterGap <= 1);
      Row("time series behind the web view, mean (ms)", F(pacing.meanLagMs), "", true);
      // The views keep their own pace: what the difference of the means makes
      // of a whole run of 999 steps, in steps.
      const double projected = (seriesMean - webMean) * (kSeriesLength - 1) / kStepIntervalMs;
      Row("  projected over a whole run (steps)", F(projected), "<= 1",
          std::fabs(projected) <= 1.0);
    }
  }

  if (Wanted(sections, "memory")) {
    const FullRun fullRun = RunFullRunChild();
    Row("peak resident memory after a full run (MiB)",
        fullRun.ok ? F(fullRun.peakRssMiB) : "failed", "< 80",
        fullRun.ok && fullRun.peakRssMiB < 80.0);
    notes.push_back("full run: " + std::to_string(kSeriesLength - 1) + " steps at " +
                    std::to_string(kFullRunIntervalMs) + " ms took " + F(fullRun.seconds) + " s");
  }

  notes.push_back("load at the end: " + LoadAverage());
  std::printf("\n");
  for (const std::string& note : notes) {
    std::printf("  %s\n", note.c_str());
  }
  return 0;
}
