// Export as Image under strain: a folder whose path nearly fills the system's
// limit, a hand-over that arrives while the Save dialog is open, a full disk,
// and the largest image, whose progress shows and which Esc stops.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "viewer.h"

namespace mosaikon::e2e {
namespace {

constexpr int kFileNameBox = 0x47C;  // cmb13 of the Save dialog
constexpr int kProgressBar = 6302;   // the bar of the export's progress dialog

// Opens the Save dialog of Export as Image; null when it does not show.
HWND OpenSaveDialog(Viewer& viewer) {
  if (!ChooseFromFileMenu(viewer, 'E')) return nullptr;
  return viewer.Shown(kDialogClass, "Export as Image");
}

// Names the image in the Save dialog and presses Enter there.
bool SaveAs(HWND save, const std::string& path) {
  SetText(save, kFileNameBox, path);
  return PressKey(save, VK_RETURN);
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    names.push_back(entry.path().filename().string());
  return names;
}

std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += " \"" + name + "\"";
  return text.empty() ? " nothing" : text;
}

// No dialog or message box of the program shows once it is idle again.
bool NoDialog(const Viewer& viewer) {
  viewer.Settle();
  return viewer.Shown(kDialogClass, "", 0s) == nullptr;
}

// Two lines and the empty one after the last line break, 17 columns: the
// image is what the view shows in its first 17 x 3 cells.
const std::string kSample = "plain\ttext here\r\n\xC4\xC4\xB3 and more\r\n";
constexpr int kSampleColumns = 17, kSampleLines = 3;
// The view has drawn it: black text on white from its first cell.
const std::vector<CellColours> kSampleDrawn = {{0, 0, {kBlack, kWhite}, kBlack}};

TEST(ExportAsImage, AFolderPathNearTheLimitTakesTheImageAndNothingElse) {
  if (Program().pngCheck.empty()) GTEST_SKIP() << "no png_check.py given";
  ProgramFolder folder(StandardIni());
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(folder.WriteFile("sample.txt", kSample)));
  ASSERT_TRUE(ViewShows(viewer.View(), kSampleDrawn));
  const Capture shown = Capture::OfClient(viewer.View());
  // The longest folder the Save dialog takes with "x.png" in it, and one of
  // 247 characters; the system's temporary names need 14 more than either.
  for (const std::size_t length : {std::size_t{247}, std::size_t{253}}) {
    SCOPED_TRACE(length);
    const std::string deep = folder.path() + std::string(length - folder.path().size(), 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    HWND save = OpenSaveDialog(viewer);
    ASSERT_NE(save, nullptr) << "no Save dialog";
    ASSERT_TRUE(SaveAs(save, deep + "\\x.png"));
    EXPECT_TRUE(WaitFor([&] { return FilesIn(deep) == std::vector<std::string>{"x.png"}; }))
        << "the folder holds" << Listed(FilesIn(deep));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(save); }));
    EXPECT_TRUE(NoDialog(viewer)) << viewer.TakeMessage();
    // The checker's own files need a shorter path.
    const std::string copy = folder.path() + "copy" + std::to_string(length) + ".png";
    ASSERT_TRUE(CopyFileA((deep + "\\x.png").c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(ComparePng(copy, shown, kSampleColumns * kCellWidth, kSampleLines * kCellHeight), "same");
  }
  EXPECT_EQ(viewer.Exit(), 1);
}

