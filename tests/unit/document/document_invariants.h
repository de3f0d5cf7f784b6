// The invariants every built document must hold, checked from the outside:
// used by the unit tests (also on real files) and by the fuzz target.
// CheckDocumentInvariants returns "" when all hold, else the first violation.
// Also the small helpers the document tests share.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/string_util.h"
#include "common/system.h"
#include "document/ansi_interpreter.h"
#include "document/line_splitter.h"
#include "document/modern_features.h"
#include "document/text_document.h"

namespace mosaikon::testing {

namespace detail {

inline std::string At(std::size_t line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

inline bool IsBreak(char c) {
  return c == '\r' || c == '\n';
}

// The link marks a line must carry, found the slow way: at every byte, does a
// case-insensitive "http://" start here? Valid for code pages without lead
// bytes (the native build).
inline std::string ExpectedLinkMask(std::string_view text) {
  std::string mask;
  constexpr std::string_view kScheme = "http://";
  std::size_t i = 0;
  while (i + kScheme.size() <= text.size()) {
    bool match = true;
    for (std::size_t k = 0; k < kScheme.size() && match; ++k) {
      const char c = text[i + k];
      match = c == kScheme[k] || (c >= 'A' && c <= 'Z' && c + 32 == kScheme[k]);
    }
    if (!match) {
      ++i;
      continue;
    }
    if (mask.empty()) mask.assign(text.size(), '0');
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80 &&
           !IsWhiteSpace(static_cast<unsigned char>(text[i]))) {
      mask[i++] = '1';
    }
  }
  return mask;
}

}  // namespace detail

// `tabSize` is the one the document was built with (plain documents only).
// The link marks are compared with a slow reference search where the ANSI
// code page has no lead bytes (the reference does not step over them).
inline std::string CheckDocumentInvariants(const TextDocument& document, std::int32_t tabSize) {
  bool checkLinks = true;
  for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
    if (IsLeadByte(static_cast<unsigned char>(byte))) checkLinks = false;
  }
  using detail::At;
  const std::string& text = document.text;
  const char* const begin = text.data();
  const char* const end = begin + text.size();

  if (text.find('\0') != std::string::npos) return "text holds a NUL byte";
  if (text.find('\xff') != std::string::npos) return "text holds a 0xFF byte";
  if (document.lines.empty()) {
    if (document.width != 0) return "a document without lines has width " + std::to_string(document.width);
    if (!document.ansi && !text.empty()) return "a plain document with text has no lines";
    return "";
  }

  // Where a CR and an LF last occur: the line-break rules depend on whether
  // both kinds still lie ahead.
  const std::size_t lastCr = text.rfind('\r');
  const std::size_t lastLf = text.rfind('\n');

