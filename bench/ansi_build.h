// Building an ANSI document from art held in memory, line splitting and
// interpretation by the classic or the modern rules, timed per iteration.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "document/ansi_interpreter.h"
#include "document/line_splitter.h"
#include "document/text_document.h"

namespace mosaikon {

inline void MeasureAnsiBuild(benchmark::State& state, const std::string& art, bool modern) {
  std::vector<TextLine> sourceLines;
  for (auto _ : state) {
    TextDocument document;
    sourceLines.clear();
    std::int32_t width = 0;
    SplitLines(art.data(), static_cast<std::int32_t>(art.size()), 8, sourceLines, width);
    if (modern) {
      InterpretModernAnsi(sourceLines, document, {});
    } else {
      InterpretAnsi(sourceLines, document);
    }
    benchmark::DoNotOptimize(document.text.data());
    state.counters["rows"] = static_cast<double>(document.LineCount());
    if (modern) state.counters["colour_pairs"] = static_cast<double>(document.colours.PairCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(art.size()));
}

}  // namespace mosaikon
