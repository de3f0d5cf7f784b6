// Start-up with a file named on the command line: title, status panes and the
// colours on screen; closing with Esc, the exit code and the saved settings;
// a file that cannot be read.
#include <gtest/gtest.h>

#include "test_support.h"

namespace mosaikon::e2e {
namespace {

TEST(ViewerStartup, PlainFileShowsTitlePanesAndColours) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni());
  const std::string text = "Hello world\r\nsee http://mosaikon.example/ here\r\n";
  std::string sample = folder.WriteFile("plain.txt", text);
  ASSERT_TRUE(SetLocalWriteTime(sample, 2002, 12, 31, 23, 59, 7));

  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(Quoted(sample)));
  ASSERT_TRUE(viewer.WaitForWindow());
  ASSERT_TRUE(viewer.WaitForTitle("Mosaikon - " + sample)) << viewer.Title();
  EXPECT_EQ(viewer.PaneText(0), "Ready");
  EXPECT_EQ(viewer.PaneText(1), "Modify Time: 2002-12-31 23:59:07");
  EXPECT_EQ(viewer.PaneText(2), "File Size: " + std::to_string(text.size()));

  HWND view = viewer.View();
  ASSERT_NE(view, nullptr);
  Capture shot;
  // "http" starts in column 4 of row 1; the rest of row 0 and everything
  // below the last line is background.
  bool painted = WaitFor([&] {
    shot = Capture::OfClient(view);
    return shot.width() > 0 && CellHas(shot, Cell(0, 0), kBlack) && CellHas(shot, Cell(4, 1), kLinkBlue);
  });
  ASSERT_TRUE(painted) << "view never showed black text and a blue link";
  EXPECT_TRUE(CellOnly(shot, Cell(0, 0), {kBlack, kWhite}));
  EXPECT_TRUE(CellOnly(shot, Cell(4, 1), {kLinkBlue, kWhite}));
  EXPECT_TRUE(CellOnly(shot, Cell(0, 1), {kBlack, kWhite}));
  EXPECT_FALSE(CellHas(shot, Cell(0, 1), kLinkBlue));
  EXPECT_TRUE(CellOnly(shot, Cell(20, 0), {kWhite})) << "right of the first line";
  EXPECT_TRUE(CellOnly(shot, Cell(0, 4), {kWhite})) << "below the last line";
}

TEST(ViewerStartup, AnsiFileShowsPaletteColoursOnBlackFill) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni());
  // Row 0: "RED" dark red on black. Row 1: "GRN" bright green on dark blue.
  const std::string text = "\x1b[31mRED\x1b[0m\r\n\x1b[1;32;44mGRN\x1b[0m\r\n";
  std::string sample = folder.WriteFile("colours.ans", text);

  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(Quoted(sample)));
  ASSERT_TRUE(viewer.WaitForWindow());
  ASSERT_TRUE(viewer.WaitForTitle("Mosaikon - " + sample)) << viewer.Title();
  EXPECT_EQ(viewer.PaneText(2), "File Size: " + std::to_string(text.size()));

  HWND view = viewer.View();
  ASSERT_NE(view, nullptr);
  Capture shot;
  bool painted = WaitFor([&] {
    shot = Capture::OfClient(view);
    return shot.width() > 0 && CellHas(shot, Cell(0, 0), kDarkRed) && CellHas(shot, Cell(0, 1), kLightGreen);
  });
  ASSERT_TRUE(painted) << "view never showed the ANSI colours";
  EXPECT_TRUE(CellOnly(shot, Cell(0, 0), {kDarkRed, kBlack}));
  EXPECT_TRUE(CellOnly(shot, Cell(2, 1), {kLightGreen, kDarkBlue}));
  EXPECT_TRUE(CellHas(shot, Cell(2, 1), kDarkBlue));
  EXPECT_TRUE(CellOnly(shot, Cell(3, 0), {kBlack})) << "right of an ANSI line is black";
  EXPECT_TRUE(CellOnly(shot, Cell(40, 1), {kBlack}));
  EXPECT_TRUE(CellOnly(shot, Cell(0, 5), {kBlack})) << "below the last line is black";
}

TEST(ViewerStartup, EscClosesWithExitCodeOneAndSavesSettingsAfterLayout) {
  ProgramFolder folder;  // no INI: a first start with the defaults
  std::string sample = folder.WriteFile("plain.txt", "text\r\n");

  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(Quoted(sample)));
  ASSERT_TRUE(viewer.WaitForWindow());
  ASSERT_TRUE(viewer.WaitForTitle("Mosaikon - " + sample)) << viewer.Title();
  ASSERT_TRUE(viewer.PressKey(VK_ESCAPE));
  EXPECT_EQ(viewer.WaitForExit(), 1);

  std::vector<std::pair<std::string, std::string>> expected = {
      {"WindowPos", ""},         {"ToolBarVisible", "1"},   {"StatusBarVisible", "1"},
      {"Rebar_BandCount", "2"},  {"Rebar0_ID", "60160"},    {"Rebar0_CX", ""},
      {"Rebar0_BreakLine", "0"}, {"Rebar1_ID", "60161"},    {"Rebar1_CX", ""},
      {"Rebar1_BreakLine", "1"}, {"TabSize", "8"},          {"FontSize", "3"},
      {"ForeColor", "0"},        {"BackColor", "16777215"}, {"HyperLinkColor", "16711680"},
      {"FileTypes", ""},         {"RegisterOnStart", "0"},  {"CopyOnSelect", "1"},
      {"ColumnMode", "1"},       {"SupportAnsi", "1"},      {"AlwaysOnTop", "0"},
      {"ReuseViewer", "0"},      {"SaveMruFiles", "1"},     {"MurFileNum", "10"},
      {"DecodeMode", "0"}};
  auto keys = IniSection(folder.ReadIni(), "Settings");
  ASSERT_EQ(keys.size(), expected.size()) << folder.ReadIni();
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].first, expected[i].first) << "key " << i;
    // Placement and band widths depend on the screen; the rest is fixed.
    bool screenDependent = expected[i].first == "WindowPos" || expected[i].first.ends_with("_CX");
    if (!screenDependent) {
      EXPECT_EQ(keys[i].second, expected[i].second) << keys[i].first;
    }
  }
  auto recent = IniSection(folder.ReadIni(), "MRU");
  ASSERT_EQ(recent.size(), 1u);
  EXPECT_EQ(recent[0], std::make_pair(std::string("1"), sample));
}

TEST(ViewerStartup, UnreadableFileShowsErrorBoxOwnedByViewerAndKeepsTitle) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni());
  std::string missing = folder.path() + "no such file.txt";

  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(Quoted(missing)));
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = viewer.FindDialog()) != nullptr; }, 15s)) << "no error box";
  HWND owner = GetWindow(box, GW_OWNER);
  HWND frame = FindFrameOf(viewer.processId());
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(owner == frame || GetAncestor(owner, GA_ROOT) == frame)
      << "the box belongs to the viewer: owner " << owner << ", frame " << frame;
  EXPECT_EQ(WindowText(box), "Error");

  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(viewer.WaitForWindow());
  EXPECT_EQ(viewer.Title(), "Mosaikon");
  EXPECT_EQ(viewer.PaneText(1), "");
  EXPECT_EQ(viewer.PaneText(2), "");
  // The failed path is not listed among the recently viewed files.
  PostMessageA(viewer.frame(), WM_CLOSE, 0, 0);
  EXPECT_EQ(viewer.WaitForExit(), 1);
  EXPECT_TRUE(IniSection(folder.ReadIni(), "MRU").empty());
}

}  // namespace
}  // namespace mosaikon::e2e
