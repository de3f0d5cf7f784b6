// Entry point of the end-to-end driver: takes the program's location from the
// command line, then runs the GoogleTest cases against it.
//   mosaikon_e2e_tests --exe=<Mosaikon.exe> [--font=<.fon>] [--language=<folder>]
//                      [--corpus=<folder>] [--png-check=<png_check.py>] [--setup=<setup.exe>]
//                      [--full-disk=<folder>]
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "viewer.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  auto& program = mosaikon::e2e::Program();
  const std::pair<std::string_view, std::string*> options[] = {
      {"--exe=", &program.exe},           {"--font=", &program.font},          {"--language=", &program.languageDir},
      {"--corpus=", &program.corpus},     {"--png-check=", &program.pngCheck}, {"--setup=", &program.setup},
      {"--full-disk=", &program.fullDisk}};
  for (int i = 1; i < argc; ++i) {
    for (auto [prefix, value] : options)
      if (std::string_view(argv[i]).starts_with(prefix)) *value = argv[i] + prefix.size();
  }
  if (program.exe.empty()) {
    std::fprintf(stderr, "usage: %s --exe=<Mosaikon.exe> [--font=<file>] [--language=<folder>]\n", argv[0]);
    return 2;
  }
  return RUN_ALL_TESTS();
}
