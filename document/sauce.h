// The metadata record that art files carry in their last 128 bytes ("SAUCE00":
// title, author, group, date, data and file type, size hints, flags, font
// name) and the optional comment block ("COMNT" + 64-byte lines) before it.
// Parsing is bounded by the bytes given: anything that does not add up is
// treated as absent, never read past.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mosaikon {

constexpr std::size_t kSauceRecordSize = 128;
constexpr std::size_t kSauceCommentLineSize = 64;

// Text fields hold the file's own bytes (code page 437, the code page of the
// art and of the Terminal font that shows it), cut at the first NUL and
// trimmed of trailing blanks. They are kept as bytes rather than converted to
// the ANSI code page: Windows-1252 or a Chinese code page has no box-drawing
// or block characters, so a conversion there would lose exactly the glyphs
// art groups like to put in their names. For display, DecodeCp437 turns them
// into UTF-16, which a dialog shows with the wide-character calls whatever
// the system's code page is.
struct SauceRecord {
  std::string title;           // 35 bytes in the record
  std::string author;          // 20
  std::string group;           // 20
  std::string date;            // 8, "CCYYMMDD" when well formed
  std::uint32_t fileSize = 0;  // as the record claims; not checked against the file
  std::uint8_t dataType = 0;
  std::uint8_t fileType = 0;
  std::uint16_t tInfo1 = 0;
  std::uint16_t tInfo2 = 0;
  std::uint16_t tInfo3 = 0;
  std::uint16_t tInfo4 = 0;
  std::uint8_t commentCount = 0;  // as claimed; `comments` is empty when the block is missing
  std::uint8_t tFlags = 0;
  std::string tInfoS;  // 22 bytes: the font name for character art
  std::vector<std::string> comments;

  bool operator==(const SauceRecord&) const = default;

  bool IceColours() const { return (tFlags & 0x01) != 0; }
  // Bits 1-2: 0 none given, 1 eight-pixel letters, 2 nine-pixel letters, 3 invalid.
  int LetterSpacing() const { return (tFlags >> 1) & 0x03; }
  // Bits 3-4: 0 none given, 1 legacy (stretched) pixels, 2 square pixels, 3 invalid.
  int AspectRatio() const { return (tFlags >> 3) & 0x03; }
};

// The record at the end of `file`, or nothing when the last 128 bytes do not
// start with "SAUCE00". Comments are read only when the claimed count of lines
// and the "COMNT" signature fit before the record; otherwise the record comes
// without them.
std::optional<SauceRecord> ParseSauce(std::string_view file);

// Where the text of `file` ends once its metadata is taken off: before the
// record `sauce` (ParseSauce's answer for the same bytes), before its comment
// block when ParseSauce found one, and before an end-of-file mark (0x1A)
// right in front of them. The whole file when there is no record.
std::size_t TextEndBeforeSauce(std::string_view file, const std::optional<SauceRecord>& sauce);

// Code page 437 to UTF-16: box drawing, blocks, accented letters, and the
// glyphs the art shows for the control bytes 0x01-0x1F and 0x7F. NUL becomes
// a blank.
std::u16string DecodeCp437(std::string_view bytes);

}  // namespace mosaikon
