// A second instance for the tests: a child program with pipes on its standard
// input, output and error, read line by line with time-outs.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class PeerProcess {
 public:
  PeerProcess() = default;
  ~PeerProcess();  // kills a child still running
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  // args[0] is the program's path.
  bool Start(const std::vector<std::string>& args);
  bool WriteLine(const std::string& line);
  // The next output line satisfying `wanted`, skipping the others; nothing
  // after timeoutMs or at the end of the output.
  std::optional<std::string> ReadLineMatching(const std::function<bool(const std::string&)>& wanted,
                                              int timeoutMs);
  std::optional<std::string> ReadLine(int timeoutMs);
  // Every output line that arrives within timeoutMs.
  std::vector<std::string> ReadLinesFor(int timeoutMs);
  void Kill(int signal);
  // The exit status, -1 while it still runs after timeoutMs, 128 + signal when
  // a signal ended it.
  int Wait(int timeoutMs);
  // All it wrote to standard error until it closed it (or timeoutMs).
  std::string ReadStderr(int timeoutMs);
  pid_t Pid() const { return m_pid; }

 private:
  pid_t m_pid = -1;
  int m_in = -1;
  int m_out = -1;
  int m_err = -1;
  std::string m_outBuffer;
  std::optional<int> m_status;
};

// A start event name no running application uses, unique in the test run.
std::string UniqueTestEventName();
// Removes the test event's shared-memory object.
void RemoveTestEvent(const std::string& eventName);
