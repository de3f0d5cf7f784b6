// Loading and saving the fifteen settings (order, defaults, encodings, the
// corrections made on load), the font cell steps and the INI path beside the
// executable. The store is an in-memory one; the program's own store is
// tested in ini_store_win32_test.cpp.
#include "settings/settings_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/settings/memory_ini_store.h"

namespace mosaikon {
namespace {

using testing::MemoryIniStore;
using Lines = std::vector<std::string>;

SettingsModel LoadFrom(const MemoryIniStore& store) {
  SettingsModel model;
  model.TabSize = -99;  // so a value that Load fails to set shows up
  model.FileTypes = "stale";
  model.Load(store);
  return model;
}

MemoryIniStore StoreWith(const Lines& settings) {
  MemoryIniStore store;
  for (const std::string& line : settings) {
    const std::size_t equals = line.find('=');
    store.WriteString("Settings", line.substr(0, equals), line.substr(equals + 1));
  }
  return store;
}

// The model as it would be saved into an empty section.
Lines Saved(const SettingsModel& model) {
  MemoryIniStore store;
  model.Save(store);
  return store.Lines("Settings");
}

const Lines kDefaultLines = {
    "TabSize=8",     "FontSize=3",        "ForeColor=0",    "BackColor=16777215", "HyperLinkColor=16711680",
    "FileTypes=",    "RegisterOnStart=0", "CopyOnSelect=1", "ColumnMode=1",       "SupportAnsi=1",
    "AlwaysOnTop=0", "ReuseViewer=0",     "SaveMruFiles=1", "MurFileNum=10",      "DecodeMode=0"};

TEST(SettingsModel, EveryKeyIsReadAndWrittenWithItsEncoding) {
  // No value equals its default, so each key must really be read.
  const Lines stored = {"TabSize=3",         "FontSize=5",         "ForeColor=1193046",
                        "BackColor=-1",      "HyperLinkColor=255", "FileTypes=asc;nfo;txt;",
                        "RegisterOnStart=1", "CopyOnSelect=0",     "ColumnMode=0",
                        "SupportAnsi=0",     "AlwaysOnTop=1",      "ReuseViewer=1",
                        "SaveMruFiles=0",    "MurFileNum=25",      "DecodeMode=2"};
  const SettingsModel model = LoadFrom(StoreWith(stored));
  // Colours are unsigned in memory and signed decimal in the file.
  EXPECT_EQ(model.BackColor, 0xFFFFFFFFu);
  EXPECT_EQ(Saved(model), stored);
}

TEST(SettingsModel, WithoutStoredKeysSavesTheDefaultsInOrderAndOnlyItsOwnKeys) {
  // The language and the recently viewed list belong to others and stay.
  MemoryIniStore store = StoreWith({"LangDll=mkn_deu.dll"});
  store.WriteString("MRU", "1", "C:\\art\\a.ans");
  const SettingsModel model = LoadFrom(store);
  EXPECT_EQ(store.Lines("Settings"), Lines{"LangDll=mkn_deu.dll"});  // loading writes nothing
  model.Save(store);
  Lines expected = {"LangDll=mkn_deu.dll"};
  expected.insert(expected.end(), kDefaultLines.begin(), kDefaultLines.end());
  EXPECT_EQ(store.Lines("Settings"), expected);
  EXPECT_EQ(store.Lines("MRU"), Lines{"1=C:\\art\\a.ans"});
}

// FontSize, DecodeMode and MurFileNum out of range are kept: their readers
// fall back themselves.
TEST(SettingsModel, LoadCorrectsOnlyTabSizeAndWritesFlagsAsOneOrZero) {
  struct Case {
    const char* stored;
    const char* saved;  // the same key after a save
  };
  const Case cases[] = {
      {"TabSize=0", "TabSize=8"},           {"TabSize=-3", "TabSize=8"},       {"TabSize=1", "TabSize=1"},
      {"CopyOnSelect=2", "CopyOnSelect=1"}, {"ColumnMode=-1", "ColumnMode=1"}, {"FontSize=9", "FontSize=9"},
      {"DecodeMode=7", "DecodeMode=7"},     {"MurFileNum=0", "MurFileNum=0"},
  };
  for (const Case& c : cases) {
    MemoryIniStore store = StoreWith({c.stored});
    LoadFrom(store).Save(store);
    EXPECT_EQ(store.Lines("Settings").front(), c.saved);
  }
}

TEST(SettingsModel, FileTypesAreCutAt1023CharactersAndOtherwiseVerbatim) {
  std::string types;
  while (types.size() < 1500) types.append("e").append(std::to_string(types.size())).append(";");
  EXPECT_EQ(LoadFrom(StoreWith({"FileTypes=" + types})).FileTypes, types.substr(0, 1023));
  EXPECT_EQ(LoadFrom(StoreWith({"FileTypes=" + types.substr(0, 1023)})).FileTypes, types.substr(0, 1023));
  EXPECT_EQ(LoadFrom(StoreWith({"FileTypes=txt ; ;nfo"})).FileTypes, "txt ; ;nfo");
}

TEST(FontCellForSize, StepsOneToFiveAndStepThreeOtherwise) {
  const std::vector<std::tuple<std::int32_t, std::int32_t, std::int32_t>> cases = {
      {1, 4, 6}, {2, 6, 8}, {3, 8, 12}, {4, 12, 16}, {5, 16, 24}, {0, 8, 12}, {6, 8, 12}, {-1, 8, 12},
  };
  for (const auto& [size, width, height] : cases) {
    const FontCell cell = FontCellForSize(size);
    EXPECT_EQ(std::make_pair(cell.width, cell.height), std::make_pair(width, height)) << "FontSize " << size;
  }
}

TEST(IniPathFor, ReplacesTheExecutableNameInItsFolderIfItFitsIn260Bytes) {
  EXPECT_EQ(IniPathFor("C:\\Program Files\\Mosaikon\\Mosaikon.exe"), "C:\\Program Files\\Mosaikon\\Mosaikon.ini");
  EXPECT_EQ(IniPathFor("\\\\server\\share\\v.exe"), "\\\\server\\share\\Mosaikon.ini");
  // Only the backslash separates folders in a module path.
  EXPECT_EQ(IniPathFor("C:\\tools/bin/v.exe"), "C:\\Mosaikon.ini");
  EXPECT_EQ(IniPathFor("viewer.exe"), std::nullopt);
  // "C:\" + folder + "\Mosaikon.ini" is 16 bytes plus the folder name.
  EXPECT_EQ(IniPathFor("C:\\" + std::string(243, 'f') + "\\Mosaikon.exe").value_or("").size(), 259u);
  EXPECT_EQ(IniPathFor("C:\\" + std::string(244, 'f') + "\\Mosaikon.exe"), std::nullopt);
}

// Modern Rendering is stored after the fifteen once it has been switched on,
// and from then on either way; a file that never had it keeps its lines.
TEST(SettingsModel, ModernRenderingIsStoredOnceSwitchedOn) {
  MemoryIniStore store;
  SettingsModel model = LoadFrom(store);
  EXPECT_EQ(model.ModernRendering, 0);
  model.Save(store);
  EXPECT_EQ(store.Lines("Settings"), kDefaultLines);
  model.ModernRendering = 1;
  model.Save(store);
  Lines on = kDefaultLines;
  on.push_back("ModernRendering=1");
  EXPECT_EQ(store.Lines("Settings"), on);
  EXPECT_EQ(LoadFrom(store).ModernRendering, 1);
  model.ModernRendering = 0;
  model.Save(store);
  on.back() = "ModernRendering=0";
  EXPECT_EQ(store.Lines("Settings"), on);
  EXPECT_EQ(LoadFrom(StoreWith({"ModernRendering=2"})).ModernRendering, 2);
}

}  // namespace
}  // namespace mosaikon
