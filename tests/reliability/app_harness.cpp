#include "app_harness.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>
#include <thread>

#include "desktop/animation/start_event.h"

namespace {

constexpr auto kPoll = 20ms;

std::uint64_t Fingerprint(X11Session& x11, Window window) {
  return x11.Grab(window).RedFingerprint();
}

std::string ReadAll(int fd) {
  std::string bytes;
  char buffer[4096];
  off_t at = 0;
  for (;;) {
    const ssize_t got = pread(fd, buffer, sizeof buffer, at);
    if (got <= 0) {
      return bytes;
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
    at += got;
  }
}

}  // namespace

std::vector<std::string> AppEnvironment(std::vector<std::string> extra) {
  extra.insert(extra.begin(), {"QT_QPA_PLATFORM=xcb"});
  return extra;
}

bool IsMainWindow(const TopLevel& window) {
  return window.title == "Veridrift";
}

Window WaitForMainWindow(X11Session& x11, int pid, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + HangBound(timeout);
  do {
    for (const TopLevel& window : x11.WindowsOf(pid)) {
      if (IsMainWindow(window)) {
        return window.window;
      }
    }
    std::this_thread::sleep_for(10ms);
  } while (std::chrono::steady_clock::now() < deadline);
  return 0;
}

std::vector<TopLevel> MessageBoxesOf(X11Session& x11, int pid) {
  std::vector<TopLevel> boxes;
  for (const TopLevel& window : x11.WindowsOf(pid)) {
    if (window.title.empty() && window.width > 50 && window.height > 30) {
      boxes.push_back(window);
    }
  }
  return boxes;
}

Instance Launch(X11Session& x11, const std::string& program,
                const std::vector<std::string>& environment, std::chrono::milliseconds timeout) {
  Instance instance;
  instance.process = std::make_unique<AppProcess>(program, environment);
  instance.window = WaitForMainWindow(x11, instance.process->pid(), timeout);
  return instance;
}

bool WaitUntilAnimating(X11Session& x11, Window window, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + HangBound(timeout);
  const std::uint64_t before = Fingerprint(x11, window);
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(kPoll);
    if (Fingerprint(x11, window) != before) {
      return true;
    }
  }
  return false;
}

bool WaitUntilStill(X11Session& x11, Window window, std::chrono::milliseconds still,
                    std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + HangBound(timeout);
  std::uint64_t seen = Fingerprint(x11, window);
  auto since = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(kPoll);
    const std::uint64_t now = Fingerprint(x11, window);
    if (now != seen) {
      seen = now;
      since = std::chrono::steady_clock::now();
    } else if (std::chrono::steady_clock::now() - since >= still) {
      return true;
    }
  }
  return false;
}

bool StaysStill(X11Session& x11, Window window, std::chrono::milliseconds period) {
  const auto end = std::chrono::steady_clock::now() + period;
  const std::uint64_t before = Fingerprint(x11, window);
  while (std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(kPoll);
    if (Fingerprint(x11, window) != before) {
      return false;
    }
  }
  return true;
}

int CountLinesContaining(const std::string& log, const std::string& text) {
  std::istringstream lines(log);
  int count = 0;
  for (std::string line; std::getline(lines, line);) {
    count += line.find(text) != std::string::npos ? 1 : 0;
  }
  return count;
}

UserStartEventGuard::UserStartEventGuard()
    : m_objectName(StartEventObjectName(kStartEventName, geteuid())) {
  const int fd = shm_open(m_objectName.c_str(), O_RDWR | O_CLOEXEC, 0);
  if (fd < 0) {
    return;
  }
  struct stat st {};
  if (fstat(fd, &st) == 0) {
    m_saved = Saved{ReadAll(fd), static_cast<unsigned>(st.st_mode & 07777),
                    static_cast<unsigned>(st.st_uid), static_cast<unsigned>(st.st_gid)};
  }
  // Every instance holds a shared lock on the event for as long as it runs.
  m_inUse = flock(fd, LOCK_EX | LOCK_NB) != 0;
  close(fd);
  if (!m_inUse) {
    shm_unlink(m_objectName.c_str());
  }
}

UserStartEventGuard::~UserStartEventGuard() {
  if (m_inUse) {
    return;
  }
  shm_unlink(m_objectName.c_str());
  if (m_saved) {
    PlantSharedObject(m_objectName, m_saved->bytes, m_saved->mode, m_saved->uid);
  }
}

bool PlantSharedObject(const std::string& objectName, const std::string& bytes, unsigned mode,
                       std::optional<unsigned> uid) {
  const int fd = shm_open(objectName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    return false;
  }
  bool ok = ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
            pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
  if (uid && *uid != geteuid()) {
    ok = fchown(fd, *uid, static_cast<gid_t>(-1)) == 0 && ok;
  }
  ok = fchmod(fd, mode) == 0 && ok;
  close(fd);
  return ok;
}
