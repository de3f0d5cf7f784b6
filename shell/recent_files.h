// The list of recently viewed files: read from and written to section "MRU"
// of the INI file (keys 1..n, most recent first), one path moved to the top
// or dropped, and the menu text of each entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "settings/ini_store.h"

namespace mosaikon {

constexpr const char* kRecentFilesSection = "MRU";
// Entry k has command id ID_FILE_MRU_BASE + k; only ids up to
// ID_FILE_MRU_LAST are routed, so longer lists are never useful.
constexpr std::int32_t kMaxRecentFiles = ID_FILE_MRU_LAST - ID_FILE_MRU_BASE;

// The maximum list length for a MurFileNum value: at least 1, at most
// kMaxRecentFiles (a hand-edited value must not make every update read
// millions of keys).
std::int32_t RecentFilesLimit(std::int32_t murFileNum);

// Keys 1..limit of the section, empty values skipped; values longer than 259
// bytes are cut.
std::vector<std::string> ReadRecentFiles(const IniStore& ini, std::int32_t limit);

// Applies one path: an equal entry (exact bytes) is removed; an opened path
// goes to the front, the oldest entry making room when the list is full.
void ApplyRecentFile(std::vector<std::string>& files, const std::string& path, bool opened, std::int32_t limit);

// Makes the section hold exactly the entries, as keys 1..n: emptied, then
// written. Writes nothing when it holds them already.
void StoreRecentFiles(IniStore& ini, const std::vector<std::string>& files);

// "&<k mod 10> <path>"; the path is not escaped.
std::string RecentFileMenuText(std::int32_t position, const std::string& path);

}  // namespace mosaikon
