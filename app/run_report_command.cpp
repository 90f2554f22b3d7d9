#include "run_report_window.h"
#include "sentence_dlg.h"

void CSentenceDlg::OnRunReport() {
  CRunReportWindow::Open(this);
}
