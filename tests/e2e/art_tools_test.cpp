// Find (wrap notice, not-found message, the match as what Copy takes; whole
// words and case as the code page has its letters, a match too far right to
// show), zoom
// (the cell on screen, the INI), a corpus file's record in Properties, and
// exported PNGs that decode, outside Wine, to the pixels the view shows.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "viewer.h"

namespace mosaikon::e2e {
namespace {

constexpr int kPropertiesText = 1201;
constexpr int kFindWhat = 0x480;   // edt1 of the Find dialog
constexpr int kWholeWord = 0x410;  // chx1 of the Find dialog
constexpr int kFileName = 0x47C;   // cmb13 of the Save dialog

// The cell, from the full block that is the first line: black from the
// top-left pixel across and down.
bool CellIs(HWND view, int width, int height) {
  Capture shot = Capture::OfClient(view);
  int x = 0, y = 0;
  while (x < shot.width() && shot.At(x, 0) == kBlack) ++x;
  while (y < shot.height() && shot.At(0, y) == kBlack) ++y;
  return x == width && y == height;
}

TEST(FindAndZoom, MatchesBecomeTheSelectionWrapOnceAndZoomStepsTheCell) {
  ProgramFolder folder(StandardIni({"FontSize=3", "CopyOnSelect=0"}));
  std::string sample = folder.WriteFile("find.txt", "\xDB\r\n Needle one\r\n two\r\n needle three\r\n");
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(sample));
  HWND view = viewer.View();
  auto findInDialog = [&](const char* text) -> HWND {
    HWND dialog = viewer.Press('F', {VK_CONTROL}) ? viewer.Shown(kDialogClass, "Find") : nullptr;
    if (dialog) SetText(dialog, kFindWhat, text);
    return dialog && PressKey(dialog, VK_RETURN) ? dialog : nullptr;
  };
  // Without case, from the top; Esc closes the dialog, not the program.
  HWND dialog = findInDialog("needle");
  ASSERT_NE(dialog, nullptr) << "no Find dialog";
  EXPECT_TRUE(Dismiss(dialog)) << "Esc did not close the Find dialog";
  EXPECT_EQ(viewer.Copy(), "Needle");
  // F3 goes on from the match; past the last one it starts over and says so.
  for (auto [copied, notice] : {std::array{"needle", "Ready"}, {"Needle", "Passed the end of the document"}}) {
    ASSERT_TRUE(viewer.Press(VK_F3));
    EXPECT_TRUE(WaitFor([&] { return viewer.PaneText(0) == notice; })) << viewer.PaneText(0);
    EXPECT_EQ(viewer.Copy(), copied);
  }
  dialog = findInDialog("absent");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(viewer.TakeMessage("Mosaikon"), "Cannot find \"absent\"");
  ASSERT_TRUE(Dismiss(dialog));
  EXPECT_EQ(viewer.PaneText(0), "Ready");

  // Zoom through the font steps by keys and by Ctrl+wheel over the view.
  ASSERT_TRUE(WaitFor([&] { return CellIs(view, 8, 12); }));
  // Key (0: `notches` of the wheel), notches, cell width and height.
  const int steps[][4] = {{VK_OEM_PLUS, 0, 12, 16}, {VK_ADD, 0, 16, 24},    {VK_OEM_MINUS, 0, 12, 16},
                          {'0', 0, 8, 12},          {VK_SUBTRACT, 0, 6, 8}, {0, 1, 8, 12},
                          {0, 2, 16, 24},           {0, -1, 12, 16}};
  for (const auto& zoom : steps) {
    SCOPED_TRACE(std::to_string(zoom[0]) + " / " + std::to_string(zoom[1]));
    ASSERT_TRUE(zoom[0] ? viewer.Press(static_cast<WORD>(zoom[0]), {VK_CONTROL})
                        : Wheel(view, CentreOf(view), zoom[1], {VK_CONTROL}));
    EXPECT_TRUE(WaitFor([&] { return CellIs(view, zoom[2], zoom[3]); }));
  }
  EXPECT_EQ(viewer.Exit(), 1);
  EXPECT_EQ(folder.Setting("FontSize"), "4");
}

// Code page 1252 text, where the accented letters are letters: whole words
// do not end at them, and they match either case. On the second line a match
// lies beyond column 2147483647 (2147484 tabs of 1000 columns), the last one
// the view shows.
TEST(FindAndZoom, WordsAndCaseFollowTheCodePageAndFarMatchesAreNotFound) {
  ProgramFolder folder(StandardIni({"TabSize=1000", "CopyOnSelect=0"}));
  const std::string text = "GR\xD6SSE Gr CAF\xC9 caf\r\n" + std::string(2147484, '\t') + "far\r\n";
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(folder.WriteFile("words.txt", text), 30s));
  ASSERT_EQ(GetACP(), 1252u);
  auto find = [&](const char* needle) {
    HWND dialog = viewer.Press('F', {VK_CONTROL}) ? viewer.Shown(kDialogClass, "Find") : nullptr;
    if (!dialog) return false;
    SetText(dialog, kFindWhat, needle);
    return PressKey(dialog, VK_RETURN);
  };
  auto closeDialog = [&] {
    HWND dialog = viewer.Shown(kDialogClass, "Find");
    return dialog && Dismiss(dialog);
  };
  ASSERT_TRUE(find("far"));
  EXPECT_EQ(viewer.TakeMessage("Mosaikon"), "Cannot find \"far\"");
  ASSERT_TRUE(closeDialog());

