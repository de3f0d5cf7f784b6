// UTF-8 and UTF-16 conversions that keep unpaired surrogates.
#include "common/utf8.h"

namespace mosaikon {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t value) {
  if (value < 0x80) {
    out += static_cast<char>(value);
  } else if (value < 0x800) {
    out += static_cast<char>(0xC0 | (value >> 6));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else if (value < 0x10000) {
    out += static_cast<char>(0xE0 | (value >> 12));
    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (value >> 18));
    out += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  }
}

// The value of the sequence at `bytes[at]` and its length, or length 0 for a
// byte that starts no well-formed sequence (overlong forms and values above
// U+10FFFF are not well formed; surrogate values are taken).
struct Decoded {
  char32_t value = 0;
  std::size_t length = 0;
};
Decoded DecodeAt(std::string_view bytes, std::size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t value = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, least = 0x10000;
  } else {
    return {};
  }
  if (bytes.size() - at < length) return {};
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(bytes[at + i]);
    if ((next & 0xC0) != 0x80) return {};
    value = value << 6 | (next & 0x3F);
  }
  if (value < least || value > 0x10FFFF) return {};
  return {value, length};
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t value = units[i];
    if (IsHighSurrogate(value) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      value = 0x10000 + ((value - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(out, value);
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const Decoded decoded = DecodeAt(bytes, at);
    if (decoded.length == 0) {
      out += kReplacement;
      ++at;
      continue;
    }
    if (decoded.value >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((decoded.value - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((decoded.value - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(decoded.value);
    }
    at += decoded.length;
  }
  return out;
}

bool IsUtf8(std::string_view bytes) {
  return Utf16ToUtf8(Utf8ToUtf16(bytes)) == bytes;
}

std::string_view WithoutLastCharacter(std::string_view path) {
  if (path.empty()) return path;
  std::size_t start = path.size() - 1;
  // Back over continuation bytes to the lead byte, as far as a sequence reaches.
  while (start > 0 && path.size() - start < 4 && (static_cast<unsigned char>(path[start]) & 0xC0) == 0x80) --start;
  if (DecodeAt(path, start).length != path.size() - start) start = path.size() - 1;
  return path.substr(0, start);
}

}  // namespace mosaikon
