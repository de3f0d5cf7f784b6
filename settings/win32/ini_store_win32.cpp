// The INI store of the Windows build: the platform's profile functions, which
// read the file again when it has changed and write it through at once, each
// call under a lock that all copies of the program share: a write empties the
// file before it writes it anew, and another copy reading it meanwhile would
// find keys missing.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/string_util.h"
#include "settings/ini_store.h"

namespace mosaikon {

namespace {

// Long enough for any copy to finish reading or rewriting a settings file.
constexpr DWORD kIniLockWaitMs = 5000;

HANDLE IniMutex() {
  static const HANDLE mutex = CreateMutexA(nullptr, FALSE, "MosaikonIniLock");
  return mutex;
}

// The IniLocks of this thread alive now: only the outermost waits for the
// mutex, so a batch of reads under one lock costs one wait.
thread_local int heldLocks = 0;

class ProfileIniStore : public IniStore {
 public:
  explicit ProfileIniStore(std::string path) : path_(std::move(path)) {}

  std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t defaultValue) const override {
    const IniLock lock;
    // The platform returns the signed value through an unsigned type.
    return static_cast<std::int32_t>(
        GetPrivateProfileIntA(std::string(section).c_str(), std::string(key).c_str(), defaultValue, path_.c_str()));
  }

  std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                        std::size_t bufferSize) const override {
    if (bufferSize == 0) return {};
    const IniLock lock;
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
    const IniLock lock;
    return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), text.c_str(),
                                      path_.c_str()) != FALSE;
  }

  bool ClearSection(std::string_view section) override {
    const IniLock lock;
    // An empty key list: the literal supplies the two terminating NULs.
    return WritePrivateProfileSectionA(std::string(section).c_str(), "\0", path_.c_str()) != FALSE;
  }

  std::vector<std::string> Lines(std::string_view section) const override {
    const IniLock lock;
    // "key=value" strings, each ended by a NUL and the last by two; a section
    // that does not fit is cut to size - 2, so the buffer grows until it fits.
    const std::string name(section);
    std::string buffer(4096, '\0');
    DWORD length = 0;
    for (;;) {
      length = GetPrivateProfileSectionA(name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), path_.c_str());
      if (length + 2 < buffer.size() || buffer.size() >= kMaxIniValue) break;
      buffer.resize(buffer.size() * 2);
    }
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < length;) {
      const std::size_t end = buffer.find('\0', start);
      if (end == std::string::npos || end >= length) break;
      lines.push_back(buffer.substr(start, end - start));
      start = end + 1;
    }
    return lines;
  }

 private:
  std::string path_;
};

}  // namespace

std::unique_ptr<IniStore> OpenIniStore(const std::string& path) {
  return std::make_unique<ProfileIniStore>(path);
}

IniLock::IniLock() : mutex_(nullptr) {
  if (heldLocks++ > 0) return;
  HANDLE mutex = IniMutex();
  // An abandoned mutex (its holder died) is held all the same.
  const DWORD waited = mutex ? WaitForSingleObject(mutex, kIniLockWaitMs) : WAIT_FAILED;
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) mutex_ = mutex;
}

IniLock::~IniLock() {
  --heldLocks;
  if (mutex_) ReleaseMutex(mutex_);
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