  HWND dialog = viewer.Press('F', {VK_CONTROL}) ? viewer.Shown(kDialogClass, "Find") : nullptr;
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ClickButton(dialog, kWholeWord) && WaitFor([&] { return IsDlgButtonChecked(dialog, kWholeWord); }));
  for (auto [needle, match] : {std::pair{"gr", "Gr"}, {"caf", "caf"}, {"caf\xE9", "CAF\xC9"}}) {
    ASSERT_TRUE(find(needle)) << needle;
    ASSERT_TRUE(closeDialog()) << needle << ": " << viewer.TakeMessage();
    EXPECT_EQ(viewer.Copy(), match) << needle;
  }
  EXPECT_EQ(viewer.Exit(), 1);
}

TEST(ArtInformation, PropertiesShowTheRecordOfACorpusFile) {
  if (Program().corpus.empty()) GTEST_SKIP() << "no corpus folder given";
  ProgramFolder folder(StandardIni());
  const std::string art = Program().corpus + "\\xero\\x0-defcon25.ans";
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(art));
  ASSERT_TRUE(viewer.Press(VK_RETURN, {VK_MENU}));
  HWND box = viewer.Shown(kDialogClass, "Properties");
  ASSERT_NE(box, nullptr) << "Alt+Enter showed no Properties dialog";
  const std::string text = WindowText(GetDlgItem(box, kPropertiesText));
  for (std::string row : {"Path:\t" + art, std::string("Kind:\tANSI art"), std::string("Title:\tdefcon26"),
                          std::string("Author:\txero"), std::string("Group:\tblocktronics")})
    EXPECT_NE(text.find(row + "\r\n"), std::string::npos) << row << " not in\n" << text;
  EXPECT_TRUE(Dismiss(box));
  EXPECT_EQ(viewer.Exit(), 1);
}

TEST(ExportAsImage, PngsOfAnsiArtAndPlainTextHoldThePixelsTheViewShows) {
  if (Program().pngCheck.empty()) GTEST_SKIP() << "no png_check.py given";
  struct Case {
    const char *name, *png, *text;
    int columns, lines;
  };
  for (const Case& c :
       {Case{"art.ans", "art.png",
             "\x1b[31mRED\x1b[0m \x1b[1;32;44mGREEN\r\n\x1b[33;41m\xDB\xB0\xB1\xB2 \x1b[5;36mx\r\n", 9, 4},
        {"plain.txt", "plain.png", "plain\ttext\r\nsee http://mosaikon.example/ here\r\n\xC4\xC4\xB3\r\n", 33, 4}}) {
    SCOPED_TRACE(c.name);
    ProgramFolder folder(StandardIni());
    Viewer viewer(folder);
    ASSERT_TRUE(viewer.Open(folder.WriteFile(c.name, c.text)));
    ASSERT_TRUE(viewer.Press('F', {VK_MENU}) && SendKey('E'));
    HWND save = viewer.Shown(kDialogClass, "Export as Image");
    ASSERT_NE(save, nullptr) << "no Save dialog";
    EXPECT_EQ(WindowText(GetDlgItem(save, kFileName)), c.png);
    ASSERT_TRUE(PressKey(save, VK_RETURN));
    const std::string png = folder.path() + c.png;
    ASSERT_TRUE(WaitFor([&] { return GetFileAttributesA(png.c_str()) != INVALID_FILE_ATTRIBUTES; })) << "no " << png;
    // The menu and the Save dialog covered the view. Wine puts its pixels
    // back when the program next reads the display's events, which no
    // message sent to it waits for: the screen is compared until it shows
    // the view again.
    std::string verdict;
    WaitFor(
        [&] {
          verdict = ComparePng(png, Capture::OfClient(viewer.View()), c.columns * kCellWidth, c.lines * kCellHeight);
          return verdict == "same";
        },
        30s);
    EXPECT_EQ(verdict, "same");
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      EXPECT_NE(entry.path().extension(), ".tmp") << "a temporary file was left behind";
    EXPECT_EQ(viewer.Exit(), 1);
  }
}

}  // namespace
}  // namespace mosaikon::e2e
