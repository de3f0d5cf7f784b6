// Loading a file into the document: read, convert UTF-16, blank the bytes the
// view never shows, then build a plain document (lines and links) or an ANSI
// one (through the interpreter). Everything is built aside and swapped in, so
// a failed load leaves the previous document whole.
#include "document/text_document.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "document/ansi_interpreter.h"
#include "document/break_counter.h"
#include "document/line_splitter.h"
#include "document/link_detector.h"
#include "document/modern_load.h"

namespace mosaikon {

namespace {

// Lines and positions are signed 32-bit, so that is the largest text.
constexpr std::size_t kMaxTextLength = std::numeric_limits<std::int32_t>::max();

bool HasUtf16Mark(const std::string& bytes) {
  return bytes.size() > 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xFE;
}

// The code units after the byte-order mark; a final odd byte is dropped. The
// file's buffer is released before the conversion to keep the peak down.
std::string ConvertUtf16(std::string bytes) {
  const std::size_t units = (bytes.size() - 2) / 2;
  std::u16string wide(units, u'\0');
  const auto* source = reinterpret_cast<const unsigned char*>(bytes.data()) + 2;
  for (std::size_t i = 0; i < units; ++i) {
    wide[i] = static_cast<char16_t>(source[2 * i] | (source[2 * i + 1] << 8));
  }
  std::string().swap(bytes);
  return WideToNarrow(wide.data(), wide.size());
}

// Moves `source`'s content into `target`. Cannot fail, so it is the last step.
void TakeOver(TextDocument& target, TextDocument& source) noexcept {
  const char* const oldBase = source.text.data();
  target.text.swap(source.text);
  target.lines.swap(source.lines);
  target.width = source.width;
  target.ansi = source.ansi;
  target.sauce.swap(source.sauce);
  target.modern = source.modern;
  target.features = source.features;
  std::swap(target.colours, source.colours);
  // A short text lives inside the string object itself, so the swap moved its
  // bytes: point the lines at their new place.
  const char* const newBase = target.text.data();
  if (newBase != oldBase) {
    for (TextLine& line : target.lines) line.start = newBase + (line.start - oldBase);
  }
}

}  // namespace

void LineBytes::Assign(std::int32_t length, char fill) {
  if (length <= 0) {
    bytes_.reset();
    return;
  }
  auto bytes = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(length));
  std::memset(bytes.get(), fill, static_cast<std::size_t>(length));
  bytes_ = std::move(bytes);
}

void LineBytes::Assign(const char* source, std::int32_t length) {
  if (length <= 0) {
    bytes_.reset();
    return;
  }
  auto bytes = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(length));
  std::memcpy(bytes.get(), source, static_cast<std::size_t>(length));
  bytes_ = std::move(bytes);
}

TextLine::TextLine(const TextLine& other) : start(other.start), length(other.length) {
  if (!other.linkMask.empty()) linkMask.Assign(other.linkMask.data(), other.length);
  if (!other.attributes.empty()) attributes.Assign(other.attributes.data(), other.length);
}

TextLine& TextLine::operator=(const TextLine& other) {
  if (this != &other) {
    TextLine copy(other);
    *this = std::move(copy);
  }
  return *this;
}

namespace {

// Blanks NUL and 0xFF in a stretch known to hold one, and looks for ESC "[".
void CleanStretch(unsigned char* p, std::size_t size, const unsigned char* end, TextScan& scan) {
  for (std::size_t i = 0; i < size; ++i) {
    scan.ffCount += p[i] == 0xFF;
    if (p[i] == 0x00 || p[i] == 0xFF) p[i] = ' ';
    if (p[i] == 0x1B && p + i + 1 < end && p[i + 1] == '[') scan.ansiEscape = true;
    if (p[i] == 0x1B && p + i + 1 < end && p[i + 1] == ']') scan.oscEscape = true;
  }
}

}  // namespace

