// An OpenGL child window that shows one diagram of the current series.
#pragma once

#include <QOpenGLWidget>
#include <atomic>

#include "sentence.h"

class CDiagramView : public QOpenGLWidget {
  Q_OBJECT

 public:
  CDiagramView();
  ~CDiagramView() override;

  // Becomes a child filling the placeholder, with mode 0 (time series) or 1
  // (web); starts this view's worker. A null notifyWnd keeps the current one.
  virtual void CreateInPlaceholder(QWidget* placeholder, int mode, QWidget* notifyWnd);

  // Computes the series into the model and zeroes this view's step counter.
  void ComputeSeries(float degree, float estimate, SentenceKind sentence);

  void RequestRestart();
  void RequestStop();
  void SignalStart();
  bool IsStopped() const;

  // Redraws now; when it returns the screen shows the current step count.
  void SendPaint();

  int m_mode = 0;
  int m_height = 0;
  int m_width = 0;
  std::atomic<int> m_stepCounter{0};
};
