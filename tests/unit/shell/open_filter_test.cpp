// Tests of the Open dialog's filter list built from FileTypes.
#include "shell/open_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mosaikon {
namespace {

std::string Z(const char* text) {
  std::string s(text);
  for (char& c : s)
    if (c == '|') c = '\0';
  return s;
}

// The dialog wants each string NUL-terminated and the list ended by a second NUL.
TEST(OpenFilter, FromFileTypes) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", Z("All Files (*.*)|*.*|")},
      {";; ;", Z("All Files (*.*)|*.*|")},
      {"asc;nfo;", Z("ASCII Art Files (*.asc;*.nfo)|*.asc;*.nfo|All Files (*.*)|*.*|")},
      {"asc", Z("ASCII Art Files (*.asc)|*.asc|All Files (*.*)|*.*|")},
      {" txt ; ;nfo", Z("ASCII Art Files (*.txt;*.nfo)|*.txt;*.nfo|All Files (*.*)|*.*|")},
      {"ANS;ans;", Z("ASCII Art Files (*.ANS;*.ans)|*.ANS;*.ans|All Files (*.*)|*.*|")},
  };
  for (const auto& [types, expected] : cases) EXPECT_EQ(BuildOpenFilter(types), expected) << types;
}

}  // namespace
}  // namespace mosaikon
