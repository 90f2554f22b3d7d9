#include "desktop/animation/start_event.h"

#include <fcntl.h>
#include <linux/futex.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

namespace {

// The object's layout. Lock-free on purpose: a peer killed at any instant
// leaves nothing half-written and no lock held, because every change is one
// compare-and-swap on `word` and the sleepers live in the kernel.
struct SharedBlock {
  // Magic, version and size in one word, so that the first opener of a fresh,
  // zero-filled object can claim it with one compare-and-swap and a second
  // opener never sees a half-written header.
  std::atomic<std::uint64_t> stamp;
  std::atomic<StartEventWord> word;
  std::uint32_t reserved;
};
static_assert(sizeof(SharedBlock) == 16);
static_assert(std::atomic<std::uint64_t>::is_always_lock_free);
static_assert(std::atomic<StartEventWord>::is_always_lock_free);
static_assert(sizeof(std::atomic<StartEventWord>) == sizeof(std::uint32_t));

constexpr std::uint32_t kMagic = 0x56445345;  // "VDSE"
constexpr std::uint32_t kLayoutVersion = 1;
constexpr std::uint64_t kStamp =
    (std::uint64_t{kMagic} << 32) | (std::uint64_t{kLayoutVersion} << 16) | sizeof(SharedBlock);

// Without futex_waitv a waiter can sleep on the event only, so it comes up
// this often to look at its cancel flag.
constexpr int kWaitSliceMs = 50;

std::atomic<bool> g_forceSlicedWaits{false};

// Reset on the bare word: a signalled word moves on to the next count, which
// is not signalled; any other word is left as it is.
void ResetWord(std::atomic<StartEventWord>& word) {
  StartEventWord old = word.load(std::memory_order_acquire);
  while (IsSignalledWord(old)) {
    if (word.compare_exchange_weak(old, old + 1u, std::memory_order_acq_rel)) {
      return;
    }
  }
}

std::uint32_t* FutexAddress(std::atomic<std::uint32_t>& word) {
  return reinterpret_cast<std::uint32_t*>(&word);
}

void FutexWakeAll(std::atomic<std::uint32_t>& word, bool shared) {
  syscall(SYS_futex, FutexAddress(word), shared ? FUTEX_WAKE : FUTEX_WAKE_PRIVATE, INT_MAX, nullptr,
          nullptr, 0);
}

timespec MonotonicIn(std::chrono::nanoseconds delay) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const auto total = std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec) +
                     std::max(delay, std::chrono::nanoseconds(0));
  const auto secs = std::chrono::duration_cast<std::chrono::seconds>(total);
  return timespec{static_cast<time_t>(secs.count()), static_cast<long>((total - secs).count())};
}

std::chrono::nanoseconds Until(const timespec& deadline) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::chrono::seconds(deadline.tv_sec - now.tv_sec) +
         std::chrono::nanoseconds(deadline.tv_nsec - now.tv_nsec);
}

// The futex-backed event, over a word in a shared mapping or in this
// process's own memory.
class FutexStartEvent final : public StartEvent {
 public:
  // Shared: `block` is a mapping owned by this object, and `attachment` the
  // open object whose lock marks this opening as alive. Private: null, -1.
  FutexStartEvent(SharedBlock* block, int attachment, std::string fallbackReason)
      : m_block(block), m_attachment(attachment), m_fallbackReason(std::move(fallbackReason)) {}
  ~FutexStartEvent() override {
    if (m_block != nullptr) {
      munmap(m_block, sizeof(SharedBlock));
    }
    if (m_attachment >= 0) {
      close(m_attachment);
    }
  }
  FutexStartEvent(const FutexStartEvent&) = delete;
  FutexStartEvent& operator=(const FutexStartEvent&) = delete;

  void Set() override {
    StartEventWord old = EventWord().load(std::memory_order_acquire);
    while (!IsSignalledWord(old)) {
      if (EventWord().compare_exchange_weak(old, (old & ~1u) + 3u, std::memory_order_acq_rel)) {
        FutexWakeAll(EventWord(), IsShared());
        return;
      }
    }
  }

  void Reset() override { ResetWord(EventWord()); }

  StartEventWord Word() const override { return EventWord().load(std::memory_order_acquire); }

