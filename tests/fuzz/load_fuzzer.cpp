// Fuzz target: arbitrary file bytes through the whole build of a document,
// then the view's rules on it. The input's last bytes choose the settings
// (any int as the tab size, decode modes, ANSI support, the classic or the
// modern rules and the code page they decode UTF-8 to), a selection of
// either shape and a scroll position; the rest is the file. Any broken rule
// aborts: a document invariant; an art record found where the file's tail
// holds none or the other way round; selected text whose measure is not what
// is written, or not what a walk byte by byte selects; a paint that draws more
// than its client holds or far outside it. Two choices turn the file's tail
// into an art record and put its comment signature where the count points.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/text_document.h"
#include "tests/unit/document/document_invariants.h"
#include "view/paint_cells.h"
#include "view/send_pieces.h"
#include "view/shown_text.h"

namespace mosaikon {
namespace {

constexpr std::size_t kMaxText = 16u << 20;  // selected texts compared in full up to this size

void Check(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", rule);
  std::abort();
}

// The selected text as every cell is tested on its own, at most kMaxText + 1 bytes.
std::string SlowText(const TextDocument& document, const NormalisedSelection& selected, const ColumnRules& rules) {
  std::string text;
  const char* first = nullptr;
  const char* stop = nullptr;
  for (int row = 0; row < document.LineCount() && !stop && text.size() <= kMaxText; ++row) {
    const TextLine& line = document.lines[static_cast<std::size_t>(row)];
    ColumnWalk walk(line.Text(), rules);
    CellSpan span;
    std::string piece;
    while (walk.Next(span) && piece.size() <= kMaxText) {
      const bool inside = selected.IsSelected(row, static_cast<int>(std::min<std::int64_t>(span.column, INT32_MAX)));
      if (selected.shape() == SelectionShape::kStream) {
        if (inside && !first) first = line.start + span.index;
        if (!inside && first) stop = line.start + span.index;
        if (stop) break;
      } else if (row >= selected.top() && row <= selected.bottom() && span.column < selected.right() &&
                 span.End() > selected.left() && (!span.pair || span.column >= selected.left())) {
        const bool tab = !span.pair && !rules.tabCells && line.start[span.index] == '\t';
        const std::int64_t from = std::max<std::int64_t>({span.column, selected.left(), 0});
        if (tab)
          piece.append(static_cast<std::size_t>(std::min(span.End(), std::int64_t{selected.right()}) - from), ' ');
        if (!tab) piece.append(line.start + span.index, static_cast<std::size_t>(span.byteCount));
      }
    }
    if (first && !stop && row == std::min(selected.end().row, document.LineCount() - 1))
      stop = line.start + line.length;
    text += piece;
    if (!text.empty() && selected.shape() == SelectionShape::kColumns && row <= selected.bottom()) text += "\r\n";
  }
  if (first) text.assign(first, stop ? stop : first);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  return text;
}

// The record is there exactly when the file ends in one, and its comments
// exactly when their block is where the count says.
void CheckSauce(const std::string& bytes, const TextDocument& document) {
  const bool carries =
      bytes.size() >= kSauceRecordSize && bytes.compare(bytes.size() - kSauceRecordSize, 7, "SAUCE00") == 0;
  Check(document.sauce.has_value() == carries, "the record is there exactly when the file's tail holds one");
  if (!carries) return;
  const std::size_t record = bytes.size() - kSauceRecordSize;
  const std::size_t block = 5 + document.sauce->commentCount * kSauceCommentLineSize;
  const bool commented = block > 5 && block <= record && bytes.compare(record - block, 5, "COMNT") == 0;
  Check(document.sauce->comments.size() == (commented ? document.sauce->commentCount : 0u),
        "comments are read exactly when their block is where the count says");
}

class BoundedSurface : public DrawingSurface {
 public:
  explicit BoundedSurface(const PaintInput& input) : in_(input) {}
  void SelectFont(CellFont) override {}
  void SetColours(Colour, Colour) override {}
  void DrawRun(int x, int y, std::string_view bytes) override {
    drawn += bytes.size();
    // A row that starts at the client's bottom edge is still drawn, as the
    // rows are counted; a pair or tab cut by the left edge starts left of it.
    Check(x > -3 * in_.cell.cx && x < in_.client.cx && y > -in_.cell.cy && y <= in_.client.cy,
          "a run outside the client");
  }
  void FillRect(const PixelRect& r, Fill) override {
    Check(r.left >= 0 && r.right <= in_.client.cx && r.top > -in_.cell.cy && r.bottom <= in_.client.cy + in_.cell.cy,
          "a fill outside the client");
  }
  std::size_t drawn = 0;

