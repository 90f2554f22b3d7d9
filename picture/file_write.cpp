#include "picture/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string Reason(const std::string& path, const std::string& why) {
  return "cannot write " + path + ": " + why;
}

std::string SystemError() {
  return std::strerror(errno);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool WriteAll(int fd, const std::vector<unsigned char>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// The temporary files made so far, removed unless they were put in place.
class Temporaries {
 public:
  ~Temporaries() {
    for (const std::string& path : m_paths) {
      unlink(path.c_str());
    }
  }
  void Add(std::string path) { m_paths.push_back(std::move(path)); }
  const std::string& operator[](std::size_t i) const { return m_paths[i]; }
  void Keep() { m_paths.clear(); }

 private:
  std::vector<std::string> m_paths;
};

}  // namespace

WriteOutcome WriteFilesInPlace(const std::vector<std::string>& paths, const ContentMaker& make,
                               std::string* error) {
  Temporaries temporaries;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[i];
    const std::string folder = FolderOf(path);
    if (!IsFolder(folder)) {
      *error = Reason(path, "no such folder");
      return WriteOutcome::kNotWritten;
    }
    // Beside the target, so that the rename cannot cross file systems.
    const std::size_t slash = path.rfind('/');
    std::string temporary =
        (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "." +
        path.substr(slash == std::string::npos ? 0 : slash + 1) + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
      *error = Reason(path, SystemError());
      return WriteOutcome::kNotWritten;
    }
    temporaries.Add(temporary);
    FileContent content = make(i);
    if (content.outcome == WriteOutcome::kWritten) {
      // A picture is an ordinary file, not the owner-only one mkstemp makes.
      if (!WriteAll(fd, content.bytes) || fchmod(fd, 0644) != 0) {
        content = {WriteOutcome::kNotWritten, {}, SystemError()};
      }
    }
    if (close(fd) != 0 && content.outcome == WriteOutcome::kWritten) {
      content = {WriteOutcome::kNotWritten, {}, SystemError()};
    }
    switch (content.outcome) {
      case WriteOutcome::kWritten:
        break;
      case WriteOutcome::kCancelled:
        *error = "cancelled";
        return WriteOutcome::kCancelled;
      case WriteOutcome::kNotDrawn:
        *error = "cannot draw " + path + ": " + content.why;
        return WriteOutcome::kNotDrawn;
      case WriteOutcome::kNotWritten:
        *error = Reason(path, content.why);
        return WriteOutcome::kNotWritten;
    }
  }
  for (std::size_t i = 0; i < paths.size(); ++i) {
    // rename(2) replaces an existing file in one step.
    if (std::rename(temporaries[i].c_str(), paths[i].c_str()) != 0) {
      *error = Reason(paths[i], SystemError());
      return WriteOutcome::kNotWritten;
    }
  }
  temporaries.Keep();
  return WriteOutcome::kWritten;
}
