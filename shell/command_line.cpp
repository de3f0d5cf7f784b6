// The command-line file name and hand-over decoding rules.
#include "shell/command_line.h"

#include <algorithm>
#include <cstring>

namespace mosaikon {

std::string CommandLineFileName(std::string_view commandLine) {
  if (commandLine.empty() || commandLine.front() != '"') return std::string(commandLine);
  std::string_view rest = commandLine.substr(1);
  // The closing quote is assumed to be the last byte; nothing checks that it is.
  if (!rest.empty()) rest.remove_suffix(1);
  return std::string(rest);
}

HandOver DecodeHandOver(const void* data, std::uint32_t byteCount) {
  if (byteCount == 0 || data == nullptr) return {};
  const char* bytes = static_cast<const char*>(data);
  // Only the bytes a path may have are looked at, however many were sent.
  const std::size_t scanned = std::min<std::size_t>(byteCount, kMaxHandOverBytes + 1);
  const void* nul = std::memchr(bytes, '\0', scanned);
  const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : scanned;
  if (length > kMaxHandOverBytes) return {HandOver::Kind::kTooLong, {}};
  return {HandOver::Kind::kOpen, std::string(bytes, length)};
}

}  // namespace mosaikon
