#include "desktop/windows/window_menu.h"

#include <gtest/gtest.h>

#include "core/layout/resource.h"

namespace {

std::vector<unsigned> Commands(const WindowMenu& menu) {
  std::vector<unsigned> commands;
  for (const auto& entry : menu) {
    commands.push_back(entry.command);
  }
  return commands;
}

TEST(WindowMenu, AboutLandsBetweenMinimizeAndTheSeparatorAboveClose) {
  WindowMenu menu = StandardWindowMenu();
  ASSERT_TRUE(DeleteMenuAt(menu, 2));  // Size
  ASSERT_TRUE(DeleteMenuAt(menu, 3));  // Maximize, counted after the first deletion
  InsertMenuAt(menu, 3, {IDM_ABOUTBOX, "&About Veridrift..."});
  EXPECT_EQ(Commands(menu),
            (std::vector<unsigned>{SC_RESTORE, SC_MOVE, SC_MINIMIZE, IDM_ABOUTBOX, 0, SC_CLOSE}));
}

TEST(WindowMenu, EditsPastTheEndChangeNothingOrAppend) {
  WindowMenu menu = StandardWindowMenu();
  EXPECT_FALSE(DeleteMenuAt(menu, 7));
  EXPECT_EQ(menu.size(), 7u);
  InsertMenuAt(menu, 99, {IDM_ABOUTBOX, "x"});
  EXPECT_EQ(menu.back().command, IDM_ABOUTBOX);
}

TEST(WindowMenu, WindowManagerKeepsRestoreAndMove) {
  EXPECT_FALSE(OfferedOnThisPlatform(SC_RESTORE));
  EXPECT_FALSE(OfferedOnThisPlatform(SC_MOVE + 2));
  EXPECT_TRUE(OfferedOnThisPlatform(SC_MINIMIZE));
  EXPECT_TRUE(OfferedOnThisPlatform(IDM_ABOUTBOX));
  EXPECT_TRUE(OfferedOnThisPlatform(SC_CLOSE));
}

}  // namespace
