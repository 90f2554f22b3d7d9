// A single-line field that holds a value in [0,1] with two decimals.
//
// The field behaves like a desktop edit control with a keystroke filter in
// front of it: every typed character, Enter, Delete, paste and the loss of
// the focus goes through ApplyFieldEvent (field_edit.h), which decides the
// new text and caret, the control's own part included; the field only
// applies the result. Where Qt's line edit differs from such a control the
// field follows the control: setting a text leaves the caret at the start,
// every text set is reported even when it is unchanged, Ctrl shortcuts arrive
// as control characters, and the input limit stops further input without
// cutting a text already there.
#pragma once

#include <QLineEdit>
#include <string>

#include "core/field/field_edit.h"
#include "desktop/controls/pretranslate.h"

class CUnitEdit : public QLineEdit, public CPreTranslate {
  Q_OBJECT

 public:
  explicit CUnitEdit(QWidget* parent = nullptr);
  ~CUnitEdit() override;

  // Shows the value as two-decimal text, normalised.
  void SetValue(float value);
  // What the first four characters of the text read as (locale-independent
  // atof); a text that reads as not-a-number reads as 0, like "?".
  double GetValue() const;

  // Enter normalises and lets the key go on; Delete is consumed unless the
  // selection allows it. Called by the application's pre-translation filter.
  bool PreTranslateMessage(QKeyEvent* keyDown) override;

 signals:
  // EN_CHANGE: every change of the text, also a text set equal to the old one.
  // Connected handlers run at once, before the field places the caret.
  void changed();

 protected:
  // One typed character (a UTF-16 code; 8 is backspace).
  void OnChar(unsigned character);
  void OnKillFocus();

  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* keyDown) override;
  void inputMethodEvent(QInputMethodEvent* input) override;
  void focusOutEvent(QFocusEvent* focus) override;
  void contextMenuEvent(QContextMenuEvent* request) override;
  void mouseReleaseEvent(QMouseEvent* release) override;

 private:
  std::string ReadWindow() const;
  FieldState ReadState() const;
  FieldResult Handle(const FieldEvent& event, const QString& pasted = QString());
  void SetWindowText(const std::string& text);
  void PlaceCaret(int position);
  void PasteLimited(const QString& clip);

  // The edit control's own state behind the rules: the input limit is off
  // until the first keystroke sets it, and a text the field sets itself is
  // reported once, by the field, not also through textChanged.
  int m_inputLimit;
  bool m_settingText = false;
};
