// Pre-translation of key presses, as a dialog-based desktop framework does it:
// before a key press reaches the focused widget, every widget from that widget
// up to its window that implements CPreTranslate is asked in turn, innermost
// first, and the first that consumes the key stops it. So a value field
// normalises on Enter before the dialog around it consumes the key.
#pragma once

class QApplication;
class QKeyEvent;

class CPreTranslate {
 public:
  virtual ~CPreTranslate() = default;
  // Returns true when the key press is consumed and must go no further.
  virtual bool PreTranslateMessage(QKeyEvent* keyDown) = 0;
};

// Installs the application-wide filter that performs the walk; once per
// application, further calls do nothing.
void InstallPreTranslateFilter(QApplication& application);
