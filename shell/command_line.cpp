// The command-line file name and the hand-over records.
#include "shell/command_line.h"

#include <algorithm>
#include <cstring>

#include "common/system.h"
#include "common/utf8.h"

namespace mosaikon {

std::string_view CommandLineArguments(std::string_view commandLine) {
  std::size_t at = 0;
  bool quoted = false;
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (at < commandLine.size() && (quoted || !blank(commandLine[at]))) {
    if (commandLine[at] == '"') quoted = !quoted;
    ++at;
  }
  while (at < commandLine.size() && blank(commandLine[at])) ++at;
  return commandLine.substr(at);
}

std::string CommandLineFileName(std::string_view arguments) {
  if (arguments.empty() || arguments.front() != '"') return std::string(arguments);
  // The closing quote is assumed to be the last character; nothing checks that it is.
  return std::string(WithoutLastCharacter(arguments.substr(1)));
}

HandOver DecodeHandOver(const void* data, std::uint32_t byteCount) {
  if (byteCount == 0 || data == nullptr) return {};
  const char* bytes = static_cast<const char*>(data);
  // Only the bytes a path may have are looked at, however many were sent.
  const std::size_t scanned = std::min<std::size_t>(byteCount, kMaxHandOverBytes + 1);
  const void* nul = std::memchr(bytes, '\0', scanned);
  const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : scanned;
  if (length > kMaxHandOverBytes) return {HandOver::Kind::kTooLong, {}};
  return {HandOver::Kind::kOpen, AnsiToUtf8(std::string_view(bytes, length))};
}

HandOver DecodeWideHandOver(const void* data, std::uint32_t byteCount) {
  const std::size_t count = byteCount / sizeof(char16_t);
  if (count == 0 || data == nullptr) return {};
  // The record's bytes need not be aligned for char16_t.
  const std::size_t scanned = std::min<std::size_t>(count, kMaxHandOverBytes + 1);
  std::u16string units(scanned, u'\0');
  std::memcpy(units.data(), data, scanned * sizeof(char16_t));
  units.resize(std::min(units.find(u'\0'), units.size()));
  if (units.size() > kMaxHandOverBytes) return {HandOver::Kind::kTooLong, {}};
  return {HandOver::Kind::kOpen, Utf16ToUtf8(units)};
}

HandOverRecord EncodeHandOver(std::string_view path) {
  if (std::optional<std::string> ansi = Utf8ToAnsi(path)) return {kNarrowHandOver, std::move(*ansi)};
  const std::u16string units = Utf8ToUtf16(path);
  std::string bytes(units.size() * sizeof(char16_t), '\0');
  std::memcpy(bytes.data(), units.data(), bytes.size());
  return {kWideHandOver, std::move(bytes)};
}

}  // namespace mosaikon
