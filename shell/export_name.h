// What the Save dialog of Export as Image proposes: the folder of the file on
// display, and its name with the extension .png in place of its own.
#pragma once

#include <string>
#include <string_view>

namespace mosaikon {

struct ExportName {
  std::string folder;    // up to and including the last separator; empty for a bare name
  std::string fileName;  // "cat.ans" gives "cat.png"
};

ExportName DefaultExportName(std::string_view documentPath);

}  // namespace mosaikon
