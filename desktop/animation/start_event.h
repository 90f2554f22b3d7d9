// The start event the workers of every running instance of one user wait on:
// a manual-reset event that lives in a small POSIX shared-memory object, or,
// when that object cannot be trusted, a private event of this process alone.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

inline constexpr const char* kStartEventName = "StartGraphingEvent";

// The one word the event's whole state fits in: bit 0 is "signalled", the
// other bits count the changes. Every change moves the word, so a waiter that
// saw it non-signalled knows it was signalled since as soon as it moves.
using StartEventWord = std::uint32_t;
inline bool IsSignalledWord(StartEventWord word) {
  return (word & 1u) != 0;
}

enum class StartEventWait { kSignalled, kCancelled, kTimedOut };

class StartEvent {
 public:
  virtual ~StartEvent() = default;

  // SetEvent: no effect while already signalled. Wakes every waiter, in any
  // process sharing the event.
  virtual void Set() = 0;
  // ResetEvent: no effect while not signalled. Wakes nobody.
  virtual void Reset() = 0;
  virtual StartEventWord Word() const = 0;
  bool IsSet() const { return IsSignalledWord(Word()); }

  // Blocks without using the processor until the event is signalled, or has
  // been signalled at any moment since the call began (a Set followed at once
  // by a Reset still releases it, as on a kernel event), or `cancelled` is
  // true when WakeLocalWaiters is called. timeoutMs < 0 waits without limit.
  virtual StartEventWait Wait(const std::atomic<bool>& cancelled, int timeoutMs = -1) = 0;

  // Wakes this process's waiters only, so that they look at their cancel
  // flag; waiters in other processes sleep on undisturbed.
  virtual void WakeLocalWaiters() = 0;

  // True when the event is shared with other instances; false for the
  // private fallback, whose reason FallbackReason() gives.
  virtual bool IsShared() const = 0;
  virtual std::string FallbackReason() const = 0;
};

// The shared-memory object's name for an event name and user: "/" + name +
// "." + uid.
std::string StartEventObjectName(const std::string& eventName, unsigned uid);

// Opens (creating if need be) the shared event of this user named
// `eventName`, and keeps this process attached to it while the returned
// event lives. An event that no living process has open starts afresh, not
// signalled, whatever the last instance left it in. An object that is not
// this user's alone, or is not a start event of this layout and version, is
// left untouched: a private event takes its place, and the first such
// fallback in the process is reported once on standard error. Never returns
// null.
std::unique_ptr<StartEvent> OpenStartEvent(const std::string& eventName = kStartEventName);

// Removes the shared object's name, for tests that made their own event. An
// application never does: instances started later would no longer meet the
// running ones. True when there was one to remove.
bool RemoveStartEvent(const std::string& eventName);

// A private event of this process alone.
std::unique_ptr<StartEvent> MakePrivateStartEvent(const std::string& reason = "private");

// Waiting on two futexes at once needs a recent kernel; without it waits fall
// back to short timed slices. Tests force the fallback to exercise it.
void ForceSlicedStartEventWaits(bool forced);