 private:
  const PaintInput& in_;
};

}  // namespace
}  // namespace mosaikon

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mosaikon;
  FuzzedDataProvider input(data, size);
  LoadOptions options;
  options.tabSize = input.ConsumeIntegral<std::int32_t>();
  options.supportAnsi = input.ConsumeBool();
  options.modern = input.ConsumeBool();
  options.decodeMode = input.ConsumeIntegralInRange(0, 2);
  ColumnRules rules{options.tabSize, input.ConsumeIntegralInRange(-1, 3)};
  const SelectionShape shape = input.ConsumeBool() ? SelectionShape::kColumns : SelectionShape::kStream;
  const auto coordinate = [&] { return input.ConsumeIntegralInRange(-4, 1 << input.ConsumeIntegralInRange(0, 30)); };
  Selection selection{{coordinate(), coordinate()}, {coordinate(), coordinate()}};
  PaintInput paint;
  paint.cell = {input.ConsumeIntegralInRange(1, 16), input.ConsumeIntegralInRange(1, 24)};
  paint.client = {input.ConsumeIntegralInRange(0, 2000), input.ConsumeIntegralInRange(0, 1500)};
  paint.offset = {
      input.ConsumeIntegralInRange<std::int64_t>(0, std::int64_t{1} << input.ConsumeIntegralInRange(0, 40)),
      input.ConsumeIntegralInRange<std::int64_t>(0, std::int64_t{1} << input.ConsumeIntegralInRange(0, 40))};
  const bool plantRecord = input.ConsumeBool();
  const bool plantComments = input.ConsumeBool();
  std::string bytes = input.ConsumeRemainingBytesAsString();
  if (plantRecord && bytes.size() >= kSauceRecordSize) {
    const std::size_t record = bytes.size() - kSauceRecordSize;
    bytes.replace(record, 7, "SAUCE00");
    const std::size_t block = 5 + static_cast<unsigned char>(bytes[record + 104]) * kSauceCommentLineSize;
    if (plantComments && block <= record) bytes.replace(record - block, 5, "COMNT");
  }

  TextDocument document;
  document.Build(bytes, options);
  rules.tabCells = TabsAreCells(document);  // as the view lays it out
  const std::string failure = testing::CheckDocumentInvariants(document, options.tabSize);
  Check(failure.empty(), failure.c_str());
  // A plain document without a byte-order mark keeps the file's bytes, only
  // NUL and 0xFF blanked (by the classic rules: the modern ones decode UTF-8
  // and take the metadata off).
  Check(document.modern == (options.modern && !(bytes.size() > 2 && bytes[0] == '\xff' && bytes[1] == '\xfe')),
        "the modern rules build every file but UTF-16 text");
  if (!document.ansi && !document.modern && !(bytes.size() > 2 && bytes[0] == '\xff' && bytes[1] == '\xfe')) {
    std::string expected = bytes;
    for (char& c : expected) c = c == '\0' || c == '\xff' ? ' ' : c;
    Check(document.text == expected, "the plain text is the cleaned input");
  }
  CheckSauce(bytes, document);

  const NormalisedSelection selected(selection, shape);
  const std::string slow = selection.Empty() ? std::string() : SlowText(document, selected, rules);
  const SelectedText text(document, selection, shape, rules);
  Check(slow.size() > kMaxText ? text.Size() > kMaxText : text.Size() == slow.size(), "the measured size");
  Check(selection.Empty() == text.Empty(), "an empty text collapses the selection");
  if (text.Size() <= kMaxText) {
    std::string written(static_cast<std::size_t>(text.Size()) + 4, '\x5a');
    text.CopyTo(written.data());
    Check(written.compare(written.size() - 4, 4, "\x5a\x5a\x5a\x5a") == 0, "nothing written past the measure");
    written.resize(written.size() - 4);
    Check(written == slow, "the text selected cell by cell");
    Check(SelectionPieces(text.FirstLine()) == SelectionPieces(slow), "the first line the hot key types");
    // The copy's Unicode text: one character per byte in the cell font.
    const std::u16string shown = ShownText(text, rules);
    Check(rules.decodeMode > 0 || shown.size() == written.size(), "one character shown per byte copied");
  }

  paint.document = &document;
  paint.selection = selected;
  paint.palette = &DefaultAnsiPalette();
  paint.tabSize = rules.tabSize;
  paint.decodeMode = rules.decodeMode;
  BoundedSurface surface(paint);
  PaintCells(paint, surface);
  const std::size_t rows = static_cast<std::size_t>(paint.client.cy / paint.cell.cy + 2);
  const std::size_t columns = static_cast<std::size_t>(paint.client.cx / paint.cell.cx + 2);
  Check(surface.drawn <= rows * (2 * columns + 8), "no more drawn than the client holds");
  return 0;
}
