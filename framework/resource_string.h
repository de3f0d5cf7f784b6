// Strings of the resource module's string table.
#pragma once

#include <windows.h>

#include <string>

#include "framework/window.h"

namespace mosaikon {

// String `id` of the resource module, at most `bufferSize` - 1 bytes of it;
// empty when the module has no such string.
inline std::string LoadResourceString(UINT id, int bufferSize = 256) {
  std::string text(static_cast<std::size_t>(bufferSize), '\0');
  const int length = LoadStringA(ResourceModule(), id, text.data(), bufferSize);
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return text;
}

}  // namespace mosaikon
