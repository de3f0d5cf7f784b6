// The INI store of the native build: the portable INI file reader and writer.
#include <memory>

#include "settings/ini_file.h"
#include "settings/ini_store.h"

namespace mosaikon {

std::unique_ptr<IniStore> OpenIniStore(const std::string& path) {
  return std::make_unique<IniFile>(path);
}

}  // namespace mosaikon
