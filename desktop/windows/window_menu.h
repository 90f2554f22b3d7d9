// The window menu as a list of entries. The desktop's standard menu for a
// window is built first and then edited the way the main window edits it, so
// the About entry lands where the user expects it: after Minimize, before
// the separator above Close.
#pragma once

#include <string>
#include <vector>

// System commands; the low four bits of a command are the system's own.
inline constexpr unsigned SC_SIZE = 0xF000;
inline constexpr unsigned SC_MOVE = 0xF010;
inline constexpr unsigned SC_MINIMIZE = 0xF020;
inline constexpr unsigned SC_MAXIMIZE = 0xF030;
inline constexpr unsigned SC_CLOSE = 0xF060;
inline constexpr unsigned SC_RESTORE = 0xF120;
inline constexpr unsigned kSystemCommandMask = 0xFFF0;

struct WindowMenuEntry {
  unsigned command = 0;  // 0 for a separator
  std::string text;
};
using WindowMenu = std::vector<WindowMenuEntry>;

// Restore, Move, Size, Minimize, Maximize, a separator, Close.
WindowMenu StandardWindowMenu();

// Removes the entries at `position` (counted from 0); false when there is none.
bool DeleteMenuAt(WindowMenu& menu, std::size_t position);
// Inserts before `position`, or appends when it is past the end.
void InsertMenuAt(WindowMenu& menu, std::size_t position, WindowMenuEntry entry);

// Whether this platform's window menu offers the command. Restoring and
// moving belong to the window manager here, which shows them in its own menu.
bool OfferedOnThisPlatform(unsigned command);
