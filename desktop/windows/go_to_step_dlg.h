// The small dialog behind "Go to Step...": a step count from 0 to 1000. A
// count it cannot take is refused in the dialog itself, with a line saying
// why, so the window behind it is left as it was until one it can take.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>

class CGoToStepDlg : public QDialog {
  Q_OBJECT

 public:
  CGoToStepDlg(int shownStep, QWidget* parent);

  // What OK does: takes the count and closes, or shows the refusal and
  // stays open. True when taken.
  bool TryAccept();
  int Step() const { return m_step; }

  QLineEdit m_count;
  QLabel m_refusal;

 private:
  int m_step = 0;
};
