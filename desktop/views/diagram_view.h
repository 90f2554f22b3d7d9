// The child window that shows one diagram of the current series, drawn with
// OpenGL.
#pragma once

#include <QImage>
#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>

#include "core/diagrams/drawing.h"
#include "core/numbers/sentence.h"
#include "desktop/views/retained_picture.h"

class DiagramRenderTarget;

// The picture is drawn with OpenGL into an offscreen framebuffer and put on
// screen through the widget's own paint event. That keeps repaint()
// synchronous (when it returns, the screen shows the current step count) and
// keeps the main window alive on a display without OpenGL; a texture-composed
// OpenGL widget can promise neither.
class CDiagramView : public QWidget {
  Q_OBJECT

 public:
  CDiagramView();
  ~CDiagramView() override;

  // Becomes a child filling the placeholder's client area, with mode 0 (time
  // series) or 1 (web); sets up its OpenGL surface (telling the user once if
  // there is none) and starts this view's worker. A null notifyWnd keeps the
  // current one.
  virtual void CreateInPlaceholder(QWidget* placeholder, int mode, QWidget* notifyWnd);

  // Computes the series into the model and zeroes this view's step counter.
  void ComputeSeries(float degree, float estimate, SentenceKind sentence);

  void RequestRestart();
  void RequestStop();
  void SignalStart();
  bool IsStopped() const;

  // Redraws now; when it returns the screen shows the current step count.
  // QWidget::repaint() does the same.
  void SendPaint();

  // The next paint draws the whole picture afresh instead of building on the
  // last one (which it does whenever the picture is known to be unchanged or
  // only to have gained trace steps). For comparisons and measurements.
  void DiscardRetainedPicture();

  // A web view draws f∘f under its staircase while this is on, and says so
  // to a screen reader; off at start.
  void ShowSecondIterate(bool shown);
  bool SecondIterateShown() const { return m_secondIterate; }

  // The pause after each step for the workers of views created from now on
  // (kStepIntervalMs unless changed): tests and benchmarks run whole runs fast.
  static void SetStepInterval(int intervalMs);
  static int StepInterval();

  int m_mode = 0;
  int m_height = 0;
  int m_width = 0;
  std::atomic<int> m_stepCounter{0};

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The view takes no input: these swallow what would otherwise travel on to
  // the placeholder and the dialog.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // One whole picture at the widget's size in device pixels, or a null image
  // when no context can be had this time.
  QImage RenderPicture();

  void DrawFrame();
  void DrawDiagonal();
  void DrawCurve();
  void DrawWebDiagram();
  void DrawTimeSeries();
  StepCounterRead CounterReader() const;

  std::unique_ptr<DiagramRenderTarget> m_target;
  // The counter this paint draws, read once as it starts: the picture then
  // matches one count throughout, whatever a worker does meanwhile.
  int m_paintCounter = 0;
  // The last picture and what it was drawn from; empty when there is none to
  // build on.
  std::optional<PictureSource> m_lastSource;
  QImage m_lastPicture;
  bool m_workerStarted = false;
  // The step count the accessible description was last written for; -1
  // when it must be written afresh.
  int m_describedStep = -1;
  bool m_secondIterate = false;
};
