// Throughput of building a plain document from 200 MB of 80-column text with
// tabs and links: the whole Build, each of its three passes alone, a memchr scan of
// the same buffer as the floor, and a whole LoadFile from disk with its peak
// memory as a counter (peak resident growth divided by the file size).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <time.h>

#include "bench/peak_memory.h"
#include "bench/plain_text.h"
#include "document/line_splitter.h"
#include "document/link_detector.h"
#include "document/text_document.h"

namespace mosaikon {
namespace {

constexpr std::size_t kPlainSize = 200u << 20;

const std::string& PlainText() {
  static const std::string text = MakePlainText(kPlainSize);
  return text;
}

void SetThroughput(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * PlainText().size()));
}

void BM_MemchrScan(benchmark::State& state) {
  const std::string& text = PlainText();
  for (auto _ : state) benchmark::DoNotOptimize(std::memchr(text.data(), '\x01', text.size()));
  SetThroughput(state);
}
BENCHMARK(BM_MemchrScan)->Unit(benchmark::kMillisecond);

// The 200 MB copy that each Build consumes is made outside the measurement:
// only the Build call's own CPU time counts (steadier than pausing the timer
// on a loaded machine).
double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void BM_BuildPlain(benchmark::State& state) {
  for (auto _ : state) {
    std::string bytes = PlainText();
    auto document = std::make_unique<TextDocument>();
    const double begin = ThreadCpuSeconds();
    document->Build(std::move(bytes), {});
    state.SetIterationTime(ThreadCpuSeconds() - begin);
    benchmark::DoNotOptimize(document->width);
  }
  SetThroughput(state);
}
BENCHMARK(BM_BuildPlain)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_PassCleanText(benchmark::State& state) {
  // Blanks NUL and 0xFF, finds ESC "[" and counts CR and LF, in one pass.
  std::string text = PlainText();
  for (auto _ : state) {
    benchmark::DoNotOptimize(CleanText(text.data(), text.size()));
    benchmark::ClobberMemory();
  }
  SetThroughput(state);
}
BENCHMARK(BM_PassCleanText)->Unit(benchmark::kMillisecond);

// Split with widths, given the break counts as the cleaning pass finds them.
void BM_PassSplitLines(benchmark::State& state) {
  const std::string& text = PlainText();
  const BreakCounts counts = CountBreaks(text.data(), text.size());
  for (auto _ : state) {
    std::vector<TextLine> lines;
    std::int32_t width = 0;
    SplitLines(text.data(), static_cast<std::int32_t>(text.size()), 8, lines, width, counts);
    benchmark::DoNotOptimize(width);
    state.PauseTiming();
    std::vector<TextLine>().swap(lines);
    state.ResumeTiming();
  }
  SetThroughput(state);
}
BENCHMARK(BM_PassSplitLines)->Unit(benchmark::kMillisecond);

void BM_PassDetectLinks(benchmark::State& state) {
  TextDocument document;
  document.Build(PlainText(), {});
  for (auto _ : state) {
    state.PauseTiming();
    for (TextLine& line : document.lines) line.linkMask.Clear();
    state.ResumeTiming();
    DetectLinks(document);
  }
  SetThroughput(state);
}
BENCHMARK(BM_PassDetectLinks)->Unit(benchmark::kMillisecond);

void BM_LoadFilePlain(benchmark::State& state) {
  MeasureLoadFile(state, PlainText(), "mosaikon_load_bench.txt", {});
}
// Several iterations: the first load of a run also pays for the system
// setting up large pages, which later loads find ready.
BENCHMARK(BM_LoadFilePlain)->Unit(benchmark::kMillisecond)->Iterations(4);

}  // namespace
}  // namespace mosaikon
