// What start-up and the running window make of the texts that reach them from
// outside: the file name on the command line, and the path that a second copy
// of the program hands over to the running one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mosaikon {

// The longest path a hand-over carries, in bytes; longer ones are cut.
constexpr std::uint32_t kMaxHandOverBytes = 259;

// The file name given on the command line (the text after the program's own
// name). A line that starts with a double quote loses it and its last byte,
// whatever that is; any other line is taken as it stands, blanks included.
std::string CommandLineFileName(std::string_view commandLine);

// The path carried by a hand-over record of `byteCount` bytes at `data`: at
// most kMaxHandOverBytes of them, ending at the first NUL. None when the record
// carries no bytes (or no buffer), in which case the receiver does nothing.
std::optional<std::string> DecodeHandOver(const void* data, std::uint32_t byteCount);

}  // namespace mosaikon
