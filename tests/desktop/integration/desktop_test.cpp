// The application as a desktop sees it, from the X display: which desktop
// entry its window belongs to, the icon it shows, and how it looks on a
// screen scaled by two.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app_process.h"
#include "core/layout/resource.h"
#include "desktop/resources/resources.h"

// Xlib's macros (Bool, Status, None) clash with Qt's headers: it comes last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "x11_session.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kDesktopEntry =
    VERIDRIFT_SOURCE_DIR "/desktop/integration/org.veridrift.Veridrift.desktop";

std::string DesktopEntryValue(const std::string& key) {
  std::ifstream entry(kDesktopEntry);
  std::string line;
  while (std::getline(entry, line)) {
    if (line.rfind(key + "=", 0) == 0) {
      return line.substr(key.size() + 1);
    }
  }
  return {};
}

// Pixels of one colour (each channel within 3) in a rectangle.
int CountColour(const QImage& image, const QRect& area, QColor colour) {
  int count = 0;
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      count += std::abs(qRed(p) - colour.red()) <= 3 && std::abs(qGreen(p) - colour.green()) <= 3 &&
                       std::abs(qBlue(p) - colour.blue()) <= 3
                   ? 1
                   : 0;
    }
  }
  return count;
}

const QColor kFrameGrey{77, 77, 77};

// The real application on the display, with its window found; closed again
// when the test is done.
class RunningApp {
 public:
  explicit RunningApp(const char* scaleFactor)
      : m_app(VERIDRIFT_EXE,
              {"QT_QPA_PLATFORM=xcb", std::string("QT_SCALE_FACTOR=") + scaleFactor}),
        m_display(XOpenDisplay(nullptr)) {
    m_window = m_x11.WaitForWindow("Veridrift", m_app.pid(), 20s);
    // The window is mapped before its first paint reaches the screen (long
    // before, in a sanitized build): wait for the web diagram's frame.
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (ok() && std::chrono::steady_clock::now() < deadline && !Painted()) {
      std::this_thread::sleep_for(50ms);
    }
  }
  ~RunningApp() {
    if (m_window != 0) {
      m_x11.Close(m_window);
      m_app.WaitForExit(5s);
    }
    if (m_display != nullptr) {
      XCloseDisplay(m_display);
    }
  }
  bool ok() const { return m_window != 0 && m_display != nullptr; }
  std::string Stderr() const { return m_app.Stderr(); }
  Display* display() const { return m_display; }
  Window window() const { return m_window; }

  QSize Size() const {
    XWindowAttributes attributes{};
    XGetWindowAttributes(m_display, m_window, &attributes);
    return {attributes.width, attributes.height};
  }

  bool Painted() const {
    const QImage shown = Screenshot();
    return !shown.isNull() && CountColour(shown, shown.rect(), kFrameGrey) > 0;
  }

  // What the screen shows of the window. A window larger than the screen
  // (the scaled one on a small screen) is cut at the screen's edge; the rest
  // reads as black.
  QImage Screenshot() const {
    const QSize size = Size();
    int x = 0;
    int y = 0;
    Window child = 0;
    const Window root = DefaultRootWindow(m_display);
    XTranslateCoordinates(m_display, m_window, root, 0, 0, &x, &y, &child);
    const int screenWidth = DisplayWidth(m_display, DefaultScreen(m_display));
    const int screenHeight = DisplayHeight(m_display, DefaultScreen(m_display));
    const int width = std::min(size.width(), screenWidth - x);
    const int height = std::min(size.height(), screenHeight - y);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    XImage* shown = XGetImage(m_display, root, x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (shown == nullptr) {
      return {};
    }
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        image.setPixel(column, row, static_cast<QRgb>(XGetPixel(shown, column, row) | 0xFF000000u));
      }
    }
    XDestroyImage(shown);
    return image;
  }

 private:
  AppProcess m_app;
  X11Session m_x11;
  Display* m_display = nullptr;
  Window m_window = 0;
};

// _NET_WM_ICON: width, height, then width * height ARGB pixels, image after image.
std::map<int, QImage> WindowIcons(Display* display, Window window) {
  std::map<int, QImage> icons;
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  const Atom iconAtom = XInternAtom(display, "_NET_WM_ICON", False);
  if (XGetWindowProperty(display, window, iconAtom, 0, 1 << 20, False, XA_CARDINAL, &type, &format,
                         &count, &after, &data) != Success ||
      data == nullptr) {
    return icons;
  }
  // Xlib hands 32-bit items over as longs.
  const auto* items = reinterpret_cast<const unsigned long*>(data);
  for (unsigned long at = 0; at + 2 <= count;) {
    const int width = static_cast<int>(items[at]);
    const int height = static_cast<int>(items[at + 1]);
    at += 2;
    if (width <= 0 || height <= 0 || at + static_cast<unsigned long>(width * height) > count) {
      break;
    }
    QImage image(width, height, QImage::Format_ARGB32);
    for (int i = 0; i < width * height; ++i) {
      image.setPixel(i % width, i / width,
                     static_cast<QRgb>(items[at + static_cast<unsigned long>(i)]));
    }
    at += static_cast<unsigned long>(width * height);
    icons.emplace(width, image);
  }
  XFree(data);
  return icons;
}

// ---- Identity ----

