// Cost of building the paint runs for one screen of 100 x 50 cells, scrolled
// to the middle of a 100-line and of a 1,000,000-line document, drawn on a
// surface that does nothing. Only the visible rows may be visited, so the two
// must cost about the same. Then a screen of ANSI art whose colours change at
// every cell, in 16 colours and in 24-bit colours: the second may cost at
// most 1.5 times the first.
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

// 60 rows of 80 cells, each cell with colours of its own: palette colours
// from attribute bytes, or 24-bit colours from the document's table.
TextDocument MakeArt(bool trueColour) {
  std::string art;
  for (unsigned y = 0; y < 60; ++y) {
    for (unsigned x = 0; x < 80; ++x) {
      if (trueColour) {
        art += "\x1b[38;2;" + std::to_string(x * 3) + ";" + std::to_string(y * 4) + ";99;48;2;" +
               std::to_string(255 - x) + ";" + std::to_string(y) + ";7m";
      } else {
        art += "\x1b[" + std::to_string(30 + (x + y) % 8) + ";" + std::to_string(40 + x % 8) + "m";
      }
      art += static_cast<char>(0xB0 + x % 3);
    }
    art += "\r\n";
  }
  TextDocument document;
  LoadOptions options;
  options.modern = true;
  document.Build(art, options);
  return document;
}

void PaintArtScreen(benchmark::State& state, bool trueColour) {
  const TextDocument document = MakeArt(trueColour);
  PaintInput input;
  input.document = &document;
  input.cell = {8, 12};
  input.client = {640, 600};  // 80 x 50 cells
  input.palette = &DefaultAnsiPalette();
  NullSurface surface;
  for (auto _ : state) PaintCells(input, surface);
}

void PaintArtScreen16(benchmark::State& state) {
  PaintArtScreen(state, false);
}
BENCHMARK(PaintArtScreen16);

void PaintArtScreen24Bit(benchmark::State& state) {
  PaintArtScreen(state, true);
}
BENCHMARK(PaintArtScreen24Bit);

}  // namespace
}  // namespace mosaikon
