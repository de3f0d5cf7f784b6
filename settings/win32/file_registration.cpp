// The registry side of the file type registration: the plan's steps carried
// out on the system's registry.
#include "settings/win32/file_registration.h"

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <optional>
#include <string>

#include "settings/file_association.h"
#include "settings/win32/settings.h"

namespace mosaikon {

namespace {

class SystemRegistry final : public Registry {
 public:
  std::optional<std::string> GetText(RegistryRoot root, const std::string& key,
                                     const std::string& name) const override {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(Root(root), key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return std::nullopt;
    std::optional<std::string> text;
    DWORD type = 0, size = 0;
    // Read as stored: an expandable string is kept unexpanded.
    if (RegQueryValueExA(opened, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
      std::string value(size + 1, '\0');
      if (RegQueryValueExA(opened, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &size) ==
          ERROR_SUCCESS) {
        value.resize(std::min<std::size_t>(size, value.size()));
        while (!value.empty() && value.back() == '\0') value.pop_back();
        text = std::move(value);
      }
    }
    RegCloseKey(opened);
    return text;
  }

  bool SetText(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text) override {
    // The size counts the terminating zero, as REG_SZ readers expect.
    return SHSetValueA(Root(root), key.c_str(), name.c_str(), REG_SZ, text.c_str(),
                       static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  }

  bool CreateKey(RegistryRoot root, const std::string& key) override {
    HKEY created = nullptr;
    if (RegCreateKeyExA(Root(root), key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr) != ERROR_SUCCESS)
      return false;
    RegCloseKey(created);
    return true;
  }

  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override {
    const LSTATUS status = SHDeleteValueA(Root(root), key.c_str(), name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }

  bool DeleteKeyIfEmpty(RegistryRoot root, const std::string& key) override {
    // SHDeleteEmptyKeyA deletes a key without subkeys whatever values it
    // holds, so the values are counted first.
    HKEY opened = nullptr;
    if (RegOpenKeyExA(Root(root), key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return true;
    DWORD subkeys = 0, values = 0;
    const bool counted = RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                          nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(opened);
    if (!counted || subkeys != 0 || values != 0) return false;
    return RegDeleteKeyA(Root(root), key.c_str()) == ERROR_SUCCESS;
  }

  void NotifyAssociations() override { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); }

 private:
  static HKEY Root(RegistryRoot root) {
    return root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT;
  }
};

}  // namespace

void RegisterFileTypes(std::string_view newList, std::optional<std::string_view> oldList) {
  const std::string& exe = TheSettings().modulePath;
  // Without the executable's path there is no command to register.
  if (exe.empty()) return;
  SystemRegistry registry;
  CarryOut(PlanFileTypeRegistration(exe, newList, oldList), registry);
}

}  // namespace mosaikon