TEST(ExportAsImage, AHandOverWhileTheSaveDialogIsOpenWaitsUntilTheImageIsWritten) {
  if (Program().pngCheck.empty()) GTEST_SKIP() << "no png_check.py given";
  ProgramFolder folder(StandardIni({"ReuseViewer=1"}));
  const std::string first = folder.WriteFile("first.txt", kSample);
  // Narrower and far longer: drawn with the first file's plan it would be
  // cut at the side and blank below.
  std::string longLines;
  for (int i = 0; i < 300; ++i) longLines += "second " + std::to_string(i) + "\r\n";
  const std::string second = folder.WriteFile("second.txt", longLines);
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(first));
  ASSERT_TRUE(ViewShows(viewer.View(), kSampleDrawn));
  const Capture shown = Capture::OfClient(viewer.View());
  HWND save = OpenSaveDialog(viewer);
  ASSERT_NE(save, nullptr) << "no Save dialog";

  Viewer starter(folder);
  ASSERT_TRUE(starter.Start(second));
  EXPECT_EQ(starter.WaitForExit(), 0);
  // The record has arrived; the document stays while the dialog is open.
  EXPECT_FALSE(WaitFor([&] { return viewer.Title() != "Mosaikon - " + first; }, 2s)) << viewer.Title();
  const std::string png = folder.path() + "first.png";
  ASSERT_TRUE(SaveAs(save, png));
  EXPECT_TRUE(viewer.WaitForTitleOf(second)) << "the handed-over file did not open after the export";
  ASSERT_TRUE(WaitFor([&] { return GetFileAttributesA(png.c_str()) != INVALID_FILE_ATTRIBUTES; }));
  EXPECT_EQ(ComparePng(png, shown, kSampleColumns * kCellWidth, kSampleLines * kCellHeight), "same");
  EXPECT_EQ(viewer.Exit(), 1);
}

TEST(ExportAsImage, TheLargestImageShowsItsProgressAndEscStopsItLeavingNothing) {
  ProgramFolder folder(StandardIni());
  // 4,095 columns and 2,730 lines (the last without a line break, which
  // would start one more): an image of 32,760 x 32,760 pixels.
  std::string text;
  for (int line = 0; line < 2730; ++line) text += (line ? "\r\n" : "") + std::string(4095, 'A' + line % 26);
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(folder.WriteFile("large.txt", text)));
  HWND save = OpenSaveDialog(viewer);
  ASSERT_NE(save, nullptr) << "no Save dialog";
  ASSERT_TRUE(SaveAs(save, folder.path() + "large.png"));

  HWND progress = nullptr;
  HWND bar = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        for (HWND dialog : TopWindows(0, kDialogClass))
          if ((bar = GetDlgItem(dialog, kProgressBar)) != nullptr) return (progress = dialog) != nullptr;
        return false;
      },
      30s))
      << "no progress shows";
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) > 0; })) << "the bar does not move";
  EXPECT_FALSE(IsWindowEnabled(viewer.frame())) << "the window takes commands during the export";
  // The window is not frozen: it answers at once.
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutA(viewer.frame(), WM_NULL, 0, 0, SMTO_NORMAL, 3000, &answer));

  ASSERT_TRUE(PressKey(progress, VK_ESCAPE));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(progress); }, 10s)) << "Esc did not stop the export";
  EXPECT_TRUE(NoDialog(viewer)) << viewer.TakeMessage();
  for (const std::string& name : FilesIn(folder.path()))
    EXPECT_TRUE(name != "large.png" && !name.ends_with(".tmp")) << name << " was left behind";
  EXPECT_TRUE(IsWindowEnabled(viewer.frame()));
  EXPECT_EQ(viewer.Exit(), 1);
}

// A folder on a file system with almost no room (tests/e2e/run.sh mounts one
// for a pass of its own).
TEST(FullDisk, AnExportThatFillsTheDiskSaysSoAndLeavesNothingThere) {
  if (Program().fullDisk.empty()) GTEST_SKIP() << "no full disk given";
  ProgramFolder folder(StandardIni());
  // Letters that change from cell to cell: a PNG far larger than the room.
  std::string text;
  for (int line = 0; line < 400; ++line) {
    for (int column = 0; column < 100; ++column) text += static_cast<char>('!' + (line * 7 + column * 13) % 90);
    text += "\r\n";
  }
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(folder.WriteFile("full.txt", text)));
  HWND save = OpenSaveDialog(viewer);
  ASSERT_NE(save, nullptr) << "no Save dialog";
  const std::string png = Program().fullDisk + "\\full.png";
  ASSERT_TRUE(SaveAs(save, png));
  EXPECT_EQ(viewer.TakeMessage("Mosaikon"),
            "The image could not be written to " + png + ".\n\n" + SystemText(ERROR_DISK_FULL));
  EXPECT_EQ(FilesIn(Program().fullDisk), std::vector<std::string>{}) << Listed(FilesIn(Program().fullDisk));
  EXPECT_EQ(viewer.Exit(), 1);
}

}  // namespace
}  // namespace mosaikon::e2e
