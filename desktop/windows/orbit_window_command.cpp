#include "desktop/windows/orbit_window.h"
#include "desktop/windows/sentence_dlg.h"

void CSentenceDlg::OnOrbitDiagram() {
  COrbitWindow::Open(this);
}
