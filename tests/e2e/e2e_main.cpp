// Entry point of the end-to-end driver: takes the program's location from the
// command line, then runs the GoogleTest cases against it.
//   mosaikon_e2e_tests --exe=<Mosaikon.exe> [--font=<.fon>] [--language=<folder>]
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "viewer_session.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  auto& program = mosaikon::e2e::Program();
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    auto value = [&](const char* prefix) { return argument.substr(std::string(prefix).size()); };
    if (argument.rfind("--exe=", 0) == 0)
      program.exe = value("--exe=");
    else if (argument.rfind("--font=", 0) == 0)
      program.font = value("--font=");
    else if (argument.rfind("--language=", 0) == 0)
      program.languageDir = value("--language=");
  }
  if (program.exe.empty()) {
    std::fprintf(stderr, "usage: %s --exe=<Mosaikon.exe> [--font=<file>] [--language=<folder>]\n", argv[0]);
    return 2;
  }
  return RUN_ALL_TESTS();
}
