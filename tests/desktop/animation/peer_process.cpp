#include "peer_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

#include "desktop/animation/start_event.h"
#include "own_start_event.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::max<long long>(left.count(), 0));
}

void CloseFd(int& fd) {
  if (fd >= 0) {
    close(fd);
    fd = -1;
  }
}

}  // namespace

PeerProcess::~PeerProcess() {
  if (m_pid > 0 && !m_status) {
    Kill(SIGKILL);
    Wait(5000);
  }
  CloseFd(m_in);
  CloseFd(m_out);
  CloseFd(m_err);
}

bool PeerProcess::Start(const std::vector<std::string>& args) {
  // A peer that dies must fail the test, not kill it when we next write.
  signal(SIGPIPE, SIG_IGN);
  int in[2];
  int out[2];
  int err[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  std::vector<char*> argv;
  for (const std::string& arg : args) {
    argv.push_back(const_cast<char*>(arg.c_str()));
  }
  argv.push_back(nullptr);
  const int spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  m_in = in[1];
  m_out = out[0];
  m_err = err[0];
  if (spawned != 0) {
    m_pid = -1;
    return false;
  }
  return true;
}

bool PeerProcess::WriteLine(const std::string& line) {
  const std::string text = line + "\n";
  return write(m_in, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

std::optional<std::string> PeerProcess::ReadLine(int timeoutMs) {
  return ReadLineMatching([](const std::string&) { return true; }, timeoutMs);
}

std::optional<std::string> PeerProcess::ReadLineMatching(
    const std::function<bool(const std::string&)>& wanted, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    for (std::size_t end = m_outBuffer.find('\n'); end != std::string::npos;
         end = m_outBuffer.find('\n')) {
      std::string line = m_outBuffer.substr(0, end);
      m_outBuffer.erase(0, end + 1);
      if (wanted(line)) {
        return line;
      }
    }
    pollfd readable{m_out, POLLIN, 0};
    if (poll(&readable, 1, RemainingMs(deadline)) <= 0) {
      return std::nullopt;
    }
    char chunk[4096];
    const ssize_t got = read(m_out, chunk, sizeof chunk);
    if (got <= 0) {
      return std::nullopt;
    }
    m_outBuffer.append(chunk, static_cast<std::size_t>(got));
  }
}

std::vector<std::string> PeerProcess::ReadLinesFor(int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::vector<std::string> lines;
  while (auto line = ReadLine(RemainingMs(deadline))) {
    lines.push_back(*line);
  }
  return lines;
}

void PeerProcess::Kill(int signal) {
  if (m_pid > 0 && !m_status) {
    kill(m_pid, signal);
  }
}

int PeerProcess::Wait(int timeoutMs) {
  if (m_status) {
    return *m_status;
  }
  if (m_pid <= 0) {
    return -1;
  }
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(m_pid, &status, WNOHANG);
    if (done == m_pid) {
      m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return *m_status;
    }
    if (done < 0 || Clock::now() >= deadline) {
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

std::string PeerProcess::ReadStderr(int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string text;
  for (;;) {
    pollfd readable{m_err, POLLIN, 0};
    if (poll(&readable, 1, RemainingMs(deadline)) <= 0) {
      return text;
    }
    char chunk[4096];
    const ssize_t got = read(m_err, chunk, sizeof chunk);
    if (got <= 0) {
      return text;
    }
    text.append(chunk, static_cast<std::size_t>(got));
  }
}

std::string UniqueTestEventName() {
  static std::atomic<int> serial{0};
  const std::string name =
      "StartGraphingEvent-test-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
  RemoveStartEventAtExit(name);  // when a test ends before its teardown
  return name;
}

void RemoveTestEvent(const std::string& eventName) {
  RemoveStartEvent(eventName);
}
