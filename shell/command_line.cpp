// The command-line file name and hand-over decoding rules.
#include "shell/command_line.h"

#include <cstring>

namespace mosaikon {

std::string CommandLineFileName(std::string_view commandLine) {
  if (commandLine.empty() || commandLine.front() != '"') return std::string(commandLine);
  std::string_view rest = commandLine.substr(1);
  // The closing quote is assumed to be the last byte; nothing checks that it is.
  if (!rest.empty()) rest.remove_suffix(1);
  return std::string(rest);
}

std::optional<std::string> DecodeHandOver(const void* data, std::uint32_t byteCount) {
  if (byteCount == 0 || data == nullptr) return std::nullopt;
  const std::uint32_t n = byteCount < kMaxHandOverBytes ? byteCount : kMaxHandOverBytes;
  const char* bytes = static_cast<const char*>(data);
  // The receiver treats the bytes as a C string, so an embedded NUL ends the path.
  const void* nul = std::memchr(bytes, '\0', n);
  const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : n;
  return std::string(bytes, length);
}

}  // namespace mosaikon
