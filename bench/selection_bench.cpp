// Building the selected text of a 20 MB plain document the way a copy does,
// Select All in stream and in column mode: measured, then written into one
// block of exactly that size. A memcpy of as many bytes, timed in the same
// run, is the floor: "vs_memcpy" says how many times longer the build takes.
// Throughput counts the document's bytes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>

#include "bench/plain_text.h"
#include "document/text_document.h"
#include "view/selection.h"

namespace mosaikon {
namespace {

constexpr std::size_t kDocumentSize = 20u << 20;

const TextDocument& Document() {
  static const TextDocument document = [] {
    TextDocument built;
    built.Build(MakePlainText(kDocumentSize), {});
    return built;
  }();
  return document;
}

void BM_SelectedText(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const TextDocument& document = Document();
  const SelectionShape shape = state.range(0) ? SelectionShape::kColumns : SelectionShape::kStream;
  const Selection all{{0, 0}, {document.width, document.LineCount() - 1}};
  Selection selection = all;
  const std::size_t size = static_cast<std::size_t>(SelectedText(document, selection, shape, {}).Size());
  const auto block = std::make_unique<char[]>(size);
  const auto source = std::make_unique<char[]>(size);
  std::memset(source.get(), 'x', size);
  std::memset(block.get(), 0, size);
  double built = 0;
  double copied = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    selection = all;
    const SelectedText text(document, selection, shape, {});
    text.CopyTo(block.get());
    const auto middle = Clock::now();
    std::memcpy(block.get(), source.get(), size);
    benchmark::ClobberMemory();
    const auto end = Clock::now();
    built += std::chrono::duration<double>(middle - start).count();
    copied += std::chrono::duration<double>(end - middle).count();
    state.SetIterationTime(std::chrono::duration<double>(middle - start).count());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.text.size()));
  state.counters["text_bytes"] = static_cast<double>(size);
  state.counters["vs_memcpy"] = copied > 0 ? built / copied : 0;
}
BENCHMARK(BM_SelectedText)->ArgName("columns")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
}  // namespace mosaikon
