// What start-up and the running window make of the texts that reach them from
// outside: the file name on the command line, and the path that a second copy
// of the program hands over to the running one. Paths come out in UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mosaikon {

// The longest path a hand-over carries, in bytes of the ANSI code page or in
// UTF-16 code units: a path buffer of 260 with its terminating NUL, as the
// system's own file functions take.
constexpr std::uint32_t kMaxHandOverBytes = 259;

// The text after the program's own name in the whole command line, as the
// start-up code of a program finds it: the name ends at the first blank or
// control character outside double quotes, and the blanks after it go too.
std::string_view CommandLineArguments(std::string_view commandLine);

// The file name given on the command line (the text after the program's own
// name), both UTF-8. A line that starts with a double quote loses it and its
// last character, whatever that is; any other line is taken as it stands,
// blanks included.
std::string CommandLineFileName(std::string_view arguments);

// What a hand-over record asks for: nothing (no bytes, or no buffer), a path
// to open, or a path longer than kMaxHandOverBytes. That one is refused as a
// direct start refuses it; cutting it would name another file.
struct HandOver {
  enum class Kind { kNothing, kOpen, kTooLong };
  Kind kind = Kind::kNothing;
  std::string path;  // kOpen only, UTF-8
  bool operator==(const HandOver&) const = default;
};

// The record's kind, in the record's own field for it. Older copies of the
// program send and take only narrow records, which say 0 there; a path the
// ANSI code page cannot hold travels in a wide record. A wide record without
// units asks whether the window takes wide records at all: a window that does
// answers kWideHandOverTaken, older ones answer 0 and ignore it (they ignore
// every empty record).
constexpr std::uint32_t kNarrowHandOver = 0;
constexpr std::uint32_t kWideHandOver = 0x4D4B5755;  // "MKWU"
constexpr std::uint32_t kWideHandOverTaken = 1;

// The hand-over in a narrow record of `byteCount` bytes at `data` (the ANSI
// code page); the path ends at the first NUL, as the receiver treats it as a
// C string.
HandOver DecodeHandOver(const void* data, std::uint32_t byteCount);

// The same for a wide record: UTF-16 code units up to the first NUL unit (an
// odd last byte does not count), at most kMaxHandOverBytes of them.
HandOver DecodeWideHandOver(const void* data, std::uint32_t byteCount);

// The record a second copy sends for `path` (UTF-8): narrow, exactly as
// older copies sent it, when the ANSI code page holds the path; else wide.
struct HandOverRecord {
  std::uint32_t kind = kNarrowHandOver;
  std::string bytes;  // without a terminating NUL
};
HandOverRecord EncodeHandOver(std::string_view path);

}  // namespace mosaikon
