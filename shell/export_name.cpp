// The proposed name of an exported image.
#include "shell/export_name.h"

namespace mosaikon {

ExportName DefaultExportName(std::string_view documentPath) {
  const std::size_t slash = documentPath.find_last_of("\\/:");
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  std::string_view name = documentPath.substr(nameStart);
  // A leading dot starts a name, not an extension.
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return {std::string(documentPath.substr(0, nameStart)), std::string(name.empty() ? "image" : name) + ".png"};
}

}  // namespace mosaikon
