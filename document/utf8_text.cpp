// UTF-8 validation and decoding. Text is mostly ASCII or runs of three-byte
// box and block characters, so ASCII is passed eight bytes at a time and the
// rest goes through one table lookup per character.
#include "document/utf8_text.h"

#include <bit>
#include <cstring>
#include <string>

#include "common/code_pages.h"
#include "document/code_page_437.h"

namespace mosaikon {

namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080u;

inline std::uint64_t Load8(const unsigned char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, 8);
  return word;
}

inline bool Continuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The character at p (p < end, *p >= 0x80) and its length; length 0 when the
// bytes there start no complete valid character.
struct Decoded {
  char32_t character;
  std::size_t length;
};

inline Decoded DecodeOne(const unsigned char* p, const unsigned char* end) {
  const unsigned char lead = p[0];
  const std::size_t room = static_cast<std::size_t>(end - p);
  // Three bytes first: box drawing, blocks and shades are all there.
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (room < 3 || !Continuation(p[1]) || !Continuation(p[2])) return {0, 0};
    // No overlong forms below U+0800, no surrogates.
    if ((lead == 0xE0 && p[1] < 0xA0) || (lead == 0xED && p[1] > 0x9F)) return {0, 0};
    return {static_cast<char32_t>((lead & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F)), 3};
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    if (room >= 2 && Continuation(p[1])) return {static_cast<char32_t>((lead & 0x1F) << 6 | (p[1] & 0x3F)), 2};
    return {0, 0};
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (room < 4 || !Continuation(p[1]) || !Continuation(p[2]) || !Continuation(p[3])) return {0, 0};
    // No overlong forms below U+10000, nothing above U+10FFFF.
    if ((lead == 0xF0 && p[1] < 0x90) || (lead == 0xF4 && p[1] > 0x8F)) return {0, 0};
    return {static_cast<char32_t>((lead & 0x07) << 18 | (p[1] & 0x3F) << 12 | (p[2] & 0x3F) << 6 | (p[3] & 0x3F)), 4};
  }
  return {0, 0};
}

// The code page 437 byte of a character of two bytes or more.
inline char Cp437Byte(char32_t character, const std::uint8_t* table, const Utf8Decoding& how) {
  const std::uint8_t byte = character <= 0xFFFF ? table[character] : 0;
  if (byte == 0) return '?';
  if (byte == 0xFF) return ' ';
  if (byte < 0x20) {
    if (byte == 0x1A) return how.arrow;
    if (!how.cells && (byte == '\t' || byte == '\n' || byte == '\r')) return '?';
  }
  return static_cast<char>(byte);
}

// How many ASCII bytes start the eight at p: all eight, or those before the
// first byte of 0x80 or above.
inline std::size_t AsciiInWord(std::uint64_t word) {
  const std::uint64_t high = word & kHighBits;
  return high == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(high) >> 3);
}

inline bool HasZeroByte(std::uint64_t word) {
  return ((word - 0x0101010101010101u) & ~word & kHighBits) != 0;
}

// Characters for code pages 936 and 950 wait here, as UTF-16, until a byte
// below 0x80 or the end comes; then the system converts them at once. The
// output of those characters is never longer than their UTF-8 input, so
// decoding in place stays safe.
class DoubleByteWriter {
 public:
  DoubleByteWriter(std::uint32_t codePage, char*& out) : codePage_(codePage), out_(out) {}
  void Add(char32_t character) {
    pending_.push_back(static_cast<char16_t>(character));
    if (pending_.size() >= kMaxPending) Flush();
  }
  void Flush() {
    if (pending_.empty()) return;
    const std::string bytes = WideToCodePage(codePage_, pending_);
    std::memcpy(out_, bytes.data(), bytes.size());
    out_ += bytes.size();
    pending_.clear();
  }

 private:
  static constexpr std::size_t kMaxPending = 4096;
  std::uint32_t codePage_;
  char*& out_;
  std::u16string pending_;
};

}  // namespace

bool HasUtf8Mark(std::string_view bytes) {
  return bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF";
}

bool IsUtf8Text(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* const end = p + bytes.size();
  bool multibyte = false;
  while (p < end) {
    if (end - p >= 8) {
      const std::size_t ascii = AsciiInWord(Load8(p));
      p += ascii;
      if (ascii == 8) continue;
    } else if (*p < 0x80) {
      ++p;
      continue;
    }
    const Decoded decoded = DecodeOne(p, end);
    if (decoded.length == 0) return false;
    multibyte = true;
    p += decoded.length;
  }
  return multibyte;
}

std::size_t DecodeUtf8(const char* in, std::size_t count, char* out, const Utf8Decoding& how) {
  const auto* p = reinterpret_cast<const unsigned char*>(in);
  const unsigned char* const end = p + count;
  char* const start = out;
  const bool cp437 = how.decodeMode != 1 && how.decodeMode != 2;
  const std::uint8_t* const table = cp437 ? Cp437ByteTable() : nullptr;
  DoubleByteWriter doubleBytes(how.decodeMode == 2 ? kCodePageBig5 : kCodePageGb2312, out);
  while (p < end) {
    std::size_t ascii = 0;
    if (end - p >= 8) {
      // Up to eight ASCII bytes at once (in place the output moves back,
      // never ahead, and the word was read first); NUL is rare.
      std::uint64_t word = Load8(p);
      ascii = AsciiInWord(word);
      if (ascii > 0) {
        if (!cp437) doubleBytes.Flush();
        if (HasZeroByte(word)) {
          for (int k = 0; k < 8; ++k) {
            if ((word >> (8 * k) & 0xFF) == 0) word |= std::uint64_t{' '} << (8 * k);
          }
        }
        if (ascii == 8) {
          std::memcpy(out, &word, 8);
        } else {
          // Only the bytes taken: in place, the rest may still be input.
          for (std::size_t k = 0; k < ascii; ++k) out[k] = static_cast<char>(word >> (8 * k));
        }
        out += ascii;
        p += ascii;
        continue;
      }
    } else if (*p < 0x80) {
      if (!cp437) doubleBytes.Flush();
      *out++ = *p == 0 ? ' ' : static_cast<char>(*p);
      ++p;
      continue;
    }
    const Decoded decoded = DecodeOne(p, end);
    if (decoded.length == 0) {
      if (!cp437) doubleBytes.Flush();
      *out++ = '?';
      ++p;
      continue;
    }
    p += decoded.length;
    if (cp437) {
      *out++ = Cp437Byte(decoded.character, table, how);
    } else if (decoded.character > 0xFFFF) {
      doubleBytes.Flush();
      *out++ = '?';
    } else {
      doubleBytes.Add(decoded.character);
    }
  }
  doubleBytes.Flush();
  return static_cast<std::size_t>(out - start);
}

}  // namespace mosaikon
