// The list of recently viewed files: read from and written to section "MRU"
// of the INI file (keys 1..n, most recent first), one path moved to the top
// or dropped, and the menu text of each entry. Entries are UTF-8 paths; the
// INI holds them in the ANSI code page as older copies of the program wrote
// and read them, and only a path that code page cannot hold in a form of its
// own (see RecentFileIniValue).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

// Keys 1..limit of the section, empty values and unreadable UTF-8 forms
// skipped; values in the ANSI code page longer than 259 bytes are cut.
std::vector<std::string> ReadRecentFiles(const IniStore& ini, std::int32_t limit);

// Applies one path: an equal entry (exact bytes) is removed; an opened path
// goes to the front, the oldest entry making room when the list is full.
void ApplyRecentFile(std::vector<std::string>& files, const std::string& path, bool opened, std::int32_t limit);

// Makes the section hold exactly the entries, as keys 1..n: emptied, then
// written. Writes nothing when it holds them already.
void StoreRecentFiles(IniStore& ini, const std::vector<std::string>& files);

// Writes the entries as keys 1..n.
void WriteRecentFiles(IniStore& ini, const std::vector<std::string>& files);

// The INI value of a path: its bytes in the ANSI code page when the code page
// holds it, else "<utf-8:" + its UTF-8 bytes + ">", where every byte outside
// printable ASCII and every "%", "<", ">" and '"' is written "%XX". No path
// can begin with "<" (the system refuses the character in names), so an older
// copy takes such a value for a file it cannot open and a value written as
// today is never taken for this form; the closing ">" shows that a reader
// with a shorter buffer has not cut it, and the value passes through any code
// page unchanged.
std::string RecentFileIniValue(const std::string& path);
// The path of an INI value; nothing for a "<utf-8:" value that is cut or not
// well formed.
std::optional<std::string> RecentFileFromIniValue(std::string_view value);

// "&<k mod 10> <path>"; the path is not escaped.
std::string RecentFileMenuText(std::int32_t position, const std::string& path);

}  // namespace mosaikon
