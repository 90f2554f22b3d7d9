// The dialog templates of the main window (102) and the About box (100):
// what each window holds before any code of its own runs. Sizes and
// positions are dialog units, relative to the client area.
#pragma once

#include <span>
#include <string>
#include <vector>

// Window styles, as the templates carry them.
inline constexpr unsigned WS_POPUP = 0x80000000;
inline constexpr unsigned WS_CHILD = 0x40000000;
inline constexpr unsigned WS_VISIBLE = 0x10000000;
inline constexpr unsigned WS_CAPTION = 0x00C00000;
inline constexpr unsigned WS_BORDER = 0x00800000;
inline constexpr unsigned WS_SYSMENU = 0x00080000;
inline constexpr unsigned WS_GROUP = 0x00020000;
inline constexpr unsigned WS_TABSTOP = 0x00010000;
inline constexpr unsigned WS_MINIMIZEBOX = 0x00020000;  // same bit as WS_GROUP, on windows
inline constexpr unsigned WS_MAXIMIZEBOX = 0x00010000;  // same bit as WS_TABSTOP, on windows
inline constexpr unsigned WS_THICKFRAME = 0x00040000;
inline constexpr unsigned DS_MODALFRAME = 0x80;
inline constexpr unsigned DS_SETFONT = 0x40;
inline constexpr unsigned WS_EX_APPWINDOW = 0x00040000;

// Control styles: the low bits that choose what a button or static is.
inline constexpr unsigned kControlTypeMask = 0x1F;
inline constexpr unsigned BS_PUSHBUTTON = 0x0;
inline constexpr unsigned BS_DEFPUSHBUTTON = 0x1;
inline constexpr unsigned BS_AUTOCHECKBOX = 0x3;
inline constexpr unsigned SS_LEFT = 0x0;
inline constexpr unsigned SS_ICON = 0x3;
inline constexpr unsigned SS_BLACKRECT = 0x4;
inline constexpr unsigned SS_BITMAP = 0xE;
inline constexpr unsigned SS_NOPREFIX = 0x80;
inline constexpr unsigned CBS_DROPDOWNLIST = 0x3;
inline constexpr unsigned CBS_NOINTEGRALHEIGHT = 0x400;
inline constexpr unsigned ES_AUTOHSCROLL = 0x80;

enum class ControlClass { kButton, kEdit, kStatic, kComboBox };

struct DialogItemTemplate {
  int id;
  ControlClass controlClass;
  int x, y, cx, cy;
  unsigned style;
  const char* text;  // "" for none
  int imageId;       // the icon an SS_ICON static shows, 0 otherwise
};

struct DialogTemplate {
  const char* caption;
  int x, y, cx, cy;
  const char* fontFace;
  int pointSize;
  unsigned style;
  unsigned exStyle;
  std::span<const DialogItemTemplate> items;
  // Strings the window adds to one combo box when it is created, in order.
  int initDataControl;
  std::vector<std::string> initData;
};

// The template of the given id (IDD_ABOUTBOX or IDD_SENTENCE_DIALOG); null
// for any other id.
const DialogTemplate* FindDialogTemplate(int templateId);
