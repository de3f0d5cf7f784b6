// File paths inside the program are UTF-8, so a name of any script survives
// the way from the system's wide file functions to the reader and back. The
// conversions keep every UTF-16 sequence a Windows name may hold, unpaired
// surrogates included (each becomes the three bytes its value would take),
// so a name read back is the name that was given.
#pragma once

#include <string>
#include <string_view>

namespace mosaikon {

std::string Utf16ToUtf8(std::u16string_view units);

// Bytes that are no part of a well-formed sequence become U+FFFD each.
std::u16string Utf8ToUtf16(std::string_view bytes);

// True when `bytes` converts to UTF-16 and back unchanged.
bool IsUtf8(std::string_view bytes);

// `path` without its last character: a whole UTF-8 sequence, not its last byte.
std::string_view WithoutLastCharacter(std::string_view path);

}  // namespace mosaikon
