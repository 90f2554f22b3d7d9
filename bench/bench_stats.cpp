#include "bench_stats.h"

#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <numeric>
#include <sstream>
#include <string>

#include "core/numbers/number_text.h"

double Percentile(std::vector<double> samples, double p) {
  if (samples.empty()) {
    return 0.0;
  }
  std::sort(samples.begin(), samples.end());
  const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * samples.size()));
  return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

double Median(const std::vector<double>& samples) {
  return Percentile(samples, 50.0);
}

double Mean(const std::vector<double>& samples) {
  if (samples.empty()) {
    return 0.0;
  }
  return std::accumulate(samples.begin(), samples.end(), 0.0) / samples.size();
}

double Largest(const std::vector<double>& samples) {
  return samples.empty() ? 0.0 : *std::max_element(samples.begin(), samples.end());
}

double LargestDeviation(const std::vector<double>& samples, double reference) {
  double largest = 0.0;
  for (const double sample : samples) {
    largest = std::max(largest, std::fabs(sample - reference));
  }
  return largest;
}

double ProcessCpuMs(pid_t pid) {
  // /proc/PID/stat counts in clock ticks (10 ms): far too coarse for an idle
  // process. Each thread's schedstat holds its time on a processor in ns.
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* dir = opendir(tasks.c_str());
  if (dir == nullptr) {
    return -1.0;
  }
  double totalNs = 0.0;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') {
      continue;
    }
    std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
    std::string fields;
    if (std::getline(schedstat, fields)) {
      totalNs += ParseDouble(fields);  // the first field: time on a processor
    }
  }
  closedir(dir);
  return totalNs / 1e6;
}

double PeakRssMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      return ParseDouble(line.substr(6)) / 1024.0;  // "  12345 kB"
    }
  }
  return -1.0;
}

ResidentShares ResidentSharesOf(pid_t pid) {
  ResidentShares shares;
  std::ifstream smaps("/proc/" + std::to_string(pid) + "/smaps");
  std::string line;
  std::string mapped;
  while (std::getline(smaps, line)) {
    const bool header = !line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) &&
                        line.find('-') < line.find(' ');
    if (header) {
      // "start-end perms offset dev inode   path": the path is the sixth field.
      std::istringstream fields(line);
      std::string skip;
      for (int i = 0; i < 5; ++i) {
        fields >> skip;
      }
      mapped.clear();
      std::getline(fields >> std::ws, mapped);
      continue;
    }
    if (line.rfind("Rss:", 0) != 0) {
      continue;
    }
    const double mib = ParseDouble(line.substr(4)) / 1024.0;
    shares.total += mib;
    const bool library = mapped.find(".so") != std::string::npos;
    if (mapped.find("libLLVM") != std::string::npos ||
        mapped.find("_dri.so") != std::string::npos ||
        mapped.find("libgallium") != std::string::npos) {
      shares.softwareRenderer += mib;
    } else if (mapped.find("libQt6") != std::string::npos) {
      shares.qt += mib;
    } else if (library) {
      shares.otherLibraries += mib;
    } else {
      shares.ownData += mib;
    }
  }
  return shares;
}