  StartEventWait Wait(const std::atomic<bool>& cancelled, int timeoutMs) override {
    std::optional<timespec> deadline;
    if (timeoutMs >= 0) {
      deadline = MonotonicIn(std::chrono::milliseconds(timeoutMs));
    }
    const StartEventWord seen = Word();
    if (IsSignalledWord(seen)) {
      return StartEventWait::kSignalled;
    }
    for (;;) {
      // The local wake count is read before the flag, so a wake that comes
      // after this read makes the kernel refuse to sleep.
      const std::uint32_t localSeen = m_localWake.load(std::memory_order_acquire);
      if (cancelled.load(std::memory_order_acquire)) {
        return StartEventWait::kCancelled;
      }
      if (Word() != seen) {
        return StartEventWait::kSignalled;
      }
      if (deadline && Until(*deadline).count() <= 0) {
        return StartEventWait::kTimedOut;
      }
      SleepWhile(seen, localSeen, deadline);
    }
  }

  void WakeLocalWaiters() override {
    m_localWake.fetch_add(1, std::memory_order_acq_rel);
    FutexWakeAll(m_localWake, false);
    // The sliced fallback sleeps on the event word; a private event can be
    // woken there too without disturbing anyone else.
    if (!IsShared()) {
      FutexWakeAll(EventWord(), false);
    }
  }

  bool IsShared() const override { return m_block != nullptr; }
  std::string FallbackReason() const override { return m_fallbackReason; }

 private:
  std::atomic<StartEventWord>& EventWord() const {
    return m_block != nullptr ? m_block->word : m_privateWord;
  }

  // Sleeps until the event word leaves `seen`, the local wake count leaves
  // `localSeen`, the deadline passes or a signal arrives; the caller looks
  // again in every case.
  void SleepWhile(StartEventWord seen, std::uint32_t localSeen,
                  const std::optional<timespec>& deadline) {
    if (!g_forceSlicedWaits.load(std::memory_order_relaxed) && !m_noWaitv) {
      futex_waitv waiters[2]{};
      waiters[0].val = seen;
      waiters[0].uaddr = reinterpret_cast<std::uintptr_t>(FutexAddress(EventWord()));
      waiters[0].flags = FUTEX_32 | (IsShared() ? 0 : FUTEX_PRIVATE_FLAG);
      waiters[1].val = localSeen;
      waiters[1].uaddr = reinterpret_cast<std::uintptr_t>(FutexAddress(m_localWake));
      waiters[1].flags = FUTEX_32 | FUTEX_PRIVATE_FLAG;
      const timespec* until = deadline ? &*deadline : nullptr;
      if (syscall(SYS_futex_waitv, waiters, 2, 0, until, CLOCK_MONOTONIC) >= 0 || errno != ENOSYS) {
        return;
      }
      m_noWaitv = true;  // an older kernel: slice from now on
    }
    auto slice = std::chrono::nanoseconds(std::chrono::milliseconds(kWaitSliceMs));
    if (deadline) {
      slice = std::min(slice, Until(*deadline));
    }
    if (slice.count() <= 0) {
      return;
    }
    const auto secs = std::chrono::duration_cast<std::chrono::seconds>(slice);
    const timespec relative{static_cast<time_t>(secs.count()),
                            static_cast<long>((slice - secs).count())};
    syscall(SYS_futex, FutexAddress(EventWord()), IsShared() ? FUTEX_WAIT : FUTEX_WAIT_PRIVATE,
            seen, &relative, nullptr, 0);
  }

  SharedBlock* m_block;
  int m_attachment;
  mutable std::atomic<StartEventWord> m_privateWord{0};
  std::atomic<std::uint32_t> m_localWake{0};
  std::atomic<bool> m_noWaitv{false};
  std::string m_fallbackReason;
};

