// Cost of building the paint runs for one screen of 100 x 50 cells, scrolled
// to the middle of a 100-line and of a 1,000,000-line document, drawn on a
// surface that does nothing. Only the visible rows may be visited, so the two
// must cost about the same.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "document/line_splitter.h"
#include "document/link_detector.h"
#include "document/text_document.h"
#include "view/paint_cells.h"

namespace mosaikon {
namespace {

class NullSurface : public DrawingSurface {
 public:
  void SelectFont(CellFont) override {}
  void SetColours(Colour text, Colour background) override { benchmark::DoNotOptimize(text ^ background); }
  void DrawRun(int x, int, std::string_view bytes) override { benchmark::DoNotOptimize(x + bytes.size()); }
  void FillRect(const PixelRect& rect, Fill) override { benchmark::DoNotOptimize(rect.right); }
};

// Lines of 100 to 140 columns with a tab and a link now and then, so runs
// change colour within a row.
TextDocument MakeDocument(std::int32_t lineCount) {
  TextDocument document;
  std::string& text = document.text;
  for (std::int32_t i = 0; i < lineCount; ++i) {
    text += "line ";
    text += std::to_string(i);
    text += "\tsome words of text http://example.org/";
    text += std::to_string(i % 97);
    text += " and more words to make the line wider than the screen is, ";
    text.append(static_cast<std::size_t>(i % 40), '=');
    text += "\r\n";
  }
  SplitLines(text.data(), static_cast<std::int32_t>(text.size()), 8, document.lines, document.width);
  DetectLinks(document);
  return document;
}

void PaintMiddleScreen(benchmark::State& state) {
  const auto lineCount = static_cast<std::int32_t>(state.range(0));
  const TextDocument document = MakeDocument(lineCount);
  const AnsiPalette& palette = DefaultAnsiPalette();
  PaintInput input;
  input.document = &document;
  input.cell = {8, 12};
  input.client = {800, 600};  // 100 x 50 cells
  input.offset = {0, (lineCount / 2) * 12};
  input.foreColor = 0;
  input.backColor = 0xFFFFFF;
  input.hyperLinkColor = 0xFF0000;
  input.palette = &palette;
  input.selection =
      NormalisedSelection(Selection{{3, lineCount / 2 + 5}, {40, lineCount / 2 + 20}}, SelectionShape::kColumns);
  NullSurface surface;
  for (auto _ : state) PaintCells(input, surface);
}
BENCHMARK(PaintMiddleScreen)->Arg(100)->Arg(1'000'000);

}  // namespace
}  // namespace mosaikon
