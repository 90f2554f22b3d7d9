#include "desktop/windows/sentence_app.h"

#include <QApplication>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "desktop/controls/pretranslate.h"
#include "desktop/windows/sentence_dlg.h"

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
#if defined(__SANITIZE_ADDRESS__)
  // Leak-checked builds look for leaks while the X display is still open:
  // closing it unloads the OpenGL driver, and what that driver keeps for the
  // process would then come from a module without a name to suppress it by.
  __lsan_do_leak_check();
#endif
  return 0;
}
