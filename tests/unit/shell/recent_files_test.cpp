// Tests of the recently viewed list: reading and writing section "MRU",
// moving a path to the top, dropping the oldest, and the menu texts.
#include "shell/recent_files.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace mosaikon {
namespace {

// An INI store in memory: section -> key -> value.
class MemoryIni : public IniStore {
 public:
  std::map<std::string, std::map<std::string, std::string>> sections;

  std::int32_t GetInt(std::string_view, std::string_view, std::int32_t defaultValue) const override {
    return defaultValue;
  }
  std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                        std::size_t bufferSize) const override {
    const auto s = sections.find(std::string(section));
    if (s == sections.end()) return std::string(defaultValue);
    const auto k = s->second.find(std::string(key));
    if (k == s->second.end()) return std::string(defaultValue);
    return k->second.substr(0, bufferSize - 1);
  }
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override {
    sections[std::string(section)][std::string(key)] = std::string(value);
    return true;
  }
  bool ClearSection(std::string_view section) override {
    sections.erase(std::string(section));
    return true;
  }
};

using List = std::vector<std::string>;

TEST(RecentFiles, ReadSkipsGapsAndStopsAtTheLimit) {
  MemoryIni ini;
  ini.sections["MRU"] = {{"1", "a.ans"}, {"3", "c.ans"}, {"4", "d.ans"}, {"5", "e.ans"}};
  EXPECT_EQ(ReadRecentFiles(ini, 4), (List{"a.ans", "c.ans", "d.ans"}));
  EXPECT_EQ(ReadRecentFiles(ini, 1), (List{"a.ans"}));
  EXPECT_EQ(ReadRecentFiles(MemoryIni{}, 10), List{});
}

TEST(RecentFiles, ReadCutsValuesAt259Bytes) {
  MemoryIni ini;
  ini.sections["MRU"]["1"] = std::string(300, 'x');
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
      {"first entry of an empty list", {}, "a", true, 1, {"a"}},
      {"only the first equal entry goes", {"a", "b", "a"}, "a", true, 10, {"a", "b", "a"}},
  };
  for (const Case& c : cases) {
    List files = c.before;
    ApplyRecentFile(files, c.path, c.opened, c.limit);
    EXPECT_EQ(files, c.after) << c.name;
  }
}

TEST(RecentFiles, WriteNumbersKeysFromOne) {
  MemoryIni ini;
  WriteRecentFiles(ini, {"C:\\x.ans", "..\\y.nfo"});
  const std::map<std::string, std::string> expected = {{"1", "C:\\x.ans"}, {"2", "..\\y.nfo"}};
  EXPECT_EQ(ini.sections["MRU"], expected);
}

TEST(RecentFiles, LimitIsAtLeastOneAndBounded) {
  EXPECT_EQ(RecentFilesLimit(10), 10);
  EXPECT_EQ(RecentFilesLimit(1), 1);
  EXPECT_EQ(RecentFilesLimit(0), 1);
  EXPECT_EQ(RecentFilesLimit(-5), 1);
  EXPECT_EQ(RecentFilesLimit(1000), 1000);
  EXPECT_EQ(RecentFilesLimit(2000000000), 1000);
}

TEST(RecentFiles, MenuTextNumbersModuloTen) {
  EXPECT_EQ(RecentFileMenuText(1, "C:\\a.ans"), "&1 C:\\a.ans");
  EXPECT_EQ(RecentFileMenuText(9, "b"), "&9 b");
  EXPECT_EQ(RecentFileMenuText(10, "c"), "&0 c");
  EXPECT_EQ(RecentFileMenuText(11, "d"), "&1 d");
  EXPECT_EQ(RecentFileMenuText(2, "Tom & Jerry.txt"), "&2 Tom & Jerry.txt");
}

}  // namespace
}  // namespace mosaikon
