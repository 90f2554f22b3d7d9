#include "app_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

AppProcess::AppProcess(const std::string& program, const std::vector<std::string>& extra) {
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const auto& added : extra) {
      replaced = replaced || added.substr(0, added.find('=')) == name;
    }
    if (!replaced) {
      environment.push_back(entry);
    }
  }
  environment.insert(environment.end(), extra.begin(), extra.end());
  std::vector<char*> envp;
  for (auto& entry : environment) {
    envp.push_back(entry.data());
  }
  envp.push_back(nullptr);

  char path[] = "/tmp/veridrift-stderr-XXXXXX";
  const int fd = mkstemp(path);
  stderrPath_ = path;
  std::string programCopy = program;
  char* argv[] = {programCopy.data(), nullptr};
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ == 0) {
    // The application must never outlive a test program that dies early, and
    // must not hold the test runner's output open: a runner waits for every
    // writer of its pipe to go.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) {
      _exit(127);
    }
    if (fd >= 0) {
      dup2(fd, STDOUT_FILENO);
      dup2(fd, STDERR_FILENO);
    }
    execve(program.c_str(), argv, envp.data());
    _exit(127);
  }
  if (pid_ < 0) {
    status_ = 127;
  }
  if (fd >= 0) {
    close(fd);
  }
}

AppProcess::~AppProcess() {
  if (!status_ && pid_ > 0) {
    Kill(SIGKILL);
    WaitForExit(std::chrono::seconds(5));
  }
  unlink(stderrPath_.c_str());
}

std::optional<int> AppProcess::WaitForExit(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!status_) {
    int raw = 0;
    const pid_t done = waitpid(pid_, &raw, WNOHANG);
    if (done == pid_) {
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return status_;
}

void AppProcess::Kill(int signal) {
  if (!status_ && pid_ > 0) {
    kill(pid_, signal);
  }
}

std::string AppProcess::Stderr() const {
  std::ifstream in(stderrPath_);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
