// Loading and saving the fifteen settings (order, defaults, encodings, the
// corrections made on load, values kept as read), values read whole, the
// store that writes nothing, the font cell steps and the INI path beside the
// executable. The store is an in-memory one; the program's own store is
// tested in ini_store_win32_test.cpp.
#include "settings/settings_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
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
                        "BackColor=65280",   "HyperLinkColor=255", "FileTypes=asc;nfo;txt;",
                        "RegisterOnStart=1", "CopyOnSelect=0",     "ColumnMode=0",
                        "SupportAnsi=0",     "AlwaysOnTop=1",      "ReuseViewer=1",
                        "SaveMruFiles=0",    "MurFileNum=25",      "DecodeMode=2"};
  const SettingsModel model = LoadFrom(StoreWith(stored));
  EXPECT_EQ(model.BackColor, 65280u);
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

// A list of `count` extensions "e000001;e000002;...", 8 bytes each.
std::string ManyTypes(std::size_t count) {
  std::string types;
  for (std::size_t i = 1; i <= count; ++i) {
    const std::string number = std::to_string(i);
    types += "e" + std::string(6 - number.size(), '0') + number + ";";
  }
  return types;
}

TEST(SettingsModel, FileTypesAreReadWholeAndWrittenBackVerbatim) {
  for (const std::string& types : {ManyTypes(170), ManyTypes(171), ManyTypes(1000), std::string("txt ; ;nfo")}) {
    MemoryIniStore store = StoreWith({"FileTypes=" + types});
    const SettingsModel model = LoadFrom(store);
    EXPECT_EQ(model.FileTypes, types);
    model.Save(store);
    EXPECT_EQ(store.Lines("Settings").front(), "FileTypes=" + types);
  }
  // Beyond any sensible length the list ends after its last whole extension
  // and stays as stored unless it is changed.
  const std::string huge = ManyTypes(kMaxIniValue / 8 + 10);
  MemoryIniStore store = StoreWith({"FileTypes=" + huge});
  SettingsModel model = LoadFrom(store);
  EXPECT_EQ(model.FileTypes, huge.substr(0, (kMaxIniValue - 2) / 8 * 8));
  model.Save(store);
  EXPECT_EQ(store.Lines("Settings").front(), "FileTypes=" + huge);
  model.FileTypes = "txt;";
  model.Save(store);
  EXPECT_EQ(store.Lines("Settings").front(), "FileTypes=txt;");
}

TEST(SettingsModel, ColoursOutsideTheRangeShowTheirDefaultAndAreWrittenBackAsRead) {
  struct Case {
    const char* stored;
    std::uint32_t ForeColor, BackColor, HyperLinkColor;
  };
  const Case cases[] = {
      {"BackColor=-1", 0, 16777215, 16711680},
      {"HyperLinkColor=12345678901234567890", 0, 16777215, 16711680},
      {"ForeColor=16777216", 0, 16777215, 16711680},
      {"ForeColor=4294967296", 0, 16777215, 16711680},  // wraps to 0 as a 32-bit number
      {"BackColor=-0", 0, 0, 16711680},
      {"ForeColor=16777215", 16777215, 16777215, 16711680},
      {"HyperLinkColor=255abc", 0, 16777215, 255},
  };
  for (const Case& c : cases) {
    const SettingsModel model = LoadFrom(StoreWith({c.stored}));
    EXPECT_EQ(std::tuple(model.ForeColor, model.BackColor, model.HyperLinkColor),
              std::tuple(c.ForeColor, c.BackColor, c.HyperLinkColor))
        << c.stored;
    const Lines saved = Saved(model);
    const bool asRead = std::find(saved.begin(), saved.end(), c.stored) != saved.end();
    EXPECT_EQ(asRead, std::string(c.stored) != "BackColor=-0" && std::string(c.stored) != "HyperLinkColor=255abc")
        << c.stored;
  }
  // A colour the user picks is written as it is.
  SettingsModel model = LoadFrom(StoreWith({"BackColor=-1"}));
  model.BackColor = 65280;
  EXPECT_EQ(Saved(model)[3], "BackColor=65280");
}

TEST(IniStore, ValuesAreReadWholeWithAGrowingBuffer) {
  for (std::size_t length : {0u, 1021u, 1022u, 1023u, 1024u, 2047u, 5000u, 70000u}) {
    MemoryIniStore store = StoreWith({"K=" + std::string(length, 'v')});
    bool cut = true;
    EXPECT_EQ(ReadWholeString(store, "Settings", "K", "", &cut).size(), length);
    EXPECT_FALSE(cut) << length;
  }
  const MemoryIniStore store;
  EXPECT_EQ(ReadWholeString(store, "Settings", "K", "<NA>"), "<NA>");
}

TEST(IniStore, AReadOnlyStoreReadsButRefusesEveryWrite) {
  auto memory = std::make_unique<MemoryIniStore>(StoreWith({"TabSize=4"}));
  memory->WriteString("MRU", "1", "C:\\a.txt");
  const MemoryIniStore* inner = memory.get();
  const auto store = ReadOnlyIniStore(std::move(memory));
  SettingsModel model;
  model.Load(*store);
  EXPECT_EQ(model.TabSize, 4);
  model.Save(*store);
  EXPECT_FALSE(store->WriteString("MRU", "2", "b.txt"));
  EXPECT_FALSE(store->ClearSection("MRU"));
  EXPECT_EQ(inner->Lines("Settings"), Lines{"TabSize=4"});
  EXPECT_EQ(inner->Lines("MRU"), Lines{"1=C:\\a.txt"});
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

}  // namespace
}  // namespace mosaikon
