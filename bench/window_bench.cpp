#include "window_bench.h"

#include <time.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QTest>
#include <array>
#include <chrono>
#include <string>

#include "bench_stats.h"
#include "core/layout/resource.h"
#include "core/numbers/number_text.h"
#include "core/numbers/series.h"
#include "desktop/views/diagram_view.h"
#include "desktop/windows/sentence_dlg.h"
#include "event_loop_wait.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kQuietBeforeStepMs = 50;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double OwnCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Sees every paint of the two views before it runs: how many there were, and
// when each view first showed each new step count.
class PaintWatch : public QObject {
 public:
  struct Step {
    Clock::time_point at;
    int counter = 0;
  };

  explicit PaintWatch(CSentenceDlg& dialog) : m_views{dialog.m_webView, dialog.m_seriesView} {
    for (CDiagramView* view : m_views) {
      view->installEventFilter(this);
    }
  }
  ~PaintWatch() override {
    for (CDiagramView* view : m_views) {
      view->removeEventFilter(this);
    }
  }

  int Paints(int view) const { return m_paints[static_cast<std::size_t>(view)]; }
  const std::vector<Step>& Steps(int view) const { return m_steps[static_cast<std::size_t>(view)]; }
  int LargestGap() const { return m_largestGap; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      for (std::size_t v = 0; v < m_views.size(); ++v) {
        if (watched == m_views[v]) {
          Record(v);
        }
      }
    }
    return false;
  }

 private:
  void Record(std::size_t v) {
    ++m_paints[v];
    const int counter = m_views[v]->m_stepCounter.load();
    std::vector<Step>& steps = m_steps[v];
    if (steps.empty() || steps.back().counter != counter) {
      steps.push_back({Clock::now(), counter});
    }
    const int gap = m_views[0]->m_stepCounter.load() - m_views[1]->m_stepCounter.load();
    m_largestGap = std::max(m_largestGap, gap < 0 ? -gap : gap);
  }

  std::array<CDiagramView*, 2> m_views;
  std::array<int, 2> m_paints{};
  std::array<std::vector<Step>, 2> m_steps;
  int m_largestGap = 0;
};

// The text the degree field holds after keystroke k of the reaction run.
std::string DegreeTextAfter(int k) {
  return k % 2 == 0 ? "0.3" : "0.3" + std::to_string((k / 2) % 10);
}

int KeyAt(int k) {
  return k % 2 == 0 ? Qt::Key_Backspace : Qt::Key_0 + (k / 2) % 10;
}

bool RefreshedFor(const CSentenceDlg& dialog, const std::string& degreeText) {
  const float degree = static_cast<float>(ParseDouble(degreeText));
  std::string caption;
  FormatSentenceCaption(caption, 0);
  return g_runParams.degree == degree &&
         dialog.m_sentenceCombo.itemText(0).toStdString() == caption &&
         caption.find(FormatFixed2(degree)) != std::string::npos &&
         dialog.m_outputText.contains(QString::fromStdString(FormatFixed2(degree)));
}

std::vector<double> Intervals(const std::vector<PaintWatch::Step>& steps, int count) {
  std::vector<double> intervals;
  for (std::size_t i = 1; i < steps.size() && static_cast<int>(intervals.size()) < count; ++i) {
    intervals.push_back(
        std::chrono::duration<double, std::milli>(steps[i].at - steps[i - 1].at).count());
  }
  return intervals;
}

void Pause(CSentenceDlg& dialog) {
  if (!dialog.m_paused) {
    dialog.OnGraph();
  }
}

}  // namespace

ReactionFigures MeasureReaction(CSentenceDlg& dialog, int keystrokes) {
  ReactionFigures figures;
  CUnitEdit& field = dialog.m_degreeEdit;
  field.setFocus();
  QApplication::processEvents();
  QTest::keyClick(&field, Qt::Key_End);
  QApplication::processEvents();
  PaintWatch watch(dialog);
  for (int k = 0; k < keystrokes; ++k) {
    const int webPaints = watch.Paints(0);
    const int seriesPaints = watch.Paints(1);
    const double cpuBefore = OwnCpuMs();
    const Clock::time_point start = Clock::now();
    QTest::keyClick(&field, static_cast<Qt::Key>(KeyAt(k)));
    // What the keystroke left for later (the log panel's and the picker's
    // repaints) reaches the screen here.
    QApplication::processEvents();
    figures.keystrokeMs.push_back(MsSince(start));
    figures.keystrokeCpuMs.push_back(OwnCpuMs() - cpuBefore);
    const bool effect = watch.Paints(0) > webPaints && watch.Paints(1) > seriesPaints &&
                        field.text().toStdString() == DegreeTextAfter(k) &&
                        RefreshedFor(dialog, DegreeTextAfter(k));
    figures.keystrokesWithoutEffect += effect ? 0 : 1;
  }
  return figures;
}

