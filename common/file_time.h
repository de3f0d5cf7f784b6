// A calendar time with the eight fields of the platform's SYSTEMTIME, in that
// order, so the Win32 side can copy it field by field.
#pragma once

#include <cstdint>

namespace mosaikon {

struct FileTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t dayOfWeek = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;

  friend bool operator==(const FileTime&, const FileTime&) = default;
};

}  // namespace mosaikon
