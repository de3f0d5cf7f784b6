// Recently viewed files: the list rules and their INI form.
#include "shell/recent_files.h"

#include <algorithm>

namespace mosaikon {

std::int32_t RecentFilesLimit(std::int32_t murFileNum) {
  return std::clamp(murFileNum, 1, kMaxRecentFiles);
}

std::vector<std::string> ReadRecentFiles(const IniStore& ini, std::int32_t limit) {
  std::vector<std::string> files;
  for (std::int32_t i = 1; i <= limit; ++i) {
    std::string value = ini.GetString(kRecentFilesSection, std::to_string(i), "", 260);
    if (!value.empty()) files.push_back(std::move(value));
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
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < files.size(); ++i) lines.push_back(std::to_string(i + 1) + "=" + files[i]);
  // Opening the file at the top of the list again changes nothing, and a
  // rewrite of the whole file on every start would cost more than the rest
  // of the start's settings work together.
  if (ini.Lines(kRecentFilesSection) == lines) return;
  ini.ClearSection(kRecentFilesSection);
  for (std::size_t i = 0; i < files.size(); ++i) ini.WriteString(kRecentFilesSection, std::to_string(i + 1), files[i]);
}

std::string RecentFileMenuText(std::int32_t position, const std::string& path) {
  std::string text = "&";
  text += std::to_string(position % 10);
  text += ' ';
  text += path;
  return text;
}

}  // namespace mosaikon
