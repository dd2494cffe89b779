// What the bench programs print about the machine they ran on, and their min/median/max summary.
#pragma once

#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace brbench {

// The processor model, its count and the kernel, on one line.
inline std::string Machine() {
  std::string model = "unknown processor";
  std::ifstream cpu("/proc/cpuinfo");
  for (std::string line; std::getline(cpu, line);)
    if (line.rfind("model name", 0) == 0) {
      model = line.substr(line.find(':') + 2);
      break;
    }
  utsname name{};
  uname(&name);
  return model + ", " + std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + " processors, " + name.sysname + " " +
         name.release;
}

// Prints "label: min a, median b, max c unit (n runs)".
inline void Report(const char* label, std::vector<double> values, const char* unit) {
  if (values.empty()) {
    std::printf("%-44s no runs\n", label);
    return;
  }
  std::sort(values.begin(), values.end());
  std::printf("%-44s min %8.3f  median %8.3f  max %8.3f %s (%zu runs)\n", label, values.front(),
              values[values.size() / 2], values.back(), unit, values.size());
}

}  // namespace brbench
