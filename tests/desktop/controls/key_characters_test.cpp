#include "desktop/controls/key_characters.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

namespace {

struct KeyCase {
  const char* name;
  int key;
  Qt::KeyboardModifiers modifiers;
  const char* text;  // what the platform put into the event
  QString characters;
};

TEST(CharactersOfKey, AsAnEditControlReceivesThem) {
  const KeyCase cases[] = {
      {"digit", Qt::Key_5, Qt::NoModifier, "5", QStringLiteral("5")},
      {"keypad digit", Qt::Key_5, Qt::KeypadModifier, "5", QStringLiteral("5")},
      {"point", Qt::Key_Period, Qt::NoModifier, ".", QStringLiteral(".")},
      {"shifted letter", Qt::Key_A, Qt::ShiftModifier, "A", QStringLiteral("A")},
      {"backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", QString(QChar(0x08))},
      {"shift+backspace", Qt::Key_Backspace, Qt::ShiftModifier, "\b", QString(QChar(0x08))},
      {"enter", Qt::Key_Return, Qt::NoModifier, "\r", QString(QChar(0x0D))},
      {"keypad enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", QString(QChar(0x0D))},
      {"escape", Qt::Key_Escape, Qt::NoModifier, "\x1b", QString(QChar(0x1B))},
      {"ctrl+v from X11", Qt::Key_V, Qt::ControlModifier, "\x16", QString(QChar(0x16))},
      {"ctrl+v from a test", Qt::Key_V, Qt::ControlModifier, "v", QString(QChar(0x16))},
      {"ctrl+shift+z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "",
       QString(QChar(0x1A))},
      {"ctrl+a", Qt::Key_A, Qt::ControlModifier, "", QString(QChar(0x01))},
      {"ctrl+h is backspace", Qt::Key_H, Qt::ControlModifier, "", QString(QChar(0x08))},
      {"ctrl+backspace", Qt::Key_Backspace, Qt::ControlModifier, "", QString(QChar(0x7F))},
      {"ctrl+digit types nothing", Qt::Key_5, Qt::ControlModifier, "5", QString()},
      {"alt+letter is a command", Qt::Key_G, Qt::AltModifier, "g", QString()},
      {"altgr as ctrl+alt", Qt::Key_At, Qt::ControlModifier | Qt::AltModifier, "@",
       QStringLiteral("@")},
      {"delete types nothing", Qt::Key_Delete, Qt::NoModifier, "\x7f", QString()},
      {"arrow", Qt::Key_Left, Qt::NoModifier, "", QString()},
      {"shift+arrow", Qt::Key_Left, Qt::ShiftModifier, "", QString()},
      {"home", Qt::Key_Home, Qt::NoModifier, "", QString()},
      {"shift+insert", Qt::Key_Insert, Qt::ShiftModifier, "", QString()},
      {"tab", Qt::Key_Tab, Qt::NoModifier, "\t", QString()},
  };
  for (const auto& c : cases) {
    const QKeyEvent keyDown(QEvent::KeyPress, c.key, c.modifiers, QString::fromLatin1(c.text));
    EXPECT_EQ(CharactersOfKey(keyDown), c.characters) << c.name;
  }
}

}  // namespace
