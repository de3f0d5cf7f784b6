// The INI store of the Windows build: the platform's profile functions, which
// read the file again on every call and write it through at once.
#include <windows.h>

#include <memory>
#include <string>

#include "common/string_util.h"
#include "settings/ini_store.h"

namespace mosaikon {

namespace {

class ProfileIniStore : public IniStore {
 public:
  explicit ProfileIniStore(std::string path) : path_(std::move(path)) {}

  std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t defaultValue) const override {
    // The platform returns the signed value through an unsigned type.
    return static_cast<std::int32_t>(
        GetPrivateProfileIntA(std::string(section).c_str(), std::string(key).c_str(), defaultValue, path_.c_str()));
  }

  std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                        std::size_t bufferSize) const override {
    if (bufferSize == 0) return {};
    std::string buffer(bufferSize, '\0');
    const DWORD length = GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                                  std::string(defaultValue).c_str(), buffer.data(),
                                                  static_cast<DWORD>(bufferSize), path_.c_str());
    buffer.resize(length < bufferSize ? length : bufferSize - 1);
    return buffer;
  }

  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override {
    // WritePrivateProfileStringA writes line breaks inside a value as they
    // are, which would plant new keys or sections in the file; such values
    // are refused. Surrounding blanks are lost on reading anyway.
    std::string text(value);
    Trim(text);
    if (text.find_first_of("\r\n") != std::string::npos) return false;
    return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), text.c_str(),
                                      path_.c_str()) != FALSE;
  }

  bool ClearSection(std::string_view section) override {
    // An empty key list: the literal supplies the two terminating NULs.
    return WritePrivateProfileSectionA(std::string(section).c_str(), "\0", path_.c_str()) != FALSE;
  }

 private:
  std::string path_;
};

}  // namespace

std::unique_ptr<IniStore> OpenIniStore(const std::string& path) {
  return std::make_unique<ProfileIniStore>(path);
}

ErrorCode IniReadFailure(const std::string& path) {
  // Shared as the profile functions share it, so only a file that they could
  // not read either fails here.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return 0;
  }
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : error;
}

}  // namespace mosaikon
