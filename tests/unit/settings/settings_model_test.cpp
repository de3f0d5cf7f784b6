// Tests of loading and saving the fifteen settings through the platform's INI
// store (the profile functions on Windows, the portable file natively), the
// font cell steps and the INI path beside the executable.
#include "settings/settings_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/string_util.h"
#include "settings/ini_store.h"
#include "tests/unit/settings/temp_ini.h"

namespace mosaikon {
namespace {

using testing::TempIni;
using Lines = std::vector<std::string>;

SettingsModel LoadFrom(const TempIni& file) {
  SettingsModel model;
  model.TabSize = -99;  // so a value that Load fails to set shows up
  model.FileTypes = "stale";
  model.Load(*OpenIniStore(file.path()));
  return model;
}

void SaveTo(const TempIni& file, const SettingsModel& model) {
  auto store = OpenIniStore(file.path());
  model.Save(*store);
}

// Every setting as "name=value", to compare whole models at once.
Lines Described(const SettingsModel& m) {
  auto field = [](const char* name, auto value) { return std::string(name) + "=" + std::to_string(value); };
  return {field("TabSize", m.TabSize),
          field("FontSize", m.FontSize),
          field("ForeColor", m.ForeColor),
          field("BackColor", m.BackColor),
          field("HyperLinkColor", m.HyperLinkColor),
          "FileTypes=" + m.FileTypes,
          field("RegisterOnStart", m.RegisterOnStart),
          field("CopyOnSelect", m.CopyOnSelect),
          field("ColumnMode", m.ColumnMode),
          field("SupportAnsi", m.SupportAnsi),
          field("AlwaysOnTop", m.AlwaysOnTop),
          field("ReuseViewer", m.ReuseViewer),
          field("SaveMruFiles", m.SaveMruFiles),
          field("MurFileNum", m.MurFileNum),
          field("DecodeMode", m.DecodeMode)};
}

TEST(SettingsModel, FirstStartWithoutFileHasTheDefaults) {
  TempIni file;
  EXPECT_EQ(Described(LoadFrom(file)),
            (Lines{"TabSize=8", "FontSize=3", "ForeColor=0", "BackColor=16777215", "HyperLinkColor=16711680",
                   "FileTypes=", "RegisterOnStart=0", "CopyOnSelect=1", "ColumnMode=1", "SupportAnsi=1",
                   "AlwaysOnTop=0", "ReuseViewer=0", "SaveMruFiles=1", "MurFileNum=10", "DecodeMode=0"}));
  EXPECT_FALSE(file.Exists());
}

TEST(SettingsModel, SaveAppendsTheFifteenKeysInOrderAfterLayoutKeys) {
  TempIni file;
  {
    // The window layout is written when the window closes, before the settings.
    auto store = OpenIniStore(file.path());
    store->WriteString("Settings", "WindowPos", "0,1,-1,-1,-1,-1,10,20,700,500");
    store->WriteString("Settings", "ToolBarVisible", "1");
  }
  SaveTo(file, LoadFrom(file));
  EXPECT_EQ(file.SectionLines("Settings"),
            (Lines{"WindowPos=0,1,-1,-1,-1,-1,10,20,700,500", "ToolBarVisible=1", "TabSize=8", "FontSize=3",
                   "ForeColor=0", "BackColor=16777215", "HyperLinkColor=16711680", "FileTypes=", "RegisterOnStart=0",
                   "CopyOnSelect=1", "ColumnMode=1", "SupportAnsi=1", "AlwaysOnTop=0", "ReuseViewer=0",
                   "SaveMruFiles=1", "MurFileNum=10", "DecodeMode=0"}));
}

TEST(SettingsModel, SaveReplacesExistingKeysInPlaceAndLeavesOtherKeysAlone) {
  TempIni file;
  file.Write(
      "[Settings]\r\nDecodeMode=2\r\nLangDll=mkn_deu.dll\r\nTabSize=4\r\n"
      "[MRU]\r\n1=C:\\art\\a.ans\r\n");
  SettingsModel model = LoadFrom(file);
  EXPECT_EQ(model.TabSize, 4);
  EXPECT_EQ(model.DecodeMode, 2);
  model.TabSize = 2;
  model.AlwaysOnTop = 1;  // a menu toggle, persistent only through this save
  SaveTo(file, model);
  EXPECT_EQ(
      file.SectionLines("Settings"),
      (Lines{"DecodeMode=2", "LangDll=mkn_deu.dll", "TabSize=2", "FontSize=3", "ForeColor=0", "BackColor=16777215",
             "HyperLinkColor=16711680", "FileTypes=", "RegisterOnStart=0", "CopyOnSelect=1", "ColumnMode=1",
             "SupportAnsi=1", "AlwaysOnTop=1", "ReuseViewer=0", "SaveMruFiles=1", "MurFileNum=10"}));
  EXPECT_EQ(file.SectionLines("MRU"), (Lines{"1=C:\\art\\a.ans"}));
}

TEST(SettingsModel, NonzeroBooleanReadsAsOnAndIsWrittenAsOne) {
  TempIni file;
  file.Write("[Settings]\r\nCopyOnSelect=2\r\nColumnMode=-1\r\nSupportAnsi=0\r\n");
  const SettingsModel model = LoadFrom(file);
  EXPECT_NE(model.CopyOnSelect, 0);
  EXPECT_NE(model.ColumnMode, 0);
  EXPECT_EQ(model.SupportAnsi, 0);
  SaveTo(file, model);
  const Lines lines = file.SectionLines("Settings");
  EXPECT_EQ(lines[0], "CopyOnSelect=1");
  EXPECT_EQ(lines[1], "ColumnMode=1");
  EXPECT_EQ(lines[2], "SupportAnsi=0");
}

TEST(SettingsModel, OutOfRangeFontSizeAndDecodeModeStayAsStored) {
  TempIni file;
  file.Write("[Settings]\r\nFontSize=9\r\nDecodeMode=7\r\n");
  const SettingsModel model = LoadFrom(file);
  EXPECT_EQ(model.FontSize, 9);  // drawn with the cell of step three (FontCellForSize)
  EXPECT_EQ(model.DecodeMode, 7);
  SaveTo(file, model);
  EXPECT_EQ(file.SectionLines("Settings")[0], "FontSize=9");
  EXPECT_EQ(file.SectionLines("Settings")[1], "DecodeMode=7");
}

TEST(SettingsModel, TabSizeBelowOneOrWithoutDigitsBecomesEight) {
  const std::vector<std::pair<std::string, std::int32_t>> cases = {
      {"0", 8}, {"-3", 8}, {"abc", 8}, {"x12", 8}, {"1", 1}, {"12abc", 12}, {"+5", 5},
  };
  for (const auto& [value, expected] : cases) {
    TempIni file;
    file.Write("[Settings]\r\nTabSize=" + value + "\r\n");
    EXPECT_EQ(LoadFrom(file).TabSize, expected) << "TabSize=" << value;
  }
}

TEST(SettingsModel, ValueWithoutNumberReadsAsZero) {
  TempIni file;
  file.Write("[Settings]\r\nForeColor=red\r\nCopyOnSelect=yes\r\nMurFileNum=many\r\n");
  const SettingsModel model = LoadFrom(file);
  EXPECT_EQ(model.ForeColor, 0u);
  EXPECT_EQ(model.CopyOnSelect, 0);
  EXPECT_EQ(model.MurFileNum, 0);
}

TEST(SettingsModel, ColoursAreStoredAsSignedDecimal) {
  TempIni file;
  // Bit 31 set: only a hand-edited file holds such a colour.
  file.Write("[Settings]\r\nForeColor=-16777216\r\nHyperLinkColor=255\r\n");
  SettingsModel model = LoadFrom(file);
  EXPECT_EQ(model.ForeColor, 0xFF000000u);
  EXPECT_EQ(model.HyperLinkColor, 255u);  // pure red
  model.BackColor = 65280;                // pure green
  SaveTo(file, model);
  const Lines lines = file.SectionLines("Settings");
  EXPECT_EQ(lines[0], "ForeColor=-16777216");
  EXPECT_EQ(lines[1], "HyperLinkColor=255");
  EXPECT_EQ(lines[4], "BackColor=65280");
  EXPECT_EQ(LoadFrom(file).ForeColor, 0xFF000000u);
}

TEST(SettingsModel, FileTypesLongerThan1023CharactersIsCut) {
  TempIni file;
  std::string types;
  while (types.size() < 1500) types.append("e").append(std::to_string(types.size())).append(";");
  file.Write("[Settings]\r\nFileTypes=" + types + "\r\n");
  EXPECT_EQ(LoadFrom(file).FileTypes, types.substr(0, 1023));

  file.Write("[Settings]\r\nFileTypes=" + types.substr(0, 1023) + "\r\n");
  EXPECT_EQ(LoadFrom(file).FileTypes, types.substr(0, 1023));
}

TEST(SettingsModel, FileTypesStayVerbatimWhileReadersSplitThem) {
  TempIni file;
  file.Write("[Settings]\r\nFileTypes= txt ; ;nfo\r\n");
  const SettingsModel model = LoadFrom(file);
  // The INI value loses only its surrounding blanks.
  EXPECT_EQ(model.FileTypes, "txt ; ;nfo");
  std::vector<std::string> types;
  SplitString(model.FileTypes, ";", false, true, types);
  EXPECT_EQ(types, (Lines{"txt", "nfo"}));
  SaveTo(file, model);
  EXPECT_EQ(LoadFrom(file).FileTypes, "txt ; ;nfo");
}

TEST(SettingsModel, EverySettingSurvivesSaveAndLoad) {
  TempIni file;
  SettingsModel saved;
  saved.TabSize = 3;
  saved.FontSize = 5;
  saved.ForeColor = 0x00123456;
  saved.BackColor = 0xFFFFFFFF;
  saved.HyperLinkColor = 0;
  saved.FileTypes = "asc;nfo;txt;";
  saved.RegisterOnStart = 1;
  saved.CopyOnSelect = 0;
  saved.ColumnMode = 0;
  saved.SupportAnsi = 0;
  saved.AlwaysOnTop = 1;
  saved.ReuseViewer = 1;
  saved.SaveMruFiles = 0;
  saved.MurFileNum = 25;
  saved.DecodeMode = 2;
  SaveTo(file, saved);
  EXPECT_EQ(Described(LoadFrom(file)), Described(saved));
  EXPECT_EQ(file.SectionLines("Settings")[3], "BackColor=-1");
}

TEST(FontCellForSize, StepsOneToFiveAndStepThreeOtherwise) {
  const std::vector<std::tuple<std::int32_t, std::int32_t, std::int32_t>> cases = {
      {1, 4, 6}, {2, 6, 8}, {3, 8, 12}, {4, 12, 16}, {5, 16, 24}, {0, 8, 12}, {6, 8, 12}, {-1, 8, 12}, {9, 8, 12},
  };
  for (const auto& [size, width, height] : cases) {
    const FontCell cell = FontCellForSize(size);
    EXPECT_EQ(cell.width, width) << "FontSize " << size;
    EXPECT_EQ(cell.height, height) << "FontSize " << size;
  }
}

TEST(IniPathFor, ReplacesTheExecutableNameInItsFolder) {
  EXPECT_EQ(IniPathFor("C:\\Program Files\\Mosaikon\\Mosaikon.exe"), "C:\\Program Files\\Mosaikon\\Mosaikon.ini");
  EXPECT_EQ(IniPathFor("C:\\viewer.exe"), "C:\\Mosaikon.ini");
  EXPECT_EQ(IniPathFor("\\\\server\\share\\v.exe"), "\\\\server\\share\\Mosaikon.ini");
  // Only the backslash separates folders in a module path.
  EXPECT_EQ(IniPathFor("C:\\tools/bin/v.exe"), "C:\\Mosaikon.ini");
  EXPECT_EQ(IniPathFor("viewer.exe"), std::nullopt);
  EXPECT_EQ(IniPathFor(""), std::nullopt);
}

TEST(IniPathFor, RefusesAPathThatDoesNotFitIn260Bytes) {
  // "C:\" + folder + "\" + "Mosaikon.ini" is 16 bytes plus the folder name.
  auto pathWithIniLength = [](std::size_t length) { return "C:\\" + std::string(length - 16, 'f') + "\\Mosaikon.exe"; };
  const auto fits = IniPathFor(pathWithIniLength(259));
  ASSERT_TRUE(fits.has_value());
  EXPECT_EQ(fits->size(), 259u);
  EXPECT_EQ(fits->substr(fits->size() - 13), "\\Mosaikon.ini");
  EXPECT_EQ(IniPathFor(pathWithIniLength(260)), std::nullopt);
  EXPECT_EQ(IniPathFor(pathWithIniLength(261)), std::nullopt);
}

}  // namespace
}  // namespace mosaikon
