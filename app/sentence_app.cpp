#include "sentence_app.h"

#include <QApplication>

#include "pretranslate.h"
#include "sentence_dlg.h"

CSentenceApp theApp;

CSentenceApp::CSentenceApp() = default;
CSentenceApp::~CSentenceApp() = default;

bool CSentenceApp::InitInstance() {
  CSentenceDlg dialog;
  dialog.DoModal();
  return false;
}

int RunApplication(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("veridrift"));
  QApplication::setApplicationDisplayName(QStringLiteral("Veridrift"));
  QApplication::setDesktopFileName(QStringLiteral("org.veridrift.Veridrift"));
  // The window ends the process by returning from InitInstance, not when the
  // last window closes.
  QApplication::setQuitOnLastWindowClosed(false);
  InstallPreTranslateFilter(application);
  theApp.InitInstance();
  return 0;
}
