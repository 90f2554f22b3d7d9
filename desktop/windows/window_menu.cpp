#include "desktop/windows/window_menu.h"

WindowMenu StandardWindowMenu() {
  return {{SC_RESTORE, "&Restore"},    {SC_MOVE, "&Move"},         {SC_SIZE, "&Size"},
          {SC_MINIMIZE, "Mi&nimize"},  {SC_MAXIMIZE, "Ma&ximize"}, {0, ""},
          {SC_CLOSE, "&Close\tAlt+F4"}};
}

bool DeleteMenuAt(WindowMenu& menu, std::size_t position) {
  if (position >= menu.size()) {
    return false;
  }
  menu.erase(menu.begin() + static_cast<std::ptrdiff_t>(position));
  return true;
}

void InsertMenuAt(WindowMenu& menu, std::size_t position, WindowMenuEntry entry) {
  const auto at =
      position >= menu.size() ? menu.end() : menu.begin() + static_cast<std::ptrdiff_t>(position);
  menu.insert(at, std::move(entry));
}

bool OfferedOnThisPlatform(unsigned command) {
  const unsigned masked = command & kSystemCommandMask;
  return masked != SC_RESTORE && masked != SC_MOVE;
}
