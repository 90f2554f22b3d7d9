#include "diagram_view.h"

#include "animation_worker.h"
#include "series.h"

CDiagramView::CDiagramView() = default;
CDiagramView::~CDiagramView() = default;

void CDiagramView::CreateInPlaceholder(QWidget* placeholder, int mode, QWidget* notifyWnd) {
  m_mode = mode;
  m_stepCounter = 0;
  if (notifyWnd != nullptr) {
    SetNotifyWindow(notifyWnd);
  }
  m_width = placeholder->width();
  m_height = placeholder->height();
  setParent(placeholder);
  setGeometry(0, 0, m_width, m_height);
  show();
  StartAnimationWorker({this, m_mode, &m_stepCounter});
}

void CDiagramView::ComputeSeries(float degree, float estimate, SentenceKind sentence) {
  ComputeSeriesValues(degree, estimate, sentence);
  m_stepCounter = 0;
}

void CDiagramView::RequestRestart() {
  AnimationRequestRestart();
  m_stepCounter = 0;
}
void CDiagramView::RequestStop() { AnimationRequestStop(); }
void CDiagramView::SignalStart() { AnimationSignalStart(); }
bool CDiagramView::IsStopped() const { return AnimationIsStopped(); }
void CDiagramView::SendPaint() { repaint(); }
