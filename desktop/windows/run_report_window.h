// The Run Report window: what the run on screen does, in plain sentences,
// beside the main window. It lives only while it is open, so a closed report
// costs the main window nothing; while open it follows every Refresh.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

class CSentenceDlg;

class CRunReportWindow : public QWidget {
  Q_OBJECT

 public:
  // Opens the owner's report window, or raises the one already open.
  static CRunReportWindow* Open(CSentenceDlg* owner);
  // The owner's open report window; null when none is open.
  static CRunReportWindow* Find(const CSentenceDlg* owner);

  QString ReportText() const { return m_text.text(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  explicit CRunReportWindow(CSentenceDlg* owner);
  void ShowCurrentRun();
  void PlaceBeside(const QWidget* owner);

  QLabel m_text;
  QPushButton m_close;
};