  std::int32_t widest = 0;
  const char* expectedStart = begin;
  for (std::size_t i = 0; i < document.lines.size(); ++i) {
    const TextLine& line = document.lines[i];
    if (line.length < 0) return At(i, "negative length");
    if (line.start < expectedStart || line.start > end || end - line.start < line.length) {
      return At(i, "lies outside the text or before the previous line");
    }
    const std::string_view bytes = line.Text();
    // Modern ANSI art decoded from UTF-8 has cells of the glyphs at 0x0A and 0x0D.
    const bool breakCells = document.ansi && document.modern && (document.features & kUtf8Text) != 0;
    if (!breakCells && std::any_of(bytes.begin(), bytes.end(), detail::IsBreak)) {
      return At(i, "holds a line-break byte");
    }

    const char* const lineEnd = line.start + line.length;
    const std::size_t startOffset = static_cast<std::size_t>(line.start - begin);
    const std::size_t endOffset = static_cast<std::size_t>(lineEnd - begin);
    const bool last = i + 1 == document.lines.size();
    const char* const nextStart = last ? end : document.lines[i + 1].start;
    if (nextStart < lineEnd) return At(i, "overlaps the next line");
    const std::string_view gap(lineEnd, static_cast<std::size_t>(nextStart - lineEnd));

    if (document.ansi) {
      if (line.start != expectedStart) return At(i, "does not follow the previous line's CR LF");
      if (gap != "\r\n") return At(i, "is not followed by exactly CR LF");
      if (!line.linkMask.empty()) return At(i, "has link marks in an ANSI document");
      if (line.length > kAnsiWidth) return At(i, "is wider than the ANSI canvas");
      if (line.length > 0 && line.attributes.empty()) return At(i, "has no attributes in an ANSI document");
      // Bright backgrounds (iCE colours, 100-107) come only from the modern rules.
      for (const char a : line.Attributes()) {
        if (!document.modern && (static_cast<unsigned char>(a) & 0x0F) > 7) {
          return At(i, "has a background index above 7");
        }
      }
      if (const std::uint32_t* cells = document.colours.Cells(static_cast<std::int32_t>(i))) {
        if (!document.modern) return At(i, "has cell values in a classic document");
        for (std::int32_t k = 0; k < line.length; ++k) {
          if (cells[k] >= kFirstPairCell + document.colours.PairCount()) return At(i, "names a pair that is not there");
          if (cells[k] < kFirstPairCell && cells[k] != static_cast<unsigned char>(line.attributes.data()[k])) {
            return At(i, "has a cell value that is not its attribute byte");
          }
        }
      }
      widest = std::max(widest, line.length);
    } else {
      if (i == 0 && line.start != begin) return "the first line does not start the text";
      if (!line.attributes.empty()) return At(i, "has attributes in a plain document");
      // The break after this line, by the splitting rules.
      const bool crAhead = lastCr != std::string::npos && lastCr >= startOffset;
      const bool lfAhead = lastLf != std::string::npos && lastLf >= startOffset;
      std::size_t breakEnd = endOffset;
      if (crAhead || lfAhead) {
        if (endOffset == text.size()) return At(i, "ends the text although a break lies ahead");
        const char first = text[endOffset];
        ++breakEnd;
        if (crAhead && lfAhead) {
          const char other = first == '\r' ? '\n' : '\r';
          while (breakEnd < text.size() && text[breakEnd] == first) ++breakEnd;
          while (breakEnd < text.size() && text[breakEnd] == other) ++breakEnd;
        }
      }
      if (last != !(crAhead || lfAhead)) return At(i, "the line count does not match the breaks");
      if (gap.size() != breakEnd - endOffset) return At(i, "is followed by a break of the wrong size");
      const std::string_view mask = line.LinkMask();
      if (!mask.empty() && mask.find('1') == std::string_view::npos) return At(i, "has a link mask without a link");
      if (mask.find_first_not_of("01") != std::string_view::npos) return At(i, "has a mask byte other than 0 and 1");
      if (checkLinks && mask != detail::ExpectedLinkMask(bytes)) return At(i, "has the wrong link marks");
      widest = std::max(widest, ExpandTabs(line.start, line.length, nullptr, tabSize));
    }
    expectedStart = nextStart;
  }
  if (document.ansi && expectedStart != end) return "the ANSI text goes on after the last line's CR LF";
  if (document.ansi && document.LineCount() > kMaxAnsiRows) return "more rows than the ANSI canvas holds";
  if (document.width != widest) {
    return "width is " + std::to_string(document.width) + ", the widest line " + std::to_string(widest);
  }
  return "";
}

// `text` split into the lines of a plain document, without link marks.
inline TextDocument SplitDocument(const std::string& text, std::int32_t tabSize = 8) {
  TextDocument document;
  document.text = text;
  SplitLines(document.text.data(), static_cast<std::int32_t>(text.size()), tabSize, document.lines, document.width);
  return document;
}

// Interprets source lines as the loader does: they point into the document's
// own text, which the interpreter replaces. (The document is an out-parameter:
// moving it could move a short text and strand the lines.) By the modern rules
// when their options are given.
inline void Interpret(const std::vector<std::string>& sourceLines, TextDocument& document,
                      const ModernAnsiOptions* modern = nullptr) {
  for (std::size_t i = 0; i < sourceLines.size(); ++i) document.text += (i > 0 ? "\n" : "") + sourceLines[i];
  document.ansi = true;
  document.modern = modern != nullptr;
  std::vector<TextLine> lines;
  std::int32_t width = 0;
  SplitLines(document.text.data(), static_cast<std::int32_t>(document.text.size()), 8, lines, width);
  if (modern) {
    InterpretModernAnsi(lines, document, *modern);
  } else {
    InterpretAnsi(lines, document);
  }
}

inline std::vector<std::string> LineTexts(const TextDocument& document) {
  std::vector<std::string> texts;
  for (const TextLine& line : document.lines) texts.emplace_back(line.Text());
  return texts;
}

}  // namespace mosaikon::testing
