// Title, pane, prompt and tooltip texts of the main frame.
#include "shell/status_texts.h"

#include <cstdio>

namespace mosaikon {

std::string TitleText(std::string_view appName, std::string_view path) {
  std::string title(appName);
  if (!path.empty()) {
    title += " - ";
    title += path;
  }
  return title;
}

std::string ModifyTimeText(std::string_view label, const FileTime& time) {
  return std::string(label) + ": " + FileTimeText(time);
}

std::string FileTimeText(const FileTime& time) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                time.minute, time.second);
  return buffer;
}

std::string FileSizeText(std::string_view label, std::uint32_t size) {
  // Shown unsigned: a file between 2 and 4 GiB must not show a negative size.
  return std::string(label) + ": " + std::to_string(size);
}

std::uint32_t MenuPromptStringId(std::uint32_t commandId) {
  if (commandId >= 0xF000 && commandId <= 0xF1EF) return (commandId - 0xF000) / 16 + 0xEF00;
  if (commandId >= 0xE110 && commandId <= 0xE11F) return 0xEFDA;
  if (commandId >= 0xFF00) return 0xEF1F;
  return commandId;
}

std::string PromptFromCommandString(std::string_view text) {
  return std::string(text.substr(0, text.find('\n')));
}

std::string TooltipFromCommandString(std::string_view text) {
  const std::size_t newline = text.find('\n');
  if (newline == std::string_view::npos) return {};
  return std::string(text.substr(newline + 1, kMaxTooltipChars));
}

}  // namespace mosaikon
