// The name Export as Image proposes.
#include "shell/export_name.h"

#include <gtest/gtest.h>

namespace mosaikon {
namespace {

TEST(DefaultExportName, TakesTheFilesFolderAndSwapsItsLastExtensionForPng) {
  struct Case {
    const char* path;
    const char* folder;
    const char* fileName;
  };
  for (Case c : {Case{"C:\\art\\cat.ans", "C:\\art\\", "cat.png"},
                 {"C:\\art.d\\read.me.txt", "C:\\art.d\\", "read.me.png"},
                 {"C:\\art.d\\noext", "C:\\art.d\\", "noext.png"},
                 {"rel/dir/.nfo", "rel/dir/", ".nfo.png"},
                 {"cat.ans", "", "cat.png"},
                 {"C:cat.", "C:", "cat.png"},
                 {"C:\\", "C:\\", "image.png"}}) {
    const ExportName name = DefaultExportName(c.path);
    EXPECT_EQ(name.folder, c.folder) << c.path;
    EXPECT_EQ(name.fileName, c.fileName) << c.path;
  }
}

}  // namespace
}  // namespace mosaikon