TEST(DesktopIdentity, WindowClassIsTheOneTheDesktopEntryNames) {
  const std::string startupClass = DesktopEntryValue("StartupWMClass");
  ASSERT_FALSE(startupClass.empty()) << "no StartupWMClass in " << kDesktopEntry;
  RunningApp app("1");
  ASSERT_TRUE(app.ok()) << app.Stderr();
  XClassHint hint{};
  ASSERT_NE(XGetClassHint(app.display(), app.window(), &hint), 0);
  const std::string instance = hint.res_name != nullptr ? hint.res_name : "";
  const std::string windowClass = hint.res_class != nullptr ? hint.res_class : "";
  XFree(hint.res_name);
  XFree(hint.res_class);
  // Task bars match the class (some the instance) against StartupWMClass to
  // find the entry, and with it the name and icon they show.
  EXPECT_EQ(windowClass, startupClass);
  EXPECT_EQ(instance, startupClass);
}

TEST(DesktopIdentity, WindowShowsTheApplicationIconInBothSizes) {
  RunningApp app("1");
  ASSERT_TRUE(app.ok()) << app.Stderr();
  const std::map<int, QImage> icons = WindowIcons(app.display(), app.window());
  for (const int size : {16, 32}) {
    ASSERT_TRUE(icons.count(size) != 0) << "no " << size << " x " << size << " window icon";
    const QImage expected =
        LoadIconImage(IDR_MAINFRAME, size).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(icons.at(size), expected) << size;
  }
}

// ---- Twice the scale ----

QRect BoundsOfColour(const QImage& image, const QRect& area, QColor colour) {
  QRect bounds;
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      if (CountColour(image, QRect(x, y, 1, 1), colour) == 1) {
        bounds |= QRect(x, y, 1, 1);
      }
    }
  }
  return bounds;
}

// A rectangle of the 324 x 261 dialog-unit template, in a window of `size`.
QRect FromDialogUnits(QSize size, int x, int y, int width, int height) {
  return QRect(size.width() * x / 324, size.height() * y / 261, size.width() * width / 324,
               size.height() * height / 261);
}

const QColor kWhite{255, 255, 255};

class DoubleScale : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const char* factor : {"1", "2"}) {
      RunningApp app(factor);
      ASSERT_TRUE(app.ok()) << app.Stderr();
      (factor[0] == '1' ? normal_ : doubled_) = app.Screenshot();
    }
  }
  static QImage normal_;
  static QImage doubled_;
};

QImage DoubleScale::normal_;
QImage DoubleScale::doubled_;

TEST_F(DoubleScale, WindowIsTwiceAsLargeWithTheSameProportions) {
  ASSERT_FALSE(normal_.isNull());
  ASSERT_FALSE(doubled_.isNull());
  EXPECT_NEAR(doubled_.width(), 2 * normal_.width(), 1);
  EXPECT_NEAR(doubled_.height(), 2 * normal_.height(), 1);
}

TEST_F(DoubleScale, WebDiagramFillsItsPlaceholderInDevicePixels) {
  ASSERT_FALSE(normal_.isNull());
  ASSERT_FALSE(doubled_.isNull());
  // The grey frame of the unit square sits just inside the view's edges.
  const QRect normalFrame =
      BoundsOfColour(normal_, FromDialogUnits(normal_.size(), 0, 88, 190, 173), kFrameGrey);
  const QRect doubledFrame =
      BoundsOfColour(doubled_, FromDialogUnits(doubled_.size(), 0, 88, 190, 173), kFrameGrey);
  ASSERT_FALSE(normalFrame.isEmpty());
  EXPECT_NEAR(doubledFrame.left(), 2 * normalFrame.left(), 3);
  EXPECT_NEAR(doubledFrame.top(), 2 * normalFrame.top(), 3);
  EXPECT_NEAR(doubledFrame.width(), 2 * normalFrame.width(), 3);
  EXPECT_NEAR(doubledFrame.height(), 2 * normalFrame.height(), 3);
  // Drawn at the screen's resolution, not enlarged: a row across the middle
  // meets the frame's two sides one device pixel wide each.
  const auto sidesCrossed = [](const QImage& image, const QRect& frame) {
    return CountColour(image, QRect(frame.left(), frame.center().y(), frame.width(), 1),
                       kFrameGrey);
  };
  EXPECT_EQ(sidesCrossed(normal_, normalFrame), 2);
  EXPECT_EQ(sidesCrossed(doubled_, doubledFrame), 2);
}

TEST_F(DoubleScale, FormulaPictureGrowsWithThePanelPixelByPixel) {
  ASSERT_FALSE(normal_.isNull());
  ASSERT_FALSE(doubled_.isNull());
  int lit = 0;
  for (const char* row : kFormulaBitmapRows) {
    lit += static_cast<int>(std::count(row, row + kFormulaBitmapWidth, '#'));
  }
  // The picture lies over the panel's corner at 189, 112, 28 x 11 pixels of
  // its own; the log's first text, the "=", begins a few pixels after it.
  // Where the corner lands is known to a pixel or so.
  const auto around = [](const QImage& image, int scale) {
    const QRect at = FromDialogUnits(image.size(), 189, 112, 0, 0);
    return QRect(at.left() - 3 * scale, at.top() - 2 * scale, 32 * scale, 15 * scale);
  };
  const auto within = [](const QImage& image, int scale) {
    const QRect at = FromDialogUnits(image.size(), 189, 112, 0, 0);
    return QRect(at.left() + scale, at.top() + scale, 26 * scale, 9 * scale);
  };
  EXPECT_EQ(CountColour(normal_, around(normal_, 1), kWhite), lit);
  // Each pixel a 2 x 2 block, in the picture's two colours only: no blur.
  EXPECT_EQ(CountColour(doubled_, around(doubled_, 2), kWhite), 4 * lit);
  const QRect inside = within(doubled_, 2);
  EXPECT_EQ(CountColour(doubled_, inside, kWhite) + CountColour(doubled_, inside, Qt::black),
            inside.width() * inside.height());
}

}  // namespace
