// Finding an 8-byte string that is not there in 200 MB of plain text, with
// and without case, against glibc's memmem over the same buffer measured in
// the same run (counters: GB/s of the search, of memmem, and their ratio).
// A third case searches 64 MB of double-byte pairs for a needle whose bytes
// fit at every other place but always split a pair.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "document/line_splitter.h"
#include "view/text_search.h"

namespace mosaikon {
namespace {

constexpr std::size_t kTextSize = 200u << 20;
constexpr const char* kNeedle = "mosaikon";

// Lines of about 80 columns of lower-case words, CR LF breaks, a tab now and
// then; the needle's first and last letters are as common as any.
TextDocument& WordDocument() {
  static TextDocument document = [] {
    TextDocument made;
    std::mt19937 random(11);
    std::string& out = made.text;
    out.reserve(kTextSize + 256);
    while (out.size() < kTextSize) {
      const std::size_t lineStart = out.size();
      if (random() % 4 == 0) out += '\t';
      while (out.size() - lineStart < 76) {
        const std::uint32_t letters = 2 + random() % 8;
        for (std::uint32_t i = 0; i < letters; ++i) out += static_cast<char>('a' + random() % 26);
        out += ' ';
      }
      out += "\r\n";
    }
    SplitLines(out.data(), static_cast<std::int32_t>(out.size()), 8, made.lines, made.width);
    return made;
  }();
  return document;
}

double Seconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

// The best of three memmem passes over the document's bytes, in GB/s.
double MemmemRate(const TextDocument& document, const std::string& needle) {
  double best = 0;
  for (int i = 0; i < 3; ++i) {
    const auto begin = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(memmem(document.text.data(), document.text.size(), needle.data(), needle.size()));
    const double seconds = Seconds(std::chrono::steady_clock::now() - begin);
    best = std::max(best, static_cast<double>(document.text.size()) / seconds / 1e9);
  }
  return best;
}

// `compare`: measure memmem too. Not for text where memmem stops at once at
// bytes the search must pass over.
void RunAbsent(benchmark::State& state, const TextDocument& document, const SearchQuery& query,
               const ColumnRules& rules, bool compare = true) {
  const double baseline = compare ? MemmemRate(document, query.needle) : 0;
  double seconds = 0;
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    const SearchResult result = SearchDocument(document, query, {}, rules);
    seconds += Seconds(std::chrono::steady_clock::now() - begin);
    if (result.found) state.SkipWithError("found a needle that is not there");
  }
  const double bytes = static_cast<double>(document.text.size()) * static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.counters["GB/s"] = bytes / seconds / 1e9;
  if (compare) {
    state.counters["memmem_GB/s"] = baseline;
    state.counters["x_memmem"] = bytes / seconds / 1e9 / baseline;
  }
}

void BM_FindAbsentIgnoringCase(benchmark::State& state) {
  RunAbsent(state, WordDocument(), {kNeedle, false, false, true}, {});
}
BENCHMARK(BM_FindAbsentIgnoringCase)->Unit(benchmark::kMillisecond);

void BM_FindAbsentMatchingCase(benchmark::State& state) {
  RunAbsent(state, WordDocument(), {kNeedle, true, false, true}, {});
}
BENCHMARK(BM_FindAbsentMatchingCase)->Unit(benchmark::kMillisecond);

void BM_FindAbsentUpward(benchmark::State& state) {
  RunAbsent(state, WordDocument(), {kNeedle, false, false, false}, {});
}
BENCHMARK(BM_FindAbsentUpward)->Unit(benchmark::kMillisecond);

// 80-column lines of GB2312 characters; the needle is a character's second
// byte and the next one's first.
void BM_FindSplitPairs(benchmark::State& state) {
  static const TextDocument document = [] {
    TextDocument made;
    while (made.text.size() < (64u << 20)) {
      for (int i = 0; i < 40; ++i) made.text += "\xD6\xD0";
      made.text += "\r\n";
    }
    SplitLines(made.text.data(), static_cast<std::int32_t>(made.text.size()), 8, made.lines, made.width);
    return made;
  }();
  RunAbsent(state, document, {"\xD0\xD6", true, false, true}, {8, 1}, false);
}
BENCHMARK(BM_FindSplitPairs)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mosaikon
