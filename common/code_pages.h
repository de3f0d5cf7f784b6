// Conversions between UTF-16 and the Chinese double-byte code pages the view
// shows in its GB2312 and Big5 modes (936 and 950). The system's own tables
// do the work: Win32 on Windows, iconv natively.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mosaikon {

constexpr std::uint32_t kCodePageGb2312 = 936;
constexpr std::uint32_t kCodePageBig5 = 950;

// UTF-16 code units of the Basic Multilingual Plane to `codePage`, without
// best-fit substitutes: a character the code page lacks becomes one "?".
std::string WideToCodePage(std::uint32_t codePage, std::u16string_view units);

// Bytes of `codePage` to UTF-16; bytes that form no character of the code
// page come out as the system's stand-in character.
std::u16string CodePageToWide(std::uint32_t codePage, std::string_view bytes);

}  // namespace mosaikon
