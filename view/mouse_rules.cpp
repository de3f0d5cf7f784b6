// Links and words under the mouse, found by walking the line's display
// columns the way painting does, so that what the pointer finds is what the
// user sees under it.
#include "view/mouse_rules.h"

#include <string_view>

namespace mosaikon {
namespace {

const TextLine* LineAt(const TextDocument& document, int row) {
  if (row < 0 || row >= document.LineCount()) return nullptr;
  return &document.lines[static_cast<std::size_t>(row)];
}

// The span whose columns include `column`, or false past the line's end.
bool SpanAt(std::string_view text, std::int64_t column, const ColumnRules& rules, CellSpan& span) {
  if (column < 0) return false;
  ColumnWalk walk(text, rules);
  while (walk.Next(span)) {
    if (column < span.End()) return true;
  }
  return false;
}

bool IsWordSpan(std::string_view text, const CellSpan& span) {
  return !span.pair && IsWordByte(static_cast<unsigned char>(text[static_cast<std::size_t>(span.index)]));
}

}  // namespace

// Spelled out so that no locale the process runs in changes what a
// double-click selects or a whole-word search finds.
bool IsWordByte(unsigned char byte) {
  const bool space = byte == ' ' || (byte >= '\t' && byte <= '\r');
  const bool punctuation = (byte >= '!' && byte <= '/') || (byte >= ':' && byte <= '@') ||
                           (byte >= '[' && byte <= '`') || (byte >= '{' && byte <= '~');
  return byte >= 0x01 && byte <= 0x7F && !space && !punctuation;
}

std::optional<ByteRange> LinkAt(const TextDocument& document, CellPosition cell, const ColumnRules& rules) {
  const TextLine* line = LineAt(document, cell.row);
  // Most lines have no link at all; they need no walk.
  if (!line || line->linkMask.empty()) return std::nullopt;
  CellSpan span;
  if (!SpanAt(line->Text(), cell.column, rules, span) || !line->IsLink(span.index)) return std::nullopt;
  const std::string_view mask = line->LinkMask();
  const std::size_t at = static_cast<std::size_t>(span.index);
  const std::size_t before = mask.find_last_of('0', at);
  const std::size_t after = mask.find('0', at);
  return ByteRange{before == std::string_view::npos ? 0 : static_cast<std::int32_t>(before + 1),
                   after == std::string_view::npos ? line->length : static_cast<std::int32_t>(after)};
}

std::optional<Selection> WordAt(const TextDocument& document, CellPosition cell, const ColumnRules& rules) {
  const TextLine* line = LineAt(document, cell.row);
  if (!line || cell.column < 0) return std::nullopt;
  const std::string_view text = line->Text();
  ColumnWalk walk(text, rules);
  CellSpan span;
  std::int64_t runStart = -1;  // first column of the word bytes just walked, -1 after any other byte
  bool found = false;
  std::int64_t end = 0;
  while (walk.Next(span)) {
    const bool word = IsWordSpan(text, span);
    if (!found && span.End() > cell.column) {
      if (!word) return std::nullopt;
      found = true;
    }
    if (!word) {
      if (found) break;
      runStart = -1;
      continue;
    }
    if (runStart < 0) runStart = span.column;
    end = span.End();
  }
  if (!found) return std::nullopt;
  return Selection{{SaturateToInt(runStart), cell.row}, {SaturateToInt(end), cell.row}};
}

std::optional<ScrollAction> EdgeScroll(int position, int length) {
  if (position < 0) return kLineUp;
  if (position >= length) return kLineDown;
  return std::nullopt;
}

}  // namespace mosaikon
