#include "own_start_event.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "desktop/animation/start_event.h"

namespace {

// Fixed storage: the names are read from a signal handler, which may not
// allocate or take locks.
constexpr int kMaxNames = 256;
constexpr std::size_t kMaxObjectName = 160;
char g_objectNames[kMaxNames][kMaxObjectName];
std::atomic<int> g_nameCount{0};
std::mutex g_registration;
pid_t g_owner = 0;

void RemoveRegistered() {
  if (getpid() != g_owner) {
    return;
  }
  const int count = std::min(g_nameCount.load(std::memory_order_acquire), kMaxNames);
  for (int i = 0; i < count; ++i) {
    shm_unlink(g_objectNames[i]);
  }
}

void RemoveAndDie(int signal) {
  RemoveRegistered();
  // The handler was installed to run once: the signal now ends the process
  // as it would have without us.
  raise(signal);
}

void InstallHandler(int signal) {
  struct sigaction previous {};
  sigaction(signal, nullptr, &previous);
  const bool crash = signal == SIGSEGV || signal == SIGBUS || signal == SIGFPE || signal == SIGILL;
  // A sanitizer's crash handler reports first and then aborts, which brings
  // us here through SIGABRT; it stays in place.
  if (crash && previous.sa_handler != SIG_DFL) {
    return;
  }
  if (!crash && previous.sa_handler == SIG_IGN) {
    return;
  }
  struct sigaction action {};
  action.sa_handler = RemoveAndDie;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
}

void InstallOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    g_owner = getpid();
    std::atexit(RemoveRegistered);
    for (const int signal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTERM, SIGINT, SIGHUP}) {
      InstallHandler(signal);
    }
  });
}

}  // namespace

std::string OwnStartEventName(const std::string& prefix) {
  const std::string name = prefix + "-" + std::to_string(getpid());
  RemoveStartEventAtExit(name);
  return name;
}

void RemoveStartEventAtExit(const std::string& eventName) {
  InstallOnce();
  const std::string objectName = StartEventObjectName(eventName, geteuid());
  std::lock_guard lock(g_registration);
  const int slot = g_nameCount.load(std::memory_order_relaxed);
  for (int i = 0; i < std::min(slot, kMaxNames); ++i) {
    if (objectName == g_objectNames[i]) {
      return;
    }
  }
  if (slot >= kMaxNames || objectName.size() >= kMaxObjectName) {
    return;  // the test's own teardown still removes it
  }
  std::memcpy(g_objectNames[slot], objectName.c_str(), objectName.size() + 1);
  g_nameCount.store(slot + 1, std::memory_order_release);
}
