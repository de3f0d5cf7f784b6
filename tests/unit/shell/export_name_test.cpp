// The name Export as Image proposes.
#include "shell/export_name.h"

#include <gtest/gtest.h>

#include <array>

namespace mosaikon {
namespace {

TEST(DefaultExportName, TakesTheFilesFolderAndSwapsItsLastExtensionForPng) {
  // Path, folder, file name.
  for (auto [path, folder, fileName] : {std::array{"C:\\art\\cat.ans", "C:\\art\\", "cat.png"},
                                        {"C:\\a.d\\read.me.txt", "C:\\a.d\\", "read.me.png"},
                                        {"C:\\a.d\\noext", "C:\\a.d\\", "noext.png"},
                                        {"rel/.nfo", "rel/", ".nfo.png"},
                                        {"cat.", "", "cat.png"},
                                        {"C:\\", "C:\\", "image.png"}}) {
    const ExportName name = DefaultExportName(path);
    EXPECT_EQ(name.folder, folder) << path;
    EXPECT_EQ(name.fileName, fileName) << path;
  }
}

}  // namespace
}  // namespace mosaikon
