// What start-up and the running window make of the texts that reach them from
// outside: the file name on the command line, and the path that a second copy
// of the program hands over to the running one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mosaikon {

// The longest path a hand-over carries, in bytes: a path buffer of 260 bytes
// with its terminating NUL, as the system's own file functions take.
constexpr std::uint32_t kMaxHandOverBytes = 259;

// The file name given on the command line (the text after the program's own
// name). A line that starts with a double quote loses it and its last byte,
// whatever that is; any other line is taken as it stands, blanks included.
std::string CommandLineFileName(std::string_view commandLine);

// What a hand-over record asks for: nothing (no bytes, or no buffer), a path
// to open, or a path longer than kMaxHandOverBytes. That one is refused as a
// direct start refuses it; cutting it would name another file.
struct HandOver {
  enum class Kind { kNothing, kOpen, kTooLong };
  Kind kind = Kind::kNothing;
  std::string path;  // kOpen only
  bool operator==(const HandOver&) const = default;
};

// The hand-over in a record of `byteCount` bytes at `data`; the path ends at
// the first NUL, as the receiver treats it as a C string.
HandOver DecodeHandOver(const void* data, std::uint32_t byteCount);

}  // namespace mosaikon
