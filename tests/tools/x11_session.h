// Drives a running application from outside, as a person at the X display
// would: finds its windows, types keys, closes windows and looks at pixels.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

struct WindowImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB, row by row

  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
  // Pixels whose red is high and green and blue low: the trace and the series.
  int CountRed() const;
  // A fingerprint of where the red pixels are: it changes with every step
  // the diagrams show, and with nothing else in the window (a blinking caret,
  // a button's new text). 0 when there is no red at all.
  std::uint64_t RedFingerprint() const;
};

struct TopLevel {
  Window window = 0;
  std::string title;
  int width = 0;
  int height = 0;
};

class X11Session {
 public:
  X11Session();
  ~X11Session();
  X11Session(const X11Session&) = delete;
  X11Session& operator=(const X11Session&) = delete;

  bool ok() const { return display_ != nullptr; }

  // Viewable top-level windows of the given process whose title is `title`.
  std::vector<Window> FindWindows(const std::string& title, int pid);
  // Waits until such a window shows; 0 on time-out, a hang bound (HangBound).
  Window WaitForWindow(const std::string& title, int pid, std::chrono::milliseconds timeout);
  // Every viewable top-level window of the process, whatever its title.
  std::vector<TopLevel> WindowsOf(int pid);

  // Gives the window the keyboard focus and presses and releases the key.
  void Key(Window window, const char* keysymName, bool shift = false);
  // Moves the pointer to (x, y) in the window and clicks the button there
  // (1 left, 2 middle, 3 right).
  void Click(Window window, int x, int y, unsigned button = 1);
  // Asks the window to close, as a window manager's close button does.
  void Close(Window window);
  // Moves a top-level window (there is no window manager to object), so
  // that two instances' windows do not cover each other.
  void Move(Window window, int x, int y);
  WindowImage Grab(Window window);

 private:
  Display* display_ = nullptr;
};
