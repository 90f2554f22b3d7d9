#include "desktop/controls/key_characters.h"

#include <QKeyEvent>

namespace {

QString Code(char16_t code) {
  return QString(QChar(code));
}

// Ctrl with a key types the control character of that key, whatever text the
// platform put into the event (X11 sends "\x16" for Ctrl+V, a test sends "v").
QString ControlCharacter(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    return Code(static_cast<char16_t>(key - Qt::Key_A + 1));
  }
  switch (key) {
    case Qt::Key_BracketLeft:
      return Code(0x1B);
    case Qt::Key_Backslash:
      return Code(0x1C);
    case Qt::Key_BracketRight:
      return Code(0x1D);
    case Qt::Key_AsciiCircum:
      return Code(0x1E);
    case Qt::Key_Underscore:
      return Code(0x1F);
    case Qt::Key_Backspace:
      return Code(0x7F);
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Code(0x0A);
    case Qt::Key_Space:
      return Code(0x20);
    default:
      return {};
  }
}

QString PrintableText(const QKeyEvent& keyDown) {
  QString text;
  for (const QChar c : keyDown.text()) {
    if (c.unicode() >= 0x20 && c.unicode() != 0x7F) {
      text += c;
    }
  }
  return text;
}

}  // namespace

QString CharactersOfKey(const QKeyEvent& keyDown) {
  const auto modifiers =
      keyDown.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  const int key = keyDown.key();
  if (modifiers == Qt::ControlModifier) {
    return ControlCharacter(key);
  }
  if (modifiers == (Qt::ControlModifier | Qt::AltModifier)) {
    return PrintableText(keyDown);  // AltGr where it arrives as Ctrl+Alt
  }
  if (modifiers != Qt::NoModifier) {
    return {};  // Alt and Meta combinations are commands, not typing
  }
  switch (key) {
    case Qt::Key_Backspace:
      return Code(0x08);
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Code(0x0D);
    case Qt::Key_Escape:
      return Code(0x1B);
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return {};
    default:
      return PrintableText(keyDown);
  }
}
