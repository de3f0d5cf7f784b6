// Tests of the recently viewed list: reading section "MRU", moving a path to
// the top, dropping the oldest, the INI form of every name, and the menu texts.
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

TEST(RecentFiles, NamesOutsideTheAnsiCodePageRoundTripAndOthersStayAsWrittenToday) {
  MemoryIniStore ini;
  // Windows-1252 is the code page where the suites run.
  const std::string cafe = "C:\\art\\caf\xC3\xA9.ans";
  const std::string names = "C:\\\xD0\x9F\xD1\x80\xD0\xB8\\\xCE\xA9 100%<1>\"\xE6\x97\xA5.ans";  // Пр, Ω, 日
  WriteRecentFiles(ini, {cafe, names});
  EXPECT_EQ(ini.Lines("MRU"),
            (List{"1=C:\\art\\caf\xE9.ans", "2=<utf-8:C:\\%D0%9F%D1%80%D0%B8\\%CE%A9 100%25%3C1%3E%22%E6%97%A5.ans>"}));
  EXPECT_EQ(ReadRecentFiles(ini, 10), (List{cafe, names}));

  // A value cut by a shorter reader, or not well formed, names no file; a
  // value that only looks similar is a path of the code page.
  for (const char* value :
       {"<utf-8:C:\\%D0%9F", "<utf-8:C:\\%D0>", "<utf-8:%D0%9>", "<utf-8:%C0%AF>", "<utf-8:a>b>", "<utf-8:>"}) {
    ini.WriteString("MRU", "1", value);
    EXPECT_EQ(ReadRecentFiles(ini, 1), List{}) << value;
  }
  ini.WriteString("MRU", "1", "<utf8:\xE9>");
  EXPECT_EQ(ReadRecentFiles(ini, 1), List{"<utf8:\xC3\xA9>"});
}

TEST(RecentFiles, MenuTextNumbersModuloTen) {
  EXPECT_EQ(RecentFileMenuText(9, "b"), "&9 b");
  EXPECT_EQ(RecentFileMenuText(10, "c"), "&0 c");
  EXPECT_EQ(RecentFileMenuText(11, "Tom & Jerry.txt"), "&1 Tom & Jerry.txt");
  EXPECT_EQ(RecentFileMenuText(1, "\xE6\x97\xA5.ans"), "&1 \xE6\x97\xA5.ans");
}

}  // namespace
}  // namespace mosaikon
