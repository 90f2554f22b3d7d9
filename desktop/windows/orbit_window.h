// The Orbit Diagram window: the current sentence across the degree (or the
// estimate) beside the main window. It lives only while it is open, follows
// every Refresh, and computes off the user interface thread, each new
// request replacing the one under way.
#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "core/orbit/orbit_runner.h"
#include "desktop/windows/orbit_plot.h"

class CSentenceDlg;

class COrbitWindow : public QWidget {
  Q_OBJECT

 public:
  // Opens the owner's orbit window, or raises the one already open.
  static COrbitWindow* Open(CSentenceDlg* owner);
  // The owner's open orbit window; null when none is open.
  static COrbitWindow* Find(const CSentenceDlg* owner);

  COrbitPlot* Plot() { return &m_plot; }
  // The box the latest request asks for.
  OrbitBox Box() const { return m_box; }
  bool Computing() const { return m_runner.Busy(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  explicit COrbitWindow(CSentenceDlg* owner);
  void FollowRun();
  void Recompute();
  void ShowTo(OrbitBox box);
  void Back();
  void Reset();
  void TakePicture();
  void ShowProgress();
  void ChooseColumn(int column);
  void Describe();
  void PlaceBeside(const QWidget* owner);

  CSentenceDlg* m_owner;
  COrbitPlot m_plot;
  QSpinBox m_transient;
  QSpinBox m_keep;
  QPushButton m_back;
  QPushButton m_reset;
  QProgressBar m_progress;
  QLabel m_pointer;
  QTimer m_progressTimer;
  QElapsedTimer m_since;
  OrbitRequest m_request;
  OrbitBox m_box;
  std::vector<OrbitBox> m_history;
  OrbitView m_asked;
  bool m_askedAny = false;
  // Last, so that it stops its work before anything it reports to goes.
  OrbitRunner m_runner;
};
