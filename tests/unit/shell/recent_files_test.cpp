// Tests of the recently viewed list: reading section "MRU", moving a path to
// the top, dropping the oldest, and the menu texts.
#include "shell/recent_files.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/unit/settings/memory_ini_store.h"

namespace mosaikon {
namespace {

using testing::MemoryIniStore;
using List = std::vector<std::string>;

TEST(RecentFiles, ReadSkipsGapsCutsAt259BytesAndStopsAtTheLimit) {
  MemoryIniStore ini;
  EXPECT_EQ(ReadRecentFiles(ini, 10), List{});
  for (const char* key : {"1", "3", "4", "5"}) ini.WriteString("MRU", key, std::string(key) + ".ans");
  ini.WriteString("MRU", "2", "");
  EXPECT_EQ(ReadRecentFiles(ini, 4), (List{"1.ans", "3.ans", "4.ans"}));
  EXPECT_EQ(ReadRecentFiles(ini, 1), (List{"1.ans"}));
  ini.WriteString("MRU", "1", std::string(300, 'x'));
  EXPECT_EQ(ReadRecentFiles(ini, 1), List{std::string(259, 'x')});
}

TEST(RecentFiles, ApplyFollowsTheListRules) {
  struct Case {
    const char* name;
    List before;
    std::string path;
    bool opened;
    std::int32_t limit;
    List after;
  };
  const std::vector<Case> cases = {
      {"new file goes first", {"a", "b"}, "c", true, 10, {"c", "a", "b"}},
      {"listed file moves up", {"a", "b", "c"}, "c", true, 10, {"c", "a", "b"}},
      {"letter case makes a new entry", {"a", "B"}, "b", true, 10, {"b", "a", "B"}},
      {"full list drops the oldest", {"a", "b", "c"}, "d", true, 3, {"d", "a", "b"}},
      {"full list keeps all when the path is listed", {"a", "b", "c"}, "c", true, 3, {"c", "a", "b"}},
      {"failed open removes the entry", {"a", "b", "c"}, "b", false, 10, {"a", "c"}},
      {"failed open of an unlisted path changes nothing", {"a", "b"}, "z", false, 2, {"a", "b"}},
      {"only the first equal entry goes", {"a", "b", "a"}, "a", true, 10, {"a", "b", "a"}},
  };
  for (const Case& c : cases) {
    List files = c.before;
    ApplyRecentFile(files, c.path, c.opened, c.limit);
    EXPECT_EQ(files, c.after) << c.name;
  }
}

// The section ends up holding exactly keys 1..n; a section that does already
// is not written at all.
TEST(RecentFiles, StoreMakesTheSectionExactlyTheListAndWritesNothingWhenItIs) {
  struct CountingStore : MemoryIniStore {
    int writes = 0;
    bool WriteString(std::string_view section, std::string_view key, std::string_view value) override {
      ++writes;
      return MemoryIniStore::WriteString(section, key, value);
    }
    bool ClearSection(std::string_view section) override {
      ++writes;
      return MemoryIniStore::ClearSection(section);
    }
  } ini;
  for (const char* line : {"1=a", "2=b", "7=stale", "x=junk"}) {
    const std::string text = line;
    ini.WriteString("MRU", text.substr(0, text.find('=')), text.substr(text.find('=') + 1));
  }
  StoreRecentFiles(ini, {"b", "a"});
  EXPECT_EQ(ini.Lines("MRU"), (List{"1=b", "2=a"}));
  ini.writes = 0;
  StoreRecentFiles(ini, {"b", "a"});
  EXPECT_EQ(ini.writes, 0);
  StoreRecentFiles(ini, {"a", "b"});
  EXPECT_EQ(ini.Lines("MRU"), (List{"1=a", "2=b"}));
  StoreRecentFiles(ini, {});
  EXPECT_EQ(ini.Lines("MRU"), List{});
}

TEST(RecentFiles, LimitIsAtLeastOneAndBounded) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {{10, 10}, {1, 1},       {0, 1},
                                                         {-5, 1},  {1000, 1000}, {2000000000, 1000}};
  for (const auto& [murFileNum, limit] : cases) EXPECT_EQ(RecentFilesLimit(murFileNum), limit) << murFileNum;
}

TEST(RecentFiles, MenuTextNumbersModuloTen) {
  EXPECT_EQ(RecentFileMenuText(9, "b"), "&9 b");
  EXPECT_EQ(RecentFileMenuText(10, "c"), "&0 c");
  EXPECT_EQ(RecentFileMenuText(11, "Tom & Jerry.txt"), "&1 Tom & Jerry.txt");
}

}  // namespace
}  // namespace mosaikon
