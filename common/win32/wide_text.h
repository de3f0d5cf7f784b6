// Where the program's UTF-8 strings meet the system's wide-character
// functions: paths, and texts shown beside them.
#pragma once

#include <string>
#include <string_view>

#include "common/system.h"
#include "common/utf8.h"

namespace mosaikon {

inline std::wstring Wide(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  return std::wstring(units.begin(), units.end());
}

inline std::string Utf8(std::wstring_view wide) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// A text of the ANSI code page (a resource string, say) for a wide function.
inline std::wstring WideFromAnsi(std::string_view ansi) {
  return Wide(AnsiToUtf8(ansi));
}

}  // namespace mosaikon