std::string ErrnoText(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

// Checks that the open object is this user's own start event and maps it;
// null with `reason` set otherwise. Nothing about a refused object is changed.
SharedBlock* MapOwnedBlock(int fd, std::string& reason) {
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    reason = ErrnoText("cannot examine the shared object");
    return nullptr;
  }
  if (!S_ISREG(st.st_mode)) {
    reason = "the shared object is not a plain memory object";
    return nullptr;
  }
  if (st.st_uid != geteuid()) {
    reason = "the shared object belongs to another user";
    return nullptr;
  }
  if ((st.st_mode & 077) != 0) {
    reason = "the shared object is open to group or others";
    return nullptr;
  }
  if (st.st_size == 0) {
    // Freshly created, by us or by a peer that has not sized it yet: both
    // size it alike, and zero is a valid, unclaimed, non-signalled block.
    if (ftruncate(fd, sizeof(SharedBlock)) != 0) {
      reason = ErrnoText("cannot size the shared object");
      return nullptr;
    }
  } else if (st.st_size != static_cast<off_t>(sizeof(SharedBlock))) {
    reason = "the shared object has the wrong size";
    return nullptr;
  }
  void* mapped = mmap(nullptr, sizeof(SharedBlock), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (mapped == MAP_FAILED) {
    reason = ErrnoText("cannot map the shared object");
    return nullptr;
  }
  auto* block = static_cast<SharedBlock*>(mapped);
  std::uint64_t stamp = 0;
  if (!block->stamp.compare_exchange_strong(stamp, kStamp, std::memory_order_acq_rel) &&
      stamp != kStamp) {
    reason = (stamp >> 32) != kMagic ? "the shared object is not a start event"
                                     : "the shared object is a start event of another version";
    munmap(mapped, sizeof(SharedBlock));
    return nullptr;
  }
  return block;
}

int FlockRetrying(int fd, int operation) {
  int result = 0;
  do {
    result = flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result;
}

// Joins the instances attached to the event. Each holds a shared lock on the
// object for as long as it has the event open, and the kernel drops the lock
// when the process ends, however it ends. An opener that can take the lock
// exclusively is alone: the state it finds was left by instances that are
// gone (one closed or killed while running leaves it signalled), so the
// event starts afresh, not signalled, as a named event that vanished with
// its last handle would. With others attached it is taken as it stands.
void Attach(int fd, SharedBlock& block) {
  if (FlockRetrying(fd, LOCK_EX | LOCK_NB) == 0) {
    ResetWord(block.word);
  }
  // Turning the exclusive lock into a shared one is not atomic: another
  // opener may find itself alone in between and reset the event again, which
  // is harmless, as nobody can have signalled it yet. An opener holds the
  // exclusive lock only for that moment; whatever holds it longer is no
  // instance, and must not keep this one from starting: after a second it
  // goes on unattached.
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (FlockRetrying(fd, LOCK_SH | LOCK_NB) == 0 || errno != EWOULDBLOCK) {
      return;
    }
    usleep(10000);
  }
}

struct SharedOpening {
  SharedBlock* block = nullptr;
  int attachment = -1;
};

SharedOpening OpenSharedBlock(const std::string& objectName, std::string& reason) {
  int fd = shm_open(objectName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) {
    fchmod(fd, 0600);  // a umask may have taken the owner's own bits away
  } else if (errno == EEXIST) {
    fd = shm_open(objectName.c_str(), O_RDWR | O_CLOEXEC, 0);
  }
  if (fd < 0) {
    reason = ErrnoText("cannot open the shared object");
    return {};
  }
  SharedBlock* block = MapOwnedBlock(fd, reason);
  if (block == nullptr) {
    close(fd);
    return {};
  }
  Attach(fd, *block);
  return {block, fd};
}

void ReportFallbackOnce(const std::string& eventName, const std::string& reason) {
  static std::atomic<bool> reported{false};
  if (!reported.exchange(true)) {
    std::fprintf(stderr, "%s: %s; this instance uses a private start event of its own.\n",
                 eventName.c_str(), reason.c_str());
  }
}

}  // namespace

std::string StartEventObjectName(const std::string& eventName, unsigned uid) {
  return "/" + eventName + "." + std::to_string(uid);
}

std::unique_ptr<StartEvent> OpenStartEvent(const std::string& eventName) {
  std::string reason;
  const SharedOpening opening = OpenSharedBlock(StartEventObjectName(eventName, geteuid()), reason);
  if (opening.block != nullptr) {
    return std::make_unique<FutexStartEvent>(opening.block, opening.attachment, std::string());
  }
  ReportFallbackOnce(eventName, reason);
  return MakePrivateStartEvent(reason);
}

bool RemoveStartEvent(const std::string& eventName) {
  return shm_unlink(StartEventObjectName(eventName, geteuid()).c_str()) == 0;
}

std::unique_ptr<StartEvent> MakePrivateStartEvent(const std::string& reason) {
  return std::make_unique<FutexStartEvent>(nullptr, -1, reason);
}

void ForceSlicedStartEventWaits(bool forced) {
  g_forceSlicedWaits.store(forced);
}