std::vector<ViewPaintFigures> MeasurePaints(CSentenceDlg& dialog, const std::vector<int>& counters,
                                            int repetitions) {
  Pause(dialog);
  std::vector<ViewPaintFigures> figures;
  for (auto [name, view] : {std::pair{"web view", dialog.m_webView},
                            std::pair{"time-series view", dialog.m_seriesView}}) {
    ViewPaintFigures perView{name, {}};
    for (const int counter : counters) {
      std::vector<double> step, unchanged, afresh;
      const auto timedRepaint = [view = view](std::vector<double>& samples) {
        const Clock::time_point start = Clock::now();
        view->repaint();
        samples.push_back(MsSince(start));
      };
      for (int r = 0; r < repetitions; ++r) {
        // After a refresh the count is 0 and the series new: nothing to build on.
        if (counter == 0) {
          view->DiscardRetainedPicture();
        } else {
          view->m_stepCounter = counter == 2 ? 0 : counter - 1;  // the worker never shows 1
          view->repaint();
        }
        view->m_stepCounter = counter;
        // A step's paint comes after the workers have slept: caches are cold
        // and the renderer's threads asleep, as in the animation.
        RunEventLoopFor(kQuietBeforeStepMs);
        timedRepaint(step);
        timedRepaint(unchanged);
        view->DiscardRetainedPicture();
        timedRepaint(afresh);
      }
      perView.rows.push_back({counter, Median(step), Median(unchanged), Median(afresh)});
    }
    figures.push_back(perView);
  }
  dialog.RestartGraphing();
  return figures;
}

std::vector<double> MeasureGoToStep(CSentenceDlg& dialog, int count) {
  Pause(dialog);
  if (auto* showOutput = qobject_cast<QCheckBox*>(dialog.GetDlgItem(IDC_SHOW_OUTPUT))) {
    showOutput->setChecked(true);
  }
  std::vector<double> ms;
  for (int i = 0; i < count; ++i) {
    // A stride that visits the whole run in jumps of every length, 1000 first.
    const int step =
        (kSeriesLength - i * 337 % (kSeriesLength + 1) + kSeriesLength + 1) % (kSeriesLength + 1);
    const Clock::time_point start = Clock::now();
    // The views are repainted before ShowStep returns, the log's panel with
    // the events that follow.
    dialog.ShowStep(step);
    QApplication::processEvents();
    ms.push_back(MsSince(start));
  }
  dialog.RestartGraphing();
  return ms;
}

PacingFigures MeasurePacing(CSentenceDlg& dialog, int steps) {
  Pause(dialog);
  dialog.RestartGraphing();
  if (auto* showOutput = qobject_cast<QCheckBox*>(dialog.GetDlgItem(IDC_SHOW_OUTPUT))) {
    showOutput->setChecked(true);
  }
  PaintWatch watch(dialog);
  dialog.OnGraph();
  // Step counts 2 .. steps + 2: `steps` intervals for each view.
  const int last = steps + 2;
  (void)RunEventLoopUntil(
      [&] {
        return dialog.m_webView->m_stepCounter.load() >= last &&
               dialog.m_seriesView->m_stepCounter.load() >= last;
      },
      (steps + 20) * CDiagramView::StepInterval());
  PacingFigures figures;
  figures.counterGapAtEnd =
      dialog.m_webView->m_stepCounter.load() - dialog.m_seriesView->m_stepCounter.load();
  Pause(dialog);
  figures.largestCounterGap = watch.LargestGap();
  figures.webIntervalsMs = Intervals(watch.Steps(0), steps);
  figures.seriesIntervalsMs = Intervals(watch.Steps(1), steps);
  std::vector<double> lags;
  for (const auto& web : watch.Steps(0)) {
    for (const auto& series : watch.Steps(1)) {
      if (series.counter == web.counter && web.counter >= 2 && web.counter <= last) {
        lags.push_back(std::chrono::duration<double, std::milli>(series.at - web.at).count());
      }
    }
  }
  figures.meanLagMs = Mean(lags);
  return figures;
}

double MeasureIdleCpuMsAtLimit(CSentenceDlg& dialog, int seconds, QWidget& focus) {
  Pause(dialog);
  focus.setFocus();
  RunEventLoopFor(2 * CDiagramView::StepInterval());  // the workers finish their step and wait
  // Fast-forward: the last two steps to the limit are still the workers' own.
  dialog.m_webView->m_stepCounter = kSeriesLength - 2;
  dialog.m_seriesView->m_stepCounter = kSeriesLength - 2;
  dialog.OnGraph();
  (void)RunEventLoopUntil(
      [&] {
        return dialog.m_webView->m_stepCounter.load() == kSeriesLength &&
               dialog.m_seriesView->m_stepCounter.load() == kSeriesLength;
      },
      10 * CDiagramView::StepInterval());
  RunEventLoopFor(2 * CDiagramView::StepInterval());
  const double before = OwnCpuMs();
  RunEventLoopFor(seconds * 1000);
  const double used = OwnCpuMs() - before;
  Pause(dialog);
  return used;
}
