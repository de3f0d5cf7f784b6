// The modern load: metadata off, then UTF-8 or code page 437, then plain text
// or ANSI art. Line breaks and escape sequences are always found in the
// file's own bytes; decoded characters are only ever text.
#include "document/modern_load.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "document/ansi_interpreter.h"
#include "document/line_splitter.h"
#include "document/link_detector.h"
#include "document/modern_features.h"
#include "document/utf8_text.h"

namespace mosaikon {

namespace {

constexpr std::size_t kMaxTextLength = 0x7FFFFFFF;

// The escapes and line breaks of text that is decoded later and so is not
// cleaned first: a bad byte after the UTF-8 mark must still become "?".
TextScan ScanWithoutCleaning(const char* text, std::size_t size) {
  TextScan scan;
  const BreakCounts breaks = CountBreaks(text, size);
  scan.crCount = breaks.cr;
  scan.lfCount = breaks.lf;
  const char* const end = text + size;
  for (const char* p = text; (p = static_cast<const char*>(std::memchr(p, 0x1B, end - p))) != nullptr; ++p) {
    if (p + 1 == end) break;
    scan.ansiEscape = scan.ansiEscape || p[1] == '[';
    scan.oscEscape = scan.oscEscape || p[1] == ']';
  }
  return scan;
}

bool CarriesIceFlag(const std::optional<SauceRecord>& sauce) {
  return sauce && sauce->IceColours();
}

}  // namespace

void BuildModernDocument(std::string bytes, const LoadOptions& options, TextDocument& fresh) {
  fresh.modern = true;
  bytes.resize(TextEndBeforeSauce(bytes, fresh.sauce));
  if (bytes.size() > kMaxTextLength) throw std::length_error("text of 2 GiB or more");
  if (fresh.sauce && !fresh.sauce->comments.empty()) fresh.features |= kSauceComments;

  // After the mark every byte counts, 0xFF included (it becomes "?"); without
  // it the text is decoded only when it is UTF-8 throughout, which a 0xFF
  // byte never is.
  const bool mark = HasUtf8Mark(bytes);
  const std::size_t skip = mark ? 3 : 0;
  TextScan scan;
  bool utf8 = mark;
  if (mark) {
    scan = ScanWithoutCleaning(bytes.data() + skip, bytes.size() - skip);
  } else {
    scan = CleanText(bytes.data(), bytes.size());
    utf8 = scan.highBytes && scan.ffCount == 0 && IsUtf8Text(bytes);
  }
  if (utf8) fresh.features |= kUtf8Text;
  const BreakCounts breaks{scan.crCount, scan.lfCount};
  const char* const text = bytes.data() + skip;
  const auto length = static_cast<std::int32_t>(bytes.size() - skip);
  Utf8Decoding decoding;
  decoding.decodeMode = options.decodeMode;

  if (options.supportAnsi && (scan.ansiEscape || scan.oscEscape)) {
    fresh.ansi = true;
    std::vector<TextLine> sourceLines;
    std::int32_t sourceWidth = 0;
    SplitLines(text, length, options.tabSize, sourceLines, sourceWidth, breaks);
    decoding.cells = true;
    decoding.arrow = '\0';
    ModernAnsiOptions ansi;
    ansi.iceColours = CarriesIceFlag(fresh.sauce);
    ansi.utf8 = utf8 ? &decoding : nullptr;
    InterpretModernAnsi(sourceLines, fresh, ansi);
    return;
  }
  if (utf8) bytes.resize(DecodeUtf8(text, static_cast<std::size_t>(length), bytes.data(), decoding));
  fresh.text = std::move(bytes);
  SplitLines(fresh.text.data(), static_cast<std::int32_t>(fresh.text.size()), options.tabSize, fresh.lines, fresh.width,
             breaks);
  DetectLinks(fresh);
}

ClassicHintScan ScanForHints(std::string_view bytes, const std::optional<SauceRecord>& sauce) {
  ClassicHintScan scan;
  scan.textEnd = TextEndBeforeSauce(bytes, sauce);
  scan.metadataFFs = static_cast<std::size_t>(std::count(bytes.begin() + scan.textEnd, bytes.end(), '\xFF'));
  scan.utf8Mark = HasUtf8Mark(bytes);
  return scan;
}

std::uint32_t ClassicHints(std::string_view cleaned, const ClassicHintScan& before, const TextScan& scan,
                           const std::optional<SauceRecord>& sauce, bool supportAnsi) {
  std::uint32_t hints = 0;
  // Cleaning made every 0xFF a blank: only where none stood in the text
  // itself does the cleaned text answer the UTF-8 question for the file.
  if (before.utf8Mark || (scan.highBytes && scan.ffCount == before.metadataFFs &&
                          IsUtf8Text(cleaned.substr(0, std::min(before.textEnd, cleaned.size()))))) {
    hints |= kUtf8Text;
  }
  if (sauce && !sauce->comments.empty()) hints |= kSauceComments;
  const bool modernAnsi = supportAnsi && (scan.ansiEscape || scan.oscEscape);
  if (modernAnsi && CarriesIceFlag(sauce)) hints |= kIceColours;
  if (modernAnsi && scan.oscEscape) hints |= kOscStrings;
  return hints;
}

}  // namespace mosaikon
