// Opening files: from the command line and, with ReuseViewer on, handed over
// to the running window by further starts. What the window shows of each
// file (title, status panes, colours, menu prompts) and the recently viewed
// list.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "viewer.h"

namespace mosaikon::e2e {
namespace {

// A second start on `file`; its exit code once it handed the file over.
long HandOver(const ProgramFolder& folder, const std::string& file) {
  Viewer starter(folder);
  return starter.Start(file) ? starter.WaitForExit() : -1;
}

// Hands `file` over to `viewer`, which shows an error box for it; the starter
// does not wait for the box to close. The box's text, once it is closed.
std::string HandOverRefused(Viewer& viewer, const ProgramFolder& folder, const std::string& file) {
  Viewer starter(folder);
  if (!starter.Start(file) || !viewer.Shown(kDialogClass)) return "<no box>";
  EXPECT_EQ(starter.WaitForExit(), 0) << "the starter waited for the error box";
  return viewer.TakeMessage();
}

// Opened from the keyboard, the File menu highlights its first item; each
// item shows its prompt instead of the panes until Esc closes the menu.
void ExpectFileMenuPrompts(Viewer& viewer) {
  std::string sizePane = viewer.PaneText(2);
  ASSERT_TRUE(viewer.Press('F', {VK_MENU}));
  // Open, the recently viewed entry, Clear Recently Viewed List, Settings, Exit, Properties, Export as Image.
  bool first = true;
  for (std::string prompt : {"Open an existing document", "", "&Clear Recently Viewed List", "Settings",
                             "Quit the application; prompts to save documents", "Show what the file tells about itself",
                             "Save the whole document as a PNG image"}) {
    ASSERT_TRUE(std::exchange(first, false) || SendKey(VK_DOWN));
    EXPECT_TRUE(WaitFor([&] { return viewer.StatusSimple() && viewer.PaneText(0) == prompt; }))
        << "expected \"" << prompt << "\", shown \"" << viewer.PaneText(0) << "\"";
  }
  ASSERT_TRUE(SendKey(VK_ESCAPE));  // closes the menu, not the program
  EXPECT_TRUE(WaitFor([&] { return !viewer.StatusSimple(); })) << "the panes did not come back";
  EXPECT_EQ(viewer.PaneText(2), sizePane);
  EXPECT_TRUE(viewer.Running());
}

TEST(OpeningFiles, CommandLineAndHandOversShowEachFileAndKeepTheRecentList) {
  ProgramFolder folder(StandardIni({"ReuseViewer=1"}));
  const std::string plainText = "Hello world\r\nsee http://mosaikon.example/ here\r\n";
  std::string plain = folder.WriteFile("plain.txt", plainText);
  ASSERT_TRUE(SetLocalWriteTime(plain, 2002, 12, 31, 23, 59, 7));
  const std::string ansiText = "\x1b[31mRED\x1b[0m\r\n\x1b[1;32;44mGRN\x1b[0m\r\n";
  std::string ansi = folder.WriteFile("colours.ans", ansiText);
  std::string other = folder.WriteFile("other.txt", "other\r\n");

  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(plain));
  const auto panes = [&] { return viewer.PaneText(0) + "|" + viewer.PaneText(1) + "|" + viewer.PaneText(2); };
  const std::string plainPanes =
      "Ready|Modify Time: 2002-12-31 23:59:07|File Size: " + std::to_string(plainText.size());
  EXPECT_EQ(panes(), plainPanes);
  // "Hello world", then a link from column 4 of row 1: black text, a blue
  // link and white everywhere else.
  EXPECT_TRUE(ViewShows(viewer.View(), {{0, 0, {kBlack, kWhite}, kBlack},
                                        {4, 1, {kLinkBlue, kWhite}, kLinkBlue},
                                        {0, 1, {kBlack, kWhite}, kBlack},
                                        {20, 0, {kWhite}, kWhite},    // right of the first line
                                        {0, 4, {kWhite}, kWhite}}));  // below the last line
  ExpectFileMenuPrompts(viewer);

