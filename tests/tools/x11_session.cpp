#include "x11_session.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <thread>

#include "hang_bound.h"

int WindowImage::CountRed() const {
  int count = 0;
  for (const std::uint32_t p : pixels) {
    const unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    count += (r > 150 && g < 90 && b < 90) ? 1 : 0;
  }
  return count;
}

std::uint64_t WindowImage::RedFingerprint() const {
  // FNV-1a over the indices of the red pixels.
  std::uint64_t hash = 14695981039346656037ull;
  bool any = false;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const std::uint32_t p = pixels[i];
    const unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    if (r > 150 && g < 90 && b < 90) {
      any = true;
      hash = (hash ^ i) * 1099511628211ull;
    }
  }
  return any ? hash : 0;
}

namespace {

// Windows of other processes come and go while we look at them; a request
// about one that has just gone must fail quietly, not end the test program
// (Xlib's default handler exits).
int IgnoreXErrors(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

X11Session::X11Session() {
  // A busy server may turn a connection away for a moment.
  for (int attempt = 0; attempt < 20 && display_ == nullptr; ++attempt) {
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  XSetErrorHandler(IgnoreXErrors);
}

X11Session::~X11Session() {
  if (display_ != nullptr) {
    XCloseDisplay(display_);
  }
}

namespace {

int WindowPid(Display* display, Window window) {
  const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
  if (pidAtom == None) {
    return -1;
  }
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  int pid = -1;
  if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items,
                         &after, &data) == Success &&
      data != nullptr) {
    if (items == 1 && format == 32) {
      pid = static_cast<int>(*reinterpret_cast<unsigned long*>(data));
    }
    XFree(data);
  }
  return pid;
}

std::string WindowTitle(Display* display, Window window) {
  XTextProperty property;
  std::string title;
  if (XGetWMName(display, window, &property) != 0 && property.value != nullptr) {
    title.assign(reinterpret_cast<char*>(property.value), property.nitems);
    XFree(property.value);
  }
  return title;
}

}  // namespace

std::vector<Window> X11Session::FindWindows(const std::string& title, int pid) {
  std::vector<Window> found;
  for (const TopLevel& top : WindowsOf(pid)) {
    if (top.title == title) {
      found.push_back(top.window);
    }
  }
  return found;
}

std::vector<TopLevel> X11Session::WindowsOf(int pid) {
  std::vector<TopLevel> found;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0) {
    return found;
  }
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, children[i], &attributes) == 0 ||
        attributes.map_state != IsViewable) {
      continue;
    }
    if (WindowPid(display_, children[i]) == pid) {
      found.push_back(
          {children[i], WindowTitle(display_, children[i]), attributes.width, attributes.height});
    }
  }
  if (children != nullptr) {
    XFree(children);
  }
  return found;
}

Window X11Session::WaitForWindow(const std::string& title, int pid,
                                 std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + HangBound(timeout);
  while (std::chrono::steady_clock::now() < deadline) {
    const auto windows = FindWindows(title, pid);
    if (!windows.empty()) {
      return windows.front();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}

void X11Session::Key(Window window, const char* keysymName, bool shift) {
  XSetInputFocus(display_, window, RevertToParent, CurrentTime);
  XSync(display_, False);
  const KeyCode shiftCode = XKeysymToKeycode(display_, XK_Shift_L);
  const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysymName));
  if (shift) {
    XTestFakeKeyEvent(display_, shiftCode, True, CurrentTime);
  }
  XTestFakeKeyEvent(display_, code, True, CurrentTime);
  XTestFakeKeyEvent(display_, code, False, CurrentTime);
  if (shift) {
    XTestFakeKeyEvent(display_, shiftCode, False, CurrentTime);
  }
  XSync(display_, False);
}

void X11Session::Click(Window window, int x, int y, unsigned button) {
  int rootX = 0, rootY = 0;
  Window child = 0;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), x, y, &rootX, &rootY,
                        &child);
  XTestFakeMotionEvent(display_, DefaultScreen(display_), rootX, rootY, CurrentTime);
  XTestFakeButtonEvent(display_, button, True, CurrentTime);
  XTestFakeButtonEvent(display_, button, False, CurrentTime);
  XSync(display_, False);
}

void X11Session::Close(Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &event);
  XSync(display_, False);
}

void X11Session::Move(Window window, int x, int y) {
  XMoveWindow(display_, window, x, y);
  XSync(display_, False);
}

WindowImage X11Session::Grab(Window window) {
  WindowImage image;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display_, window, &attributes) == 0) {
    return image;
  }
  XImage* x = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                        static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (x == nullptr) {
    return image;
  }
  image.width = attributes.width;
  image.height = attributes.height;
  image.pixels.resize(static_cast<std::size_t>(image.width * image.height));
  for (int y = 0; y < image.height; ++y) {
    for (int xx = 0; xx < image.width; ++xx) {
      image.pixels[static_cast<std::size_t>(y * image.width + xx)] =
          static_cast<std::uint32_t>(XGetPixel(x, xx, y) & 0xFFFFFF);
    }
  }
  XDestroyImage(x);
  return image;
}
