// Storage of "key=value" settings in sections of an INI file: the profile API
// (GetPrivateProfile*/WritePrivateProfile*) in the program. The settings code
// sees only this interface, so it can be tested on a store held in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace mosaikon {

class IniStore {
 public:
  virtual ~IniStore() = default;

  // The number the value begins with (optional sign, decimal digits), 0 when
  // it begins with no number, or `defaultValue` when the file, section or key
  // is missing.
  virtual std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t defaultValue) const = 0;

  // The value, at most `bufferSize` - 1 bytes of it, or `defaultValue` when
  // the file, section or key is missing.
  virtual std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                std::size_t bufferSize) const = 0;

  // Replaces the key's value in place, or appends the key at the end of its
  // section, creating the section and the file as needed.
  virtual bool WriteString(std::string_view section, std::string_view key, std::string_view value) = 0;

  // Removes every key of the section.
  virtual bool ClearSection(std::string_view section) = 0;
};

// The store for the INI file at `path` (Windows builds only).
std::unique_ptr<IniStore> OpenIniStore(const std::string& path);

}  // namespace mosaikon
