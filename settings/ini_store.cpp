// Values read whole from an INI store, and the store that writes nothing.
#include "settings/ini_store.h"

#include <algorithm>

namespace mosaikon {

namespace {

constexpr std::size_t kFirstBuffer = 1024;

class ReadOnlyStore final : public IniStore {
 public:
  explicit ReadOnlyStore(std::unique_ptr<IniStore> store) : store_(std::move(store)) {}

  std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t defaultValue) const override {
    return store_->GetInt(section, key, defaultValue);
  }
  std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                        std::size_t bufferSize) const override {
    return store_->GetString(section, key, defaultValue, bufferSize);
  }
  bool WriteString(std::string_view, std::string_view, std::string_view) override { return false; }
  bool ClearSection(std::string_view) override { return false; }
  std::vector<std::string> Lines(std::string_view section) const override { return store_->Lines(section); }

 private:
  std::unique_ptr<IniStore> store_;
};

}  // namespace

std::string ReadWholeString(const IniStore& ini, std::string_view section, std::string_view key,
                            std::string_view defaultValue, bool* cut) {
  std::size_t buffer = kFirstBuffer;
  for (;;) {
    std::string value = ini.GetString(section, key, defaultValue, buffer);
    // A value that filled the buffer may have been cut; the profile functions
    // may also leave out a double-byte character that did not fit whole, so
    // one byte short of full counts as full too.
    const bool full = value.size() + 2 >= buffer;
    if (!full || buffer >= kMaxIniValue) {
      if (cut) *cut = full;  // at the bound: whether it was cut cannot be told, so it may have been
      return value;
    }
    buffer = std::min(buffer * 2, kMaxIniValue);
  }
}

std::unique_ptr<IniStore> ReadOnlyIniStore(std::unique_ptr<IniStore> store) {
  return std::make_unique<ReadOnlyStore>(std::move(store));
}

}  // namespace mosaikon
