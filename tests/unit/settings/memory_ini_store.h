// An INI store held in memory, for testing the code that reads and writes
// settings without a file. It keeps the rules callers rely on: the default
// for a missing key, the number a value begins with, values cut to the
// buffer, replacement in place and appending at the end of a section.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/ini_store.h"

namespace mosaikon::testing {

class MemoryIniStore : public IniStore {
 public:
  std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t defaultValue) const override {
    const std::string* value = Find(section, key);
    return value ? static_cast<std::int32_t>(std::strtol(value->c_str(), nullptr, 10)) : defaultValue;
  }

  std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                        std::size_t bufferSize) const override {
    const std::string* value = Find(section, key);
    return std::string(value ? *value : defaultValue).substr(0, bufferSize - 1);
  }

  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override {
    if (const std::string* existing = Find(section, key)) {
      const_cast<std::string&>(*existing) = value;
      return true;
    }
    // After the section's last key; a new section goes at the end.
    const auto last =
        std::find_if(entries_.rbegin(), entries_.rend(), [&](const Entry& e) { return e.section == section; });
    entries_.insert(last == entries_.rend() ? entries_.end() : last.base(),
                    {std::string(section), std::string(key), std::string(value)});
    return true;
  }

  bool ClearSection(std::string_view section) override {
    std::erase_if(entries_, [&](const Entry& e) { return e.section == section; });
    return true;
  }

  std::vector<std::string> Lines(std::string_view section) const override {
    std::vector<std::string> lines;
    for (const Entry& e : entries_) {
      if (e.section == section) lines.push_back(e.key + "=" + e.value);
    }
    return lines;
  }

 private:
  struct Entry {
    std::string section;
    std::string key;
    std::string value;
  };

  const std::string* Find(std::string_view section, std::string_view key) const {
    for (const Entry& e : entries_) {
      if (e.section == section && e.key == key) return &e.value;
    }
    return nullptr;
  }

  std::vector<Entry> entries_;
};

}  // namespace mosaikon::testing
