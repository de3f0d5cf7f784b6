// Tests of the rules every INI store keeps, run against the store of the
// platform (the profile functions on Windows, the portable file natively).
#include "settings/ini_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/settings/temp_ini.h"

namespace mosaikon {
namespace {

using testing::TempIni;
using Lines = std::vector<std::string>;

TEST(IniStore, MissingFileSectionOrKeyGivesTheDefault) {
  TempIni file;
  auto store = OpenIniStore(file.path());
  EXPECT_EQ(store->GetInt("Settings", "Rebar_BandCount", 0), 0);
  EXPECT_EQ(store->GetInt("Settings", "ToolBarVisible", 1), 1);
  EXPECT_EQ(store->GetString("Settings", "LangDll", "<NA>", 260), "<NA>");
  ASSERT_TRUE(store->WriteString("Settings", "LangDll", ""));
  EXPECT_EQ(store->GetString("Settings", "LangDll", "<NA>", 260), "");
  EXPECT_EQ(store->GetString("Settings", "WindowPos", "", 1024), "");
  EXPECT_EQ(store->GetString("MRU", "1", "", 260), "");
}

TEST(IniStore, ReadsKeysWithoutRegardToLetterCase) {
  TempIni file;
  file.Write("[settings]\r\nreusEVIEWER=1\r\n");
  auto store = OpenIniStore(file.path());
  EXPECT_EQ(store->GetInt("Settings", "ReuseViewer", 0), 1);
}

TEST(IniStore, CutsTextToTheBufferLessItsTerminator) {
  TempIni file;
  const std::string path = "C:\\" + std::string(300, 'p') + ".txt";
  file.Write("[MRU]\r\n1=" + path + "\r\n");
  auto store = OpenIniStore(file.path());
  EXPECT_EQ(store->GetString("MRU", "1", "", 260), path.substr(0, 259));
}

TEST(IniStore, ClearSectionRemovesItsKeysOnly) {
  TempIni file;
  auto store = OpenIniStore(file.path());
  store->WriteString("Settings", "TabSize", "8");
  store->WriteString("MRU", "1", "C:\\a.txt");
  store->WriteString("MRU", "2", "b.nfo");
  EXPECT_TRUE(store->ClearSection("MRU"));
  EXPECT_EQ(file.SectionLines("MRU"), Lines{});
  EXPECT_EQ(file.SectionLines("Settings"), Lines{"TabSize=8"});
  store->WriteString("MRU", "1", "b.nfo");
  EXPECT_EQ(file.SectionLines("MRU"), Lines{"1=b.nfo"});
}

TEST(IniStore, RefusesValuesWithLineBreaks) {
  TempIni file;
  auto store = OpenIniStore(file.path());
  store->WriteString("MRU", "1", "a.txt");
  EXPECT_FALSE(store->WriteString("MRU", "1", "b.txt\r\n[Settings]\r\nReuseViewer=1"));
  EXPECT_EQ(store->GetString("MRU", "1", "", 260), "a.txt");
  EXPECT_EQ(store->GetInt("Settings", "ReuseViewer", 0), 0);
}

}  // namespace
}  // namespace mosaikon
