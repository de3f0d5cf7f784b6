// The document the view shows: one text buffer, lines as windows onto it,
// per-byte link marks (plain documents) and colour attributes (ANSI
// documents), the width of the widest line and the file's size and time.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_time.h"
#include "common/system.h"
#include "document/extended_colours.h"
#include "document/sauce.h"

namespace mosaikon {

// Foreground palette index in the high nibble, background in the low nibble.
constexpr unsigned char kDefaultAttribute = 0x70;  // light grey on black
constexpr std::int32_t kAnsiWidth = 80;

// One byte per byte of a line, or nothing. A line's link marks and attributes
// are either empty or exactly as long as the line, so the buffer does not keep
// its own size: the owning TextLine knows it. This keeps a line record at 16
// bytes on 32-bit Windows (32 natively), which matters for million-line files.
class LineBytes {
 public:
  LineBytes() = default;
  LineBytes(LineBytes&&) noexcept = default;
  LineBytes& operator=(LineBytes&&) noexcept = default;

  bool empty() const { return !bytes_; }
  const char* data() const { return bytes_.get(); }
  char* data() { return bytes_.get(); }

  // Makes the buffer `length` bytes of `fill` (length > 0).
  void Assign(std::int32_t length, char fill);
  // Makes the buffer a copy of `length` bytes at `source` (empty when length is 0).
  void Assign(const char* source, std::int32_t length);
  void Clear() { bytes_.reset(); }

 private:
  std::unique_ptr<char[]> bytes_;
};

struct TextLine {
  const char* start = nullptr;  // first byte in the document's text
  std::int32_t length = 0;      // bytes, line break excluded
  LineBytes linkMask;           // empty, or `length` bytes of '0'/'1'
  LineBytes attributes;         // empty, or `length` attribute bytes (ANSI only)

  TextLine() = default;
  TextLine(const char* lineStart, std::int32_t lineLength) : start(lineStart), length(lineLength) {}
  TextLine(TextLine&&) noexcept = default;
  TextLine& operator=(TextLine&&) noexcept = default;
  TextLine(const TextLine& other);
  TextLine& operator=(const TextLine& other);

  std::string_view Text() const { return {start, static_cast<std::size_t>(length)}; }
  std::string_view LinkMask() const { return View(linkMask); }
  std::string_view Attributes() const { return View(attributes); }
  bool IsLink(std::int32_t index) const {
    return !linkMask.empty() && index >= 0 && index < length && linkMask.data()[index] == '1';
  }

 private:
  std::string_view View(const LineBytes& bytes) const {
    return bytes.empty() ? std::string_view() : std::string_view(bytes.data(), static_cast<std::size_t>(length));
  }
};

struct LoadOptions {
  std::int32_t tabSize = 8;  // the TabSize setting (the layout bounds it, see EffectiveTabSize)
  bool supportAnsi = true;   // the SupportAnsi setting
  bool modern = false;       // the ModernRendering setting
  // DecodeMode: with `modern`, the code page UTF-8 text becomes (0: 437, 1:
  // 936, 2: 950), the one the view's font shows.
  std::int32_t decodeMode = 0;
};

class TextDocument {
 public:
  std::string text;
  std::vector<TextLine> lines;
  std::int32_t width = 0;
  bool ansi = false;
  const std::int32_t ansiWidth = kAnsiWidth;
  std::uint32_t fileSize = 0;
  FileTime fileTime;
  // The file's metadata record, read from the bytes as stored, before any
  // conversion; it does not change what the document shows.
  std::optional<SauceRecord> sauce;
  // Built by the modern rules (LoadOptions::modern).
  bool modern = false;
  // ModernFeature bits: for a modern document what the modern rules made of
  // the file; otherwise what they would show differently.
  std::uint32_t features = 0;
  // Colours beyond the attribute bytes (modern ANSI documents only).
  ExtendedColours colours;

  std::int32_t LineCount() const { return static_cast<std::int32_t>(lines.size()); }

  // Replaces the document by the file at `path`. On failure returns false with
  // the reason in `error` and leaves the document exactly as it was.
  bool LoadFile(const std::string& path, const LoadOptions& options, ErrorCode& error);

  // The part of a load after the read: takes the file's bytes, reads their
  // metadata record, converts UTF-16LE with a byte-order mark, blanks NUL and
  // 0xFF, and builds a plain or an ANSI document. Does not touch fileSize and
  // fileTime. The new document is built aside and swapped in, so when it
  // throws (std::bad_alloc, or std::length_error for a text of 2 GiB or more)
  // the document is unchanged.
  void Build(std::string bytes, const LoadOptions& options);

  // Measures `width` again for another tab size, as Build would have: the
  // widest line of a plain document with its tabs expanded. ANSI art keeps
  // its width, which its canvas decided.
  void MeasureWidth(std::int32_t tabSize);
};

// The first pass of Build over the text: turns every NUL and 0xFF byte into a
// blank, and tells whether ESC "[" occurs and how many CR and LF bytes there
// are; for the modern rules also whether ESC "]" occurs, whether any byte is
// 0x80 or above, and how many 0xFF bytes it blanked.
struct TextScan {
  bool ansiEscape = false;
  std::size_t crCount = 0;
  std::size_t lfCount = 0;
  bool oscEscape = false;
  bool highBytes = false;
  std::size_t ffCount = 0;
};
TextScan CleanText(char* bytes, std::size_t count);

}  // namespace mosaikon
