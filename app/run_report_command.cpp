#include "sentence_dlg.h"

void CSentenceDlg::OnRunReport() {}
