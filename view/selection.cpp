// Normalising the selection, testing cells against it, and building the
// text it selects.
#include "view/selection.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "common/string_util.h"

namespace mosaikon {

NormalisedSelection::NormalisedSelection(const Selection& selection, SelectionShape shape)
    : shape_(shape), empty_(selection.Empty()) {
  const CellPosition& a = selection.anchor;
  const CellPosition& c = selection.caret;
  if (shape == SelectionShape::kStream) {
    const bool anchorFirst = Before(a, c);
    start_ = anchorFirst ? a : c;
    end_ = anchorFirst ? c : a;
  } else {
    start_ = {std::min(a.column, c.column), std::min(a.row, c.row)};
    end_ = {std::max(a.column, c.column), std::max(a.row, c.row)};
  }
}

bool NormalisedSelection::IsSelected(int row, int column) const {
  if (empty_) return false;
  if (shape_ == SelectionShape::kStream) {
    const CellPosition cell{column, row};
    return !Before(cell, start_) && Before(cell, end_);
  }
  return top() <= row && row <= bottom() && left() <= column && column < right();
}

namespace {

bool IsBreak(char byte) {
  return byte == '\r' || byte == '\n';
}

// The stream's text: the document bytes [first, stop), or no first byte.
struct StreamRange {
  const char* first = nullptr;
  const char* stop = nullptr;
};

StreamRange FindStreamRange(const TextDocument& document, const NormalisedSelection& selected,
                            const ColumnRules& rules) {
  const CellPosition start = selected.start();
  const CellPosition end = selected.end();
  const int lastRow = std::min(end.row, document.LineCount() - 1);
  // The first selected byte: the same test as painting, a pair tested at its
  // first byte.
  for (int row = std::max(start.row, 0); row <= lastRow; ++row) {
    const TextLine& line = document.lines[static_cast<std::size_t>(row)];
    ColumnWalk walk(line.Text(), rules);
    if (row == start.row) walk.SkipTo(start.column);
    CellSpan span;
    while (walk.Next(span)) {
      if (row == end.row && span.column >= end.column) break;
      if (!selected.IsSelected(row, SaturateToInt(span.column))) continue;
      // Every byte after it is selected up to the end row; there the first
      // byte that is not ends the text, else the end of the last line walked.
      StreamRange range{line.start + span.index, nullptr};
      const TextLine& last = document.lines[static_cast<std::size_t>(lastRow)];
      range.stop = last.start + last.length;
      if (end.row == lastRow) {
        ColumnWalk endWalk = end.row == row ? walk : ColumnWalk(last.Text(), rules);
        endWalk.SkipTo(end.column);
        while (endWalk.Next(span)) {
          if (!selected.IsSelected(end.row, SaturateToInt(span.column))) {
            range.stop = last.start + span.index;
            break;
          }
        }
      }
      while (range.stop > range.first && IsBreak(range.stop[-1])) --range.stop;
      return range;
    }
  }
  return {};
}

// Hands the pieces of display columns [left, right) of a line to `sink`:
// Bytes(view) for bytes of the line, Blanks(count) for the columns of a tab
// inside the edges. A double-byte character cut by the left edge is left
// out, one cut by the right edge is taken whole.
template <typename Sink>
void ClipPieces(std::int64_t left, std::int64_t right, std::string_view line, const ColumnRules& rules, Sink& sink) {
  left = std::max<std::int64_t>(left, 0);
  ColumnWalk walk(line, rules);
  walk.SkipTo(left);
  CellSpan span;
  while (!sink.Done() && walk.NextRun(span, right) && span.column < right) {
    if (span.End() <= left) continue;
    const std::string_view bytes = line.substr(static_cast<std::size_t>(span.index), span.byteCount);
    if (span.pair) {
      // Cut by the left edge: left out; cut by the right edge: taken whole.
      if (span.column >= left) sink.Bytes(bytes);
    } else if (bytes[0] == '\t' && !rules.tabCells) {
      sink.Blanks(std::min(span.End(), right) - std::max(span.column, left));
    } else {
      const auto from = static_cast<std::size_t>(std::max(span.column, left) - span.column);
      const auto to = static_cast<std::size_t>(std::min(span.End(), right) - span.column);
      sink.Bytes(bytes.substr(from, to - from));
    }
  }
}

// One row of a column text: owes the CR LF pairs of the rows before it, and
// pays them only when the row has bytes, so no break follows the last row
// with bytes.
template <typename Sink>
struct RowSink {
  Sink& sink;
  std::int64_t& owedBreaks;
  bool wrote = false;