  // A second start hands its file to this window and ends with 0, before the
  // window opens it. The recent list is written last; a start reads the INI
  // file, so the next one waits for the list.
  const auto recentAre = [&](const IniKeys& keys) { return WaitFor([&] { return folder.Section("MRU") == keys; }); };
  EXPECT_EQ(HandOver(folder, ansi), 0);
  ASSERT_TRUE(viewer.WaitForTitleOf(ansi));
  EXPECT_TRUE(recentAre({{"1", ansi}, {"2", plain}})) << folder.ReadIni();
  EXPECT_EQ(viewer.PaneText(2), "File Size: " + std::to_string(ansiText.size()));
  EXPECT_EQ(TopWindows(0, kFrameClass).size(), 1u);
  // "RED" dark red on black, "GRN" bright green on dark blue; black right
  // of and below the lines.
  EXPECT_TRUE(ViewShows(viewer.View(), {{0, 0, {kDarkRed, kBlack}, kDarkRed},
                                        {0, 1, {kLightGreen, kDarkBlue}, kLightGreen},
                                        {2, 1, {kLightGreen, kDarkBlue}, kDarkBlue},
                                        {3, 0, {kBlack}, kBlack},
                                        {40, 1, {kBlack}, kBlack},
                                        {0, 5, {kBlack}, kBlack}}));

  // Each file opened goes to the top of the list.
  EXPECT_EQ(HandOver(folder, other), 0);
  EXPECT_TRUE(recentAre({{"1", other}, {"2", ansi}, {"3", plain}})) << folder.ReadIni();
  EXPECT_EQ(HandOver(folder, plain), 0);
  EXPECT_TRUE(recentAre({{"1", plain}, {"2", other}, {"3", ansi}})) << folder.ReadIni();

  // A listed file that has gone: the running window shows the error box,
  // keeps its file, and drops the path from the list. A path longer than 259
  // bytes is refused as a direct start refuses it, not cut to the name of
  // another file; a file of 2 GiB or more is refused before it is read.
  ASSERT_TRUE(DeleteFileA(other.c_str()));
  EXPECT_EQ(HandOverRefused(viewer, folder, other), SystemText(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(recentAre({{"1", plain}, {"2", ansi}})) << folder.ReadIni();
  const std::string prefix = folder.WriteFile(std::string(259 - folder.path().size(), 'p'), "cut\r\n");
  EXPECT_EQ(HandOverRefused(viewer, folder, prefix + std::string(41, 'q')), SystemText(ERROR_FILENAME_EXCED_RANGE));
  const std::string huge = folder.WriteFile("huge.txt", "");
  HANDLE file = CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  const bool sized =
      SetFilePointerEx(file, LARGE_INTEGER{.QuadPart = 3LL << 30}, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  ASSERT_TRUE(sized) << "no sparse file of 3 GiB";
  EXPECT_EQ(HandOverRefused(viewer, folder, huge),
            "The file is too large for this viewer, which opens files of less than 2 GB.");
  EXPECT_EQ(viewer.Title(), "Mosaikon - " + plain);
  EXPECT_EQ(panes(), plainPanes);
  EXPECT_EQ(viewer.Close(), 1);
}

// Three starts at once: the ones that find the marker before the first
// window exists wait for it and hand their files over.
TEST(OpeningFiles, StartsAtOnceOpenEveryFileInOneWindow) {
  ProgramFolder folder(StandardIni({"ReuseViewer=1"}));
  Viewer starts[] = {Viewer(folder), Viewer(folder), Viewer(folder)};
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(starts[i].Start(folder.WriteFile(std::to_string(i) + ".txt", "text\r\n")));
  const auto running = [&] { return std::count_if(starts, starts + 3, [](const Viewer& v) { return v.Running(); }); };
  ASSERT_TRUE(WaitFor([&] { return running() == 1; }, 20s)) << running() << " copies run";
  Viewer& shown = *std::find_if(starts, starts + 3, [](const Viewer& v) { return v.Running(); });
  for (Viewer& start : starts) EXPECT_TRUE(&start == &shown || start.WaitForExit() == 0);
  ASSERT_TRUE(shown.WaitForWindow());
  EXPECT_TRUE(WaitFor([&] { return folder.Section("MRU").size() == 3; })) << folder.ReadIni();
  EXPECT_EQ(shown.Close(), 1);
}

}  // namespace
}  // namespace mosaikon::e2e
