#include "orbit_window.h"
#include "sentence_dlg.h"

void CSentenceDlg::OnOrbitDiagram() {
  COrbitWindow::Open(this);
}