  void Open() {
    if (wrote) return;
    wrote = true;
    if (owedBreaks > 0) sink.Breaks(owedBreaks);
    owedBreaks = 0;
  }
  void Bytes(std::string_view bytes) {
    if (bytes.empty()) return;
    Open();
    sink.Bytes(bytes);
  }
  void Blanks(std::int64_t count) {
    if (count <= 0) return;
    Open();
    sink.Blanks(count);
  }
  bool Done() const { return sink.Done(); }
};

template <typename Sink>
void ColumnPieces(const TextDocument& document, const NormalisedSelection& selected, const ColumnRules& rules,
                  Sink& sink) {
  std::int64_t owedBreaks = 0;
  bool any = false;
  const int lastRow = std::min(selected.bottom(), document.LineCount() - 1);
  for (int row = std::max(selected.top(), 0); row <= lastRow && !sink.Done(); ++row) {
    RowSink<Sink> out{sink, owedBreaks};
    ClipPieces(selected.left(), selected.right(), document.lines[static_cast<std::size_t>(row)].Text(), rules, out);
    any = any || out.wrote;
    if (any) ++owedBreaks;
  }
}

struct CountingSink {
  std::uint64_t size = 0;
  void Bytes(std::string_view bytes) { size += bytes.size(); }
  void Blanks(std::int64_t count) { size += static_cast<std::uint64_t>(count); }
  void Breaks(std::int64_t count) { size += 2 * static_cast<std::uint64_t>(count); }
  bool Done() const { return false; }
};

struct WritingSink {
  char* out;
  void Bytes(std::string_view bytes) {
    std::memcpy(out, bytes.data(), bytes.size());
    out += bytes.size();
  }
  void Blanks(std::int64_t count) {
    std::memset(out, ' ', static_cast<std::size_t>(count));
    out += count;
  }
  void Breaks(std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i, out += 2) std::memcpy(out, "\r\n", 2);
  }
  bool Done() const { return false; }
};

// Collects from the first byte that is not white space up to the next line
// break, then asks for nothing more.
struct FirstLineSink {
  std::string line;
  bool started = false;
  bool done = false;

  void Bytes(std::string_view bytes) {
    if (done) return;
    if (!started) {
      std::size_t skip = 0;
      while (skip < bytes.size() && IsWhiteSpace(static_cast<unsigned char>(bytes[skip]))) ++skip;
      bytes.remove_prefix(skip);
      if (bytes.empty()) return;
      started = true;
    }
    const std::size_t cut = bytes.find_first_of("\r\n");
    line.append(bytes.substr(0, cut));
    done = cut != std::string_view::npos;
  }
  void Blanks(std::int64_t count) {
    if (started && !done) line.append(static_cast<std::size_t>(count), ' ');
  }
  void Breaks(std::int64_t) { done = started; }
  bool Done() const { return done; }
};

}  // namespace

SelectedText::SelectedText(const TextDocument& document, Selection& selection, SelectionShape shape,
                           const ColumnRules& rules)
    : document_(document), selected_(selection, shape), rules_(rules) {
  if (selection.Empty()) return;
  if (shape == SelectionShape::kStream) {
    const StreamRange range = FindStreamRange(document_, selected_, rules_);
    first_ = range.first;
    size_ = range.first ? static_cast<std::uint64_t>(range.stop - range.first) : 0;
  } else {
    CountingSink counter;
    ColumnPieces(document_, selected_, rules_, counter);
    size_ = counter.size;
  }
  if (size_ == 0) selection.anchor = selection.caret;
}

void SelectedText::CopyTo(char* out) const {
  if (size_ == 0) return;
  if (first_) {
    std::memcpy(out, first_, static_cast<std::size_t>(size_));
    return;
  }
  WritingSink writer{out};
  ColumnPieces(document_, selected_, rules_, writer);
}

std::string SelectedText::FirstLine() const {
  if (size_ == 0) return {};
  if (!first_) {
    FirstLineSink sink;
    ColumnPieces(document_, selected_, rules_, sink);
    return std::move(sink.line);
  }
  const char* from = first_;
  const char* const end = first_ + size_;
  while (from < end && IsWhiteSpace(static_cast<unsigned char>(*from))) ++from;
  const char* to = from;
  while (to < end && !IsBreak(*to)) ++to;
  return std::string(from, to);
}

namespace {

// The rows of a rectangle for a piece reader: the line breaks between rows
// are always CR LF.
struct PieceAdapter {
  SelectedText::PieceSink& sink;
  void Bytes(std::string_view bytes) { sink.Cells(bytes); }
  void Blanks(std::int64_t count) { sink.Blanks(count); }
  void Breaks(std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i) sink.Break("\r\n");
  }
  bool Done() const { return false; }
};

}  // namespace

void SelectedText::Pieces(PieceSink& sink) const {
  if (size_ == 0) return;
  if (!first_) {
    PieceAdapter adapter{sink};
    ColumnPieces(document_, selected_, rules_, adapter);
    return;
  }
  // A stretch of the document: the part of each line inside it, and the
  // breaks after the lines, as stored.
  const char* const stop = first_ + size_;
  const auto& lines = document_.lines;
  auto line = std::upper_bound(lines.begin(), lines.end(), first_,
                               [](const char* at, const TextLine& l) { return at < l.start; });
  if (line != lines.begin()) --line;
  for (const char* at = first_; line != lines.end() && at < stop; ++line) {
    const char* const lineEnd = std::min(line->start + line->length, stop);
    if (at < lineEnd) sink.Cells(std::string_view(at, static_cast<std::size_t>(lineEnd - at)));
    at = std::max(at, lineEnd);
    const char* const next = line + 1 != lines.end() ? std::min(line[1].start, stop) : stop;
    if (at < next) sink.Break(std::string_view(at, static_cast<std::size_t>(next - at)));
    at = std::max(at, next);
  }
}

void BuildSelectedText(const TextDocument& document, Selection& selection, SelectionShape shape,
                       const ColumnRules& rules, std::string& text) {
  text.clear();
  const SelectedText selected(document, selection, shape, rules);
  if (selected.Size() > text.max_size()) throw std::length_error("selected text too long for a string");
  text.resize(static_cast<std::size_t>(selected.Size()));
  selected.CopyTo(text.data());
}

}  // namespace mosaikon
