// The saved window placement ("WindowPos" in the INI file): ten numbers,
// the flags and show command unsigned, the eight coordinates signed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mosaikon {

struct WindowPos {
  std::uint32_t flags = 0;
  std::uint32_t showCommand = 0;
  std::int32_t minX = 0;
  std::int32_t minY = 0;
  std::int32_t maxX = 0;
  std::int32_t maxY = 0;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  friend bool operator==(const WindowPos&, const WindowPos&) = default;
};

// The show command a stored placement is restored with: maximised when it was
// stored maximised, or minimised from a maximised window; normal otherwise.
// A stored hidden or minimised state, or a number that is no show command,
// would start the viewer without a usable window.
std::uint32_t RestoredShowCommand(const WindowPos& pos);

// "flags,show,minX,minY,maxX,maxY,left,top,right,bottom".
std::string FormatWindowPos(const WindowPos& pos);

// Reads the ten numbers the way a scanf of the same format does: white space
// may precede each number, the commas must follow directly, anything after
// the tenth number is ignored, and out-of-range numbers wrap to 32 bits.
// None unless all ten are there.
std::optional<WindowPos> ParseWindowPos(std::string_view text);

}  // namespace mosaikon
