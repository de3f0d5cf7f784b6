// Whole loads from disk with their peak memory: the peak resident memory of
// one load, from /proc/self (Linux 4.0 and later), per byte of the file.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "document/text_document.h"

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

// Writes `text` to a temporary file named `name` and loads it with `options`
// once per iteration, timing the loads alone. The counter
// peak_mem_per_file_byte is the largest peak resident growth of a load per
// byte of the file.
inline void MeasureLoadFile(benchmark::State& state, const std::string& text, const char* name,
                            const LoadOptions& options) {
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(text.size()));
  double peakRatio = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const long before = StatusKb(ResetPeakResident() ? "VmRSS:" : "VmHWM:");
    auto document = std::make_unique<TextDocument>();
    state.ResumeTiming();
    ErrorCode error = 0;
    if (!document->LoadFile(path, options, error)) state.SkipWithError("LoadFile failed");
    state.PauseTiming();
    peakRatio = std::max(peakRatio,
                         static_cast<double>(StatusKb("VmHWM:") - before) * 1024.0 / static_cast<double>(text.size()));
    document.reset();
    state.ResumeTiming();
  }
  std::filesystem::remove(path);
  state.counters["peak_mem_per_file_byte"] = peakRatio;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

}  // namespace mosaikon
