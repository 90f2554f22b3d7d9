// Runs the built application in its own processes on the X display and
// watches its diagrams from outside, as a person at the screen would. Every
// time-out here is a hang bound: a base figure stretched by HangBound.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app_process.h"
#include "hang_bound.h"
#include "x11_session.h"

using namespace std::chrono_literals;

// The executable as users run it, and its test-only twin with 1 ms steps and
// a start event named by the environment (fast_app_main.cpp).
inline const std::string kRealApp = VERIDRIFT_EXE;
inline const std::string kTwinApp = VERIDRIFT_TWIN;

// One instance with its main window found.
struct Instance {
  std::unique_ptr<AppProcess> process;
  Window window = 0;
};

// The main window among the process's windows: its title is "Veridrift".
// The message boxes the application may show before it carry that name only
// as the desktop's name (_NET_WM_NAME); their own title is empty.
bool IsMainWindow(const TopLevel& window);
Window WaitForMainWindow(X11Session& x11, int pid, std::chrono::milliseconds timeout);
// The process's message boxes and menus: untitled windows of a real size
// (Qt's own helper windows are tiny or unmapped).
std::vector<TopLevel> MessageBoxesOf(X11Session& x11, int pid);

// Starts the program and waits for its main window; the window is 0 when
// none showed within the time-out.
Instance Launch(X11Session& x11, const std::string& program,
                const std::vector<std::string>& environment = {},
                std::chrono::milliseconds timeout = 20s);

// The environment every instance gets: the xcb platform and no scaling.
std::vector<std::string> AppEnvironment(std::vector<std::string> extra = {});

// True once the diagrams' red pixels move (a step was shown) within the time.
bool WaitUntilAnimating(X11Session& x11, Window window, std::chrono::milliseconds timeout);
// True when the diagrams' red pixels stay exactly as they are for `still`,
// checked within `timeout` (a run reaching its end, a pause taking effect).
bool WaitUntilStill(X11Session& x11, Window window, std::chrono::milliseconds still,
                    std::chrono::milliseconds timeout);
// The diagrams' red pixels move at no moment of `period`.
bool StaysStill(X11Session& x11, Window window, std::chrono::milliseconds period);

// Lines of the process's standard error that contain `text`.
int CountLinesContaining(const std::string& log, const std::string& text);

// Keeps the real application's start event ("StartGraphingEvent" of this
// user) as it was found: it is put aside while a test runs, so that each test
// begins with no event at all, and put back afterwards, content, size,
// permissions and owner alike.
class UserStartEventGuard {
 public:
  UserStartEventGuard();
  ~UserStartEventGuard();
  UserStartEventGuard(const UserStartEventGuard&) = delete;
  UserStartEventGuard& operator=(const UserStartEventGuard&) = delete;

  // A running instance is attached to the event: a test would start and stop
  // the user's own animation, so it must not run.
  bool InUse() const { return m_inUse; }
  // The shared object's name ("/StartGraphingEvent.<uid>").
  const std::string& ObjectName() const { return m_objectName; }

 private:
  struct Saved {
    std::string bytes;
    unsigned mode = 0;
    unsigned uid = 0;
    unsigned gid = 0;
  };
  std::string m_objectName;
  std::optional<Saved> m_saved;
  bool m_inUse = false;
};

// Writes a shared object under `objectName` as something other than this
// application might leave it: `bytes` as its content, with the given
// permissions and, when uid is set (root only), another owner.
bool PlantSharedObject(const std::string& objectName, const std::string& bytes, unsigned mode,
                       std::optional<unsigned> uid = std::nullopt);
