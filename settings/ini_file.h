// A portable INI file reader and writer with the rules of the platform's
// profile functions: "[section]" headers, "key=value" lines, names compared
// without regard to ASCII letter case. The file is read again on every call,
// because several copies of the program share it.
#pragma once

#include <string>

#include "settings/ini_store.h"

namespace mosaikon {

// Values are read with their surrounding blanks removed and, like the profile
// functions, without one pair of matching quotes around them; values are
// written without surrounding blanks. Lines this class does not change
// (comments starting with ";", blank lines, other sections) are kept byte for
// byte; new lines end with CR LF. A change is written to a temporary file that
// then replaces the original, so a failed write leaves the old file intact.
class IniFile : public IniStore {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }

  std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t defaultValue) const override;
  std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                        std::size_t bufferSize) const override;
  // Refuses (returns false) names or values that would break the line
  // structure: line breaks anywhere, "]" in a section name, "=" in a key, a key
  // starting with "[" or ";", or an empty name.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;
  // Removes the key lines of the section; its header, comments and blank
  // lines stay. A missing file or section is left as it is.
  bool ClearSection(std::string_view section) override;

 private:
  std::string path_;
};

// The number `text` begins with: optional blanks, an optional sign, decimal
// digits; 0 when there are no digits. Digits beyond 32 bits wrap around, as
// the platform's conversion does, so "4294967295" reads as -1.
std::int32_t LeadingInteger(std::string_view text);

}  // namespace mosaikon
