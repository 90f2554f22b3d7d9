#include "desktop/windows/run_report_window.h"
#include "desktop/windows/sentence_dlg.h"

void CSentenceDlg::OnRunReport() {
  CRunReportWindow::Open(this);
}
