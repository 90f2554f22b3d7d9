// The application object: it runs the main window modally for the whole
// life of the process, which ends when that window closes.
#pragma once

class CSentenceApp {
 public:
  CSentenceApp();
  ~CSentenceApp();

  // Runs the main window until it closes; always false, so nothing runs
  // after it and the process ends.
  bool InitInstance();
};

extern CSentenceApp theApp;

// The entry point behind main(): sets up the windowing framework and the
// key pre-translation, then calls theApp.InitInstance(). Returns the
// process's exit status.
int RunApplication(int argc, char** argv);
