// The About box: the application's name, its version line and a credit line.
#pragma once

#include "desktop/windows/dialog.h"

class CAboutDlg : public CDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
  ~CAboutDlg() override;

  QString m_strVersion;

 protected:
  void DoDataExchange(bool saveAndValidate) override;
};
