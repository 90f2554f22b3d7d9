// The characters a key press types, as a desktop edit control receives them:
// printable text, and the control characters that Backspace, Enter, Escape
// and Ctrl with a letter produce (Ctrl+V is 0x16, Ctrl+Backspace 0x7F).
// A key that types nothing (arrows, Home, Delete, function keys, Alt with a
// letter) gives an empty result and is left to the line edit's own handling.
#pragma once

#include <QString>

class QKeyEvent;

QString CharactersOfKey(const QKeyEvent& keyDown);
