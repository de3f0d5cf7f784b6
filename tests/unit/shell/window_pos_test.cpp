// Tests of the "WindowPos" value: read back only when all ten numbers are
// there, and the show state restored from it.
#include "shell/window_pos.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mosaikon {
namespace {

TEST(WindowPos, ParsesLikeScanfOfTheFormat) {
  struct Case {
    std::string text;
    std::optional<WindowPos> expected;
  };
  const WindowPos plain{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  const std::vector<Case> cases = {
      {"0,1,2,3,4,5,6,7,8,9", plain},
      {" 0, 1,\t2,3,4,5,6,7,8,+9", plain},
      {"0,1,2,3,4,5,6,7,8,9,10", plain},
      {"0,1,2,3,4,5,6,7,8,9xyz", plain},
      // The unsigned fields accept a sign and wrap, as scanf's %u does.
      {"-1,1,2,3,4,5,6,7,8,9", WindowPos{4294967295u, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"0,1,-2,3,4,5,6,7,8,-9", WindowPos{0, 1, -2, 3, 4, 5, 6, 7, 8, -9}},
      {"", std::nullopt},
      {"0,1,2,3,4,5,6,7,8", std::nullopt},
      {"0,1,2,3,4,5,6,7,8,", std::nullopt},
      {"0 ,1,2,3,4,5,6,7,8,9", std::nullopt},
      {"0,1,2,3,x,5,6,7,8,9", std::nullopt},
      {"0,1,2,3,4,5,6,7,8,-", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseWindowPos(c.text), c.expected) << c.text;
}

TEST(WindowPos, RestoresOnlyAShowStateThatGivesAUsableWindow) {
  // Show command, flags, the command restored: maximised stays maximised, a
  // window minimised from maximised comes back maximised, all else normal.
  const struct {
    std::uint32_t show, flags, restored;
  } cases[] = {{1, 0, 1}, {3, 0, 3},  {0, 0, 1},  {2, 0, 1},  {2, 2, 3}, {6, 0, 1},   {7, 0, 1},
               {7, 2, 3}, {11, 0, 1}, {12, 0, 1}, {13, 2, 1}, {5, 0, 1}, {100, 0, 1}, {4294967295u, 2, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(RestoredShowCommand(WindowPos{c.flags, c.show}), c.restored) << c.show << " with flags " << c.flags;
  }
}

}  // namespace
}  // namespace mosaikon
