// The peak resident memory of one operation, from /proc/self (Linux 4.0 and
// later): reset the peak to the current size, run, read the peak.
#pragma once

#include <cstring>
#include <fstream>
#include <string>

namespace mosaikon {

// Resident-set figures in kB from /proc/self/status.
inline long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::size_t fieldLength = std::strlen(field);
  while (std::getline(status, line)) {
    if (line.compare(0, fieldLength, field) == 0) return std::stol(line.substr(fieldLength));
  }
  return -1;
}

// Resets the peak resident size to the current one, so the peak after a load
// is the load's own.
inline bool ResetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

// The resident size to measure a peak from: the current size when the peak
// could be reset, else the peak so far.
inline long PeakBaseKb() {
  return StatusKb(ResetPeakResident() ? "VmRSS:" : "VmHWM:");
}

}  // namespace mosaikon
