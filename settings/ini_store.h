// Storage of "key=value" settings in sections of an INI file: the profile API
// (GetPrivateProfile*/WritePrivateProfile*) in the program. The settings code
// sees only this interface, so it can be tested on a store held in memory.
// Also: values read whole however long, and a store that writes nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/system.h"

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

  // The section's keys with their values, as "key=value" lines in file order.
  virtual std::vector<std::string> Lines(std::string_view section) const = 0;
};

// The longest value ReadWholeString reads, in bytes: far beyond any value the
// program writes, and a bound for a hand-edited file.
constexpr std::size_t kMaxIniValue = 1 << 20;

// The whole value, or `defaultValue` when it is missing: read with a buffer
// that grows until the value fits. A value that may be longer than
// kMaxIniValue - 2 bytes comes back as far as it was read, with `cut` set
// when given.
std::string ReadWholeString(const IniStore& ini, std::string_view section, std::string_view key,
                            std::string_view defaultValue, bool* cut = nullptr);

// `store` with every write refused, for an INI file that was there but could
// not be read: what the program holds then are defaults, and written back
// they would replace what the user set. Reads pass through.
std::unique_ptr<IniStore> ReadOnlyIniStore(std::unique_ptr<IniStore> store);

// The store for the INI file at `path` (Windows builds only). Every read and
// write holds an IniLock: copies of the program that start, hand over and
// exit together each rewrite the whole file, and one that read it while
// another was rewriting it would take keys for missing and write that back.
std::unique_ptr<IniStore> OpenIniStore(const std::string& path);

// While it lives, no other copy of the program reads or writes its INI file
// through the store (Windows builds only). A thread may hold several; a copy
// that hangs holding one delays the others a few seconds, no more.
class IniLock {
 public:
  IniLock();
  ~IniLock();
  IniLock(const IniLock&) = delete;
  IniLock& operator=(const IniLock&) = delete;

 private:
  void* mutex_;  // held, or null
};

// Why the file at `path` exists but cannot be opened for reading now (for
// example another program holds it open without sharing); 0 when it can be
// read or is not there (Windows builds only).
ErrorCode IniReadFailure(const std::string& path);

}  // namespace mosaikon
