// Recently viewed files: the list rules and their INI form.
#include "shell/recent_files.h"

#include <algorithm>

#include "common/system.h"
#include "common/utf8.h"

namespace mosaikon {
namespace {

constexpr std::string_view kUtf8Open = "<utf-8:";
constexpr std::string_view kUtf8Close = ">";
// A path of 259 UTF-16 units takes at most 777 bytes of UTF-8, each written
// in three characters at the most.
constexpr std::size_t kValueBufferSize = 4096;
// Values in the ANSI code page are read as the 260-byte buffer of older
// copies reads them.
constexpr std::size_t kAnsiPathBytes = 259;

bool Escaped(unsigned char byte) {
  return byte < 0x20 || byte >= 0x7F || byte == '%' || byte == '<' || byte == '>' || byte == '"';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::int32_t RecentFilesLimit(std::int32_t murFileNum) {
  return std::clamp(murFileNum, 1, kMaxRecentFiles);
}

std::vector<std::string> ReadRecentFiles(const IniStore& ini, std::int32_t limit) {
  std::vector<std::string> files;
  for (std::int32_t i = 1; i <= limit; ++i) {
    const std::string value = ini.GetString(kRecentFilesSection, std::to_string(i), "", kValueBufferSize);
    if (value.empty()) continue;
    if (std::optional<std::string> path = RecentFileFromIniValue(value)) files.push_back(std::move(*path));
  }
  return files;
}

void ApplyRecentFile(std::vector<std::string>& files, const std::string& path, bool opened, std::int32_t limit) {
  const auto found = std::find(files.begin(), files.end(), path);
  if (found != files.end()) {
    files.erase(found);
  } else if (opened) {
    // A hand-edited section may hold more than the limit; never grow past it.
    while (!files.empty() && static_cast<std::int32_t>(files.size()) >= limit) files.pop_back();
  }
  if (opened) files.insert(files.begin(), path);
}

void StoreRecentFiles(IniStore& ini, const std::vector<std::string>& files) {
  std::vector<std::string> values, lines;
  for (std::size_t i = 0; i < files.size(); ++i) {
    values.push_back(RecentFileIniValue(files[i]));
    lines.push_back(std::to_string(i + 1) + "=" + values.back());
  }
  // Opening the file at the top of the list again changes nothing, and a
  // rewrite of the whole file on every start would cost more than the rest
  // of the start's settings work together.
  if (ini.Lines(kRecentFilesSection) == lines) return;
  ini.ClearSection(kRecentFilesSection);
  for (std::size_t i = 0; i < values.size(); ++i)
    ini.WriteString(kRecentFilesSection, std::to_string(i + 1), values[i]);
}

void WriteRecentFiles(IniStore& ini, const std::vector<std::string>& files) {
  for (std::size_t i = 0; i < files.size(); ++i)
    ini.WriteString(kRecentFilesSection, std::to_string(i + 1), RecentFileIniValue(files[i]));
}

std::string RecentFileIniValue(const std::string& path) {
  if (std::optional<std::string> ansi = Utf8ToAnsi(path)) return std::move(*ansi);
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string value(kUtf8Open);
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (Escaped(byte)) {
      value += '%';
      value += kHex[byte >> 4];
      value += kHex[byte & 0x0F];
    } else {
      value += c;
    }
  }
  return value += kUtf8Close;
}

std::optional<std::string> RecentFileFromIniValue(std::string_view value) {
  if (!value.starts_with(kUtf8Open)) return AnsiToUtf8(value.substr(0, kAnsiPathBytes));
  if (!value.ends_with(kUtf8Close)) return std::nullopt;
  value = value.substr(kUtf8Open.size(), value.size() - kUtf8Open.size() - kUtf8Close.size());
  std::string path;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '%') {
      if (Escaped(static_cast<unsigned char>(value[i]))) return std::nullopt;
      path += value[i];
      continue;
    }
    const int high = i + 2 < value.size() ? HexDigit(value[i + 1]) : -1;
    const int low = high >= 0 ? HexDigit(value[i + 2]) : -1;
    if (low < 0) return std::nullopt;
    path += static_cast<char>(high << 4 | low);
    i += 2;
  }
  if (path.empty() || !IsUtf8(path)) return std::nullopt;
  return path;
}

std::string RecentFileMenuText(std::int32_t position, const std::string& path) {
  // Appended piece by piece: GCC 12 warns, wrongly, of an overlapping copy
  // in the chain of operator+ calls.
  std::string text = "&";
  text += std::to_string(position % 10);
  text += ' ';
  return text += path;
}

}  // namespace mosaikon
