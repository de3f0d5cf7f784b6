// The registry side of the file type registration: the plan's steps carried
// out with the shell's registry helpers.
#include "settings/win32/file_registration.h"

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include "settings/file_association.h"
#include "settings/win32/settings.h"

namespace mosaikon {

void RegisterFileTypes(std::string_view newList, std::optional<std::string_view> oldList) {
  const std::string& exe = TheSettings().modulePath;
  // Without the executable's path there is no command to register.
  if (exe.empty()) return;
  bool commandWritten = false;
  for (const RegistryStep& step : PlanFileTypeRegistration(exe, newList, oldList)) {
    HKEY root = step.root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT;
    switch (step.action) {
      case RegistryStep::Action::kSetDefault: {
        if (step.needsCommand && !commandWritten) break;
        // The size counts the terminating zero, as REG_SZ readers expect.
        const bool written = SHSetValueA(root, step.key.c_str(), nullptr, REG_SZ, step.text.c_str(),
                                         static_cast<DWORD>(step.text.size() + 1)) == ERROR_SUCCESS;
        if (step.isCommand) commandWritten = written;
        break;
      }
      case RegistryStep::Action::kDeleteValue:
        SHDeleteValueA(root, step.key.c_str(), step.text.c_str());
        break;
      case RegistryStep::Action::kDeleteTree:
        SHDeleteKeyA(root, step.key.c_str());
        break;
      case RegistryStep::Action::kNotifyAssociations:
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
        break;
    }
  }
}

}  // namespace mosaikon