TextScan CleanText(char* bytes, std::size_t count) {
  TextScan scan;
  BreakCounter breaks;
  auto* p = reinterpret_cast<unsigned char*>(bytes);
  const unsigned char* const end = p + count;
#if defined(__SSE2__)
  // NUL, 0xFF and ESC are rare: a 16-byte block is only tested for them, and
  // handled byte by byte on a hit. The CR and LF counts ride along.
  const __m128i zero = _mm_setzero_si128();
  const __m128i ff = _mm_set1_epi8(static_cast<char>(0xFF));
  const __m128i esc = _mm_set1_epi8('\x1b');
  __m128i high = zero;  // the bytes' top bits, gathered
  for (; end - p >= 16; p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i special =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, zero), _mm_cmpeq_epi8(block, ff)), _mm_cmpeq_epi8(block, esc));
    if (_mm_movemask_epi8(special) != 0) CleanStretch(p, 16, end, scan);
    breaks.AddBlock(block);
    high = _mm_or_si128(high, block);
  }
  scan.highBytes = _mm_movemask_epi8(high) != 0;
#endif
  const std::size_t rest = static_cast<std::size_t>(end - p);
  for (std::size_t i = 0; i < rest; ++i) scan.highBytes = scan.highBytes || p[i] >= 0x80;
  CleanStretch(p, rest, end, scan);
  for (std::size_t i = 0; i < rest; ++i) breaks.AddByte(static_cast<char>(p[i]));
  const BreakCounts counts = breaks.Total();
  scan.crCount = counts.cr;
  scan.lfCount = counts.lf;
  return scan;
}

bool TextDocument::LoadFile(const std::string& path, const LoadOptions& options, ErrorCode& error) {
  try {
    // A fresh buffer: a failed read must not touch the document.
    std::string buffer;
    std::uint32_t size = 0;
    FileTime time;
    if (!ReadWholeFile(path, buffer, &size, &time, error)) return false;
    Build(std::move(buffer), options);
    fileSize = size;
    fileTime = time;
    return true;
  } catch (const std::bad_alloc&) {
    error = OutOfMemoryError();
  } catch (const std::length_error&) {
    error = FileTooLargeError();
  }
  return false;
}

void TextDocument::Build(std::string bytes, const LoadOptions& options) {
  TextDocument fresh;
  fresh.sauce = ParseSauce(bytes);
  const bool utf16 = HasUtf16Mark(bytes);
  // UTF-16 text loads by the classic rules either way.
  if (options.modern && !utf16) {
    BuildModernDocument(std::move(bytes), options, fresh);
    TakeOver(*this, fresh);
    return;
  }
  if (utf16) bytes = ConvertUtf16(std::move(bytes));
  if (bytes.size() > kMaxTextLength) throw std::length_error("text of 2 GiB or more");
  const ClassicHintScan hintScan = utf16 ? ClassicHintScan() : ScanForHints(bytes, fresh.sauce);
  const TextScan scan = CleanText(bytes.data(), bytes.size());
  if (!utf16) fresh.features = ClassicHints(bytes, hintScan, scan, fresh.sauce, options.supportAnsi);
  const BreakCounts breaks{scan.crCount, scan.lfCount};
  const auto length = static_cast<std::int32_t>(bytes.size());

  if (options.supportAnsi && scan.ansiEscape) {
    // The source lines point into `bytes`, which stays alive until the
    // interpreter has written the rendered rows into `fresh`.
    fresh.ansi = true;
    std::vector<TextLine> sourceLines;
    std::int32_t sourceWidth = 0;
    SplitLines(bytes.data(), length, options.tabSize, sourceLines, sourceWidth, breaks);
    InterpretAnsi(sourceLines, fresh);
  } else {
    fresh.text = std::move(bytes);
    SplitLines(fresh.text.data(), length, options.tabSize, fresh.lines, fresh.width, breaks);
    DetectLinks(fresh);
  }
  TakeOver(*this, fresh);
}

void TextDocument::MeasureWidth(std::int32_t tabSize) {
  if (ansi) return;
  std::int32_t widest = 0;
  for (const TextLine& line : lines) {
    const bool tabs = line.length > 0 && std::memchr(line.start, '\t', static_cast<std::size_t>(line.length));
    widest = std::max(widest, tabs ? ExpandTabs(line.start, line.length, nullptr, tabSize) : line.length);
  }
  width = widest;
}

}  // namespace mosaikon
