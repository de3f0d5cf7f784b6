// Throughput of building an ANSI document (line splitting plus interpretation)
// from 20 MB of colour-heavy 16-colour art, by the classic and by the modern
// rules, beside a plain memchr scan of the same buffer as the floor to
// compare against.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/ansi_build.h"
#include "document/ansi_interpreter.h"
#include "document/line_splitter.h"
#include "document/text_document.h"

namespace mosaikon {
namespace {

// Art-like input: rows of 72 to 80 cells of CP437 block and shade bytes,
// broken by CR LF, with a colour or cursor sequence every dozen bytes or so.
const std::string& ColourHeavyArt() {
  static const std::string art = [] {
    constexpr std::size_t kSize = 20u << 20;
    std::mt19937 random(20240611);
    const auto below = [&random](std::uint32_t n) { return static_cast<std::uint32_t>(random() % n); };
    std::string text;
    text.reserve(kSize + 256);
    while (text.size() < kSize) {
      const std::uint32_t cells = 72 + below(9);
      std::uint32_t column = 0;
      while (column < cells) {
        switch (below(5)) {
          case 0:
            text += "\x1b[0;" + std::to_string(30 + below(8)) + ';' + std::to_string(40 + below(8)) + 'm';
            break;
          case 1:
            text += "\x1b[1;" + std::to_string(30 + below(8)) + 'm';
            break;
          case 2:
            text += "\x1b[" + std::to_string(30 + below(8)) + 'm';
            break;
          case 3:
            text += "\x1b[" + std::to_string(40 + below(8)) + 'm';
            break;
          default: {
            const std::uint32_t skip = std::min(1 + below(3), cells - column);
            text += "\x1b[" + std::to_string(skip) + 'C';
            column += skip;
            continue;
          }
        }
        const std::uint32_t run = std::min(1 + below(12), cells - column);
        for (std::uint32_t i = 0; i < run; ++i) text += static_cast<char>(0xB0 + below(0x30));
        column += run;
      }
      text += "\r\n";
    }
    return text;
  }();
  return art;
}

void BM_AnsiDocument(benchmark::State& state) {
  MeasureAnsiBuild(state, ColourHeavyArt(), false);
}
BENCHMARK(BM_AnsiDocument)->Unit(benchmark::kMillisecond);

// The same art by the modern rules: it must cost no more than the classic.
void BM_AnsiDocumentModern(benchmark::State& state) {
  MeasureAnsiBuild(state, ColourHeavyArt(), true);
}
BENCHMARK(BM_AnsiDocumentModern)->Unit(benchmark::kMillisecond);

// The floor: finding every ESC with memchr, the least any parser must do.
void BM_MemchrEscapes(benchmark::State& state) {
  const std::string& art = ColourHeavyArt();
  for (auto _ : state) {
    std::size_t count = 0;
    const char* end = art.data() + art.size();
    for (const char* p = art.data(); (p = static_cast<const char*>(std::memchr(p, 0x1B, end - p))) != nullptr; ++p) {
      ++count;
    }
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(art.size()));
}
BENCHMARK(BM_MemchrEscapes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mosaikon
