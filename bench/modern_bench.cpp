// What the modern rules cost: 20 MB of generated 24-bit art split and
// interpreted, and the peak memory of loading it against the file's size;
// 200 MB of UTF-8 text validated and decoded, beside a memcpy of the same
// bytes in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/ansi_build.h"
#include "bench/peak_memory.h"
#include "document/ansi_interpreter.h"
#include "document/line_splitter.h"
#include "document/text_document.h"
#include "document/utf8_text.h"

namespace mosaikon {
namespace {

// Half-block pixel art in 24-bit colour: every cell sets both colours, which
// change from cell to cell like the gradients of a picture; rows of 80 cells
// end with CR LF.
const std::string& TrueColourArt() {
  static const std::string art = [] {
    constexpr std::size_t kSize = 20u << 20;
    std::string text;
    text.reserve(kSize + 4096);
    for (unsigned y = 0; text.size() < kSize; ++y) {
      for (unsigned x = 0; x < 80; ++x) {
        const auto level = [](unsigned v) { return std::to_string(v & 0xFF); };
        text += "\x1b[38;2;" + level(x * 3 + y) + ';' + level(y * 5) + ';' + level(x * y) + ";48;2;" +
                level(x * 3 + y + 1) + ';' + level(y * 5 + 2) + ';' + level(x + y) + "m\xDF";
      }
      text += "\r\n";
    }
    return text;
  }();
  return art;
}

void SetThroughput(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void BM_TrueColourDocument(benchmark::State& state) {
  MeasureAnsiBuild(state, TrueColourArt(), true);
}
BENCHMARK(BM_TrueColourDocument)->Unit(benchmark::kMillisecond);

// The whole load from disk by the modern rules, with its peak memory per
// byte of the file as a counter.
void BM_TrueColourLoadPeak(benchmark::State& state) {
  LoadOptions options;
  options.modern = true;
  MeasureLoadFile(state, TrueColourArt(), "mosaikon_truecolour_bench.ans", options);
}
BENCHMARK(BM_TrueColourLoadPeak)->Unit(benchmark::kMillisecond)->Iterations(3);

// UTF-8 text of the kind converted console screens are made of: box lines
// in three-byte characters, framed rows of ASCII with shades and blocks.
const std::string& Utf8Text() {
  static const std::string text = [] {
    constexpr std::size_t kSize = 200u << 20;
    std::string out;
    out.reserve(kSize + 1024);
    for (unsigned line = 0; out.size() < kSize; ++line) {
      if (line % 8 == 0) {
        out += "\u250C";
        for (int i = 0; i < 78; ++i) out += "\u2500";
        out += "\u2510\r\n";
        continue;
      }
      out += "\u2502 line " + std::to_string(line) + " of words and \u2591\u2592\u2593 shades, caf\u00E9 ";
      while (out.size() % 97 != 0) out += 'x';
      out += "\u2588\u2502\r\n";
    }
    return out;
  }();
  return text;
}

void BM_Utf8Validate(benchmark::State& state) {
  const std::string& text = Utf8Text();
  for (auto _ : state) benchmark::DoNotOptimize(IsUtf8Text(text));
  SetThroughput(state, text.size());
}
BENCHMARK(BM_Utf8Validate)->Unit(benchmark::kMillisecond);

void BM_Utf8Decode(benchmark::State& state) {
  const std::string& text = Utf8Text();
  std::string out(text.size(), '\0');
  for (auto _ : state) {
    benchmark::DoNotOptimize(DecodeUtf8(text.data(), text.size(), out.data(), {}));
    benchmark::ClobberMemory();
  }
  SetThroughput(state, text.size());
}
BENCHMARK(BM_Utf8Decode)->Unit(benchmark::kMillisecond);

// The floor for both: copying the same bytes.
void BM_Utf8Memcpy(benchmark::State& state) {
  const std::string& text = Utf8Text();
  std::string out(text.size(), '\0');
  for (auto _ : state) {
    std::memcpy(out.data(), text.data(), text.size());
    benchmark::ClobberMemory();
  }
  SetThroughput(state, text.size());
}
BENCHMARK(BM_Utf8Memcpy)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mosaikon
