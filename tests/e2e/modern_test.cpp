// Modern Rendering on the real window: the View menu's toggle reloads the
// file in place and is stored in the INI file; the note a classic load puts
// in the status bar; 24-bit and 256-colour art painted pixel for pixel as the
// test's own model of the cells says, iCE colours, a UTF-8 file with box
// drawing, the Unicode text a copy puts beside the bytes, and an export of
// 24-bit art that holds the pixels of the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "viewer.h"

namespace mosaikon::e2e {
namespace {

// The 16 colours of ANSI art.
constexpr Rgb kPalette[16] = {{0, 0, 0},          {0x80, 0, 0},    {0, 0x80, 0},    {0x80, 0x80, 0},
                              {0, 0, 0x80},       {0x80, 0, 0x80}, {0, 0x80, 0x80}, {0xC0, 0xC0, 0xC0},
                              {0x80, 0x80, 0x80}, {0xFF, 0, 0},    {0, 0xFF, 0},    {0xFF, 0xFF, 0},
                              {0, 0, 0xFF},       {0xFF, 0, 0xFF}, {0, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF}};

// Entry n of the 256-colour table as terminals define it.
Rgb Table256(int n) {
  if (n < 16) return kPalette[n];
  if (n >= 232) {
    const auto grey = static_cast<std::uint8_t>(8 + 10 * (n - 232));
    return {grey, grey, grey};
  }
  const auto level = [](int k) { return static_cast<std::uint8_t>(k == 0 ? 0 : 55 + 40 * k); };
  return {level((n - 16) / 36), level((n - 16) / 6 % 6), level((n - 16) % 6)};
}

// A cell as the test draws it: a blank shows its background, a full block
// (0xDB) its text colour, an upper half block (0xDF) the text colour over
// the background, split at half the cell's height.
struct ModelCell {
  Rgb text, background;
  char glyph;
};
using Model = std::vector<std::vector<ModelCell>>;

Rgb ModelPixel(const ModelCell& cell, int y) {
  if (cell.glyph == ' ') return cell.background;
  if (cell.glyph == '\xDB') return cell.text;
  return y < kCellHeight / 2 ? cell.text : cell.background;
}

// "" when the view shows rows [first, first + count) of `model` from its top
// row on, pixel for pixel; otherwise the first pixel that is not as modelled.
std::string ModelMismatch(HWND view, const Model& model, int first, int count) {
  const Capture shot = Capture::OfClient(view);
  for (int row = 0; row < count; ++row) {
    const std::vector<ModelCell>& cells = model[first + row];
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      for (int y = 0; y < kCellHeight; ++y) {
        for (int x = 0; x < kCellWidth; ++x) {
          const Rgb want = ModelPixel(cells[column], y);
          const Rgb got = shot.At(column * kCellWidth + x, row * kCellHeight + y);
          if (got == want) continue;
          return "row " + std::to_string(first + row) + " cell " + std::to_string(column) + " pixel (" +
                 std::to_string(x) + ", " + std::to_string(y) + ") shows " + std::to_string(got.r) + "," +
                 std::to_string(got.g) + "," + std::to_string(got.b) + " instead of " + std::to_string(want.r) + "," +
                 std::to_string(want.g) + "," + std::to_string(want.b);
        }
      }
    }
  }
  return "";
}

testing::AssertionResult ShowsModel(HWND view, const Model& model, int first, int count) {
  std::string mismatch;
  WaitFor([&] { return (mismatch = ModelMismatch(view, model, first, count)).empty(); });
  if (mismatch.empty()) return testing::AssertionSuccess();
  return testing::AssertionFailure() << mismatch;
}

std::string Number(int value) {
  return std::to_string(value);
}

// Every cell of 24-bit art with colours of its own, rows of exactly 80 cells
// (each followed by a line break, which makes no empty row).
Model TrueColourModel(int rows) {
  Model model;
  for (int y = 0; y < rows; ++y) {
    std::vector<ModelCell>& cells = model.emplace_back();
    for (int x = 0; x < 80; ++x) {
      const auto b = [](int v) { return static_cast<std::uint8_t>(v & 0xFF); };
      cells.push_back(
          {{b(x * 3), b(y * 4), b(200 - x)}, {b(255 - 2 * x), b((x + y) * 5), b(y * 3)}, " \xDB\xDF"[(x + y) % 3]});
    }
  }
  return model;
}

std::string TrueColourArt(const Model& model) {
  std::string art;
  for (const std::vector<ModelCell>& cells : model) {
    for (const ModelCell& cell : cells) {
      art += "\x1b[38;2;" + Number(cell.text.r) + ";" + Number(cell.text.g) + ";" + Number(cell.text.b) + ";48;2;" +
             Number(cell.background.r) + ";" + Number(cell.background.g) + ";" + Number(cell.background.b) + "m" +
             cell.glyph;
    }
    art += "\r\n";
  }
  return art;
}

const char kTrueColourHint[] = "This file uses 24-bit colours: View > Modern Rendering shows them";

bool ToggleModernRendering(Viewer& viewer) {
  return ChooseFromMenu(viewer, 'V', 'M');
}

// Hands `file` to the running viewer (ReuseViewer is on) and waits until it shows.
testing::AssertionResult HandOver(Viewer& viewer, const ProgramFolder& folder, const std::string& file) {
  Viewer starter(folder);
  if (!starter.Start(file) || starter.WaitForExit() != 0) return testing::AssertionFailure() << "no hand-over";
  return viewer.WaitForTitleOf(file);
}

TEST(ModernRendering, ToggleReloadsInPlaceAndIsStoredAfterTheFifteenSettings) {
  ProgramFolder folder(StandardIni());
  const Model model = TrueColourModel(60);
  const std::string art = folder.WriteFile("truecolour.ans", TrueColourArt(model));
  {
    Viewer viewer(folder);
    ASSERT_TRUE(viewer.Open(art));
    EXPECT_TRUE(WaitFor([&] { return viewer.PaneText(0) == kTrueColourHint; })) << viewer.PaneText(0);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(viewer.Press(VK_DOWN));
    viewer.Settle();
    // Reloaded at the same scroll position, in its colours; the note goes.
    ASSERT_TRUE(ToggleModernRendering(viewer));
    EXPECT_TRUE(ShowsModel(viewer.View(), model, 3, 30));
    EXPECT_EQ(viewer.PaneText(0), "Ready");
    EXPECT_EQ(viewer.Exit(), 1);
  }
  EXPECT_NE(folder.Settings({"WindowPos"}).find(" DecodeMode=0 ModernRendering=1 "), std::string::npos)
      << folder.ReadIni();
  {
    Viewer viewer(folder);
    ASSERT_TRUE(viewer.Open(art));
    EXPECT_TRUE(ShowsModel(viewer.View(), model, 0, 30));
    EXPECT_EQ(viewer.PaneText(0), "Ready");
    ASSERT_TRUE(ToggleModernRendering(viewer));
    EXPECT_TRUE(WaitFor([&] { return viewer.PaneText(0) == kTrueColourHint; })) << viewer.PaneText(0);
    EXPECT_EQ(viewer.Exit(), 1);
  }
  EXPECT_EQ(folder.Setting("ModernRendering"), "0");
}

// A SAUCE record with the iCE flag: blink stands for a bright background.
std::string IceRecord() {
  std::string record = "\x1aSAUCE00";
  record.append(94 - 7, ' ');
  record += std::string("\x01\x01\x50\0\x19\0\0\0\0\0\0\x01", 12);
  return record.append(129 - record.size(), '\0');
}

TEST(ModernRendering, ArtShowsAsItsCellsSayAndCopiesTheCharactersItShows) {
  if (Program().pngCheck.empty()) GTEST_SKIP() << "no png_check.py given";
  ProgramFolder folder(StandardIni({"ModernRendering=1", "ReuseViewer=1", "ColumnMode=1", "CopyOnSelect=0"}));
  Viewer viewer(folder);

  // 24-bit art, and its export: the pixels of the screen (20 rows of art, and
  // the empty last line of a file that ends with a line break).
  const Model trueColour = TrueColourModel(20);
  ASSERT_TRUE(viewer.Open(folder.WriteFile("art24.ans", TrueColourArt(trueColour))));
  ASSERT_TRUE(ShowsModel(viewer.View(), trueColour, 0, 20));
  ASSERT_TRUE(ChooseFromFileMenu(viewer, 'E'));
  HWND save = viewer.Shown(kDialogClass, "Export as Image");
  ASSERT_NE(save, nullptr) << "no Save dialog";
  ASSERT_TRUE(PressKey(save, VK_RETURN));
  const std::string png = folder.path() + "art24.png";
  ASSERT_TRUE(WaitFor([&] { return GetFileAttributesA(png.c_str()) != INVALID_FILE_ATTRIBUTES; })) << "no " << png;
  // Compared with the screen once the dialog has left it.
  ASSERT_TRUE(ShowsModel(viewer.View(), trueColour, 0, 20));
  EXPECT_EQ(ComparePng(png, Capture::OfClient(viewer.View()), 80 * kCellWidth, 22 * kCellHeight), "same");

  // The 256-colour table, each cell both ways round.
  Model table;
  std::string art;
  for (int n = 0; n < 256; ++n) {
    if (n % 16 == 0) table.emplace_back();
    table.back().push_back({Table256(n), Table256(255 - n), '\xDF'});
    art += "\x1b[38;5;" + Number(n) + ";48;5;" + Number(255 - n) + "m\xDF" + (n % 16 == 15 ? "\r\n" : "");
  }
  ASSERT_TRUE(HandOver(viewer, folder, folder.WriteFile("art256.ans", art)));
  EXPECT_TRUE(ShowsModel(viewer.View(), table, 0, 16));

  // iCE colours: blink is a bright background.
  const Model ice = {{{kBlack, kPalette[12], ' '}, {kBlack, kPalette[9], ' '}, {kBlack, kPalette[4], ' '}}};
  ASSERT_TRUE(
      HandOver(viewer, folder, folder.WriteFile("ice.ans", "\x1b[5;44m \x1b[0;5;41m \x1b[0;44m \r\n" + IceRecord())));
  EXPECT_TRUE(ShowsModel(viewer.View(), ice, 0, 1));

  // UTF-8 box drawing shows as the same box in code page 437 does.
  ASSERT_TRUE(HandOver(viewer, folder,
                       folder.WriteFile("box437.txt", "\xDA\xC4\xC4\xBF\r\n\xB3\xDB\xB1\xB3\r\n\xC0\xC4\xC4\xD9")));
  // The reference: the box drawn (ink in its corner, none right of it).
  Capture box;
  ASSERT_TRUE(WaitFor([&] {
    box = Capture::OfClient(viewer.View());
    return box.Contains(Cell(0, 0), kBlack) && box.Contains(Cell(3, 2), kBlack) && box.Only(Cell(4, 1), {kWhite});
  }));
  const std::string utf8 = folder.WriteFile(
      "box-utf8.txt", "\u250C\u2500\u2500\u2510\r\n\u2502\u2588\u2592\u2502\r\n\u2514\u2500\u2500\u2518");
  ASSERT_TRUE(HandOver(viewer, folder, utf8));
  EXPECT_TRUE(WaitFor([&] {
    const Capture shown = Capture::OfClient(viewer.View());
    for (int y = 0; y < 3 * kCellHeight; ++y) {
      for (int x = 0; x < 6 * kCellWidth; ++x) {
        if (!(shown.At(x, y) == box.At(x, y))) return false;
      }
    }
    return true;
  })) << "the UTF-8 box differs from the code page 437 one";

  // A copy: the bytes as CF_TEXT, the characters shown as CF_UNICODETEXT.
  ASSERT_TRUE(viewer.Press('A', {VK_CONTROL}));
  EXPECT_EQ(viewer.Copy(), "\xDA\xC4\xC4\xBF\r\n\xB3\xDB\xB1\xB3\r\n\xC0\xC4\xC4\xD9");
  EXPECT_EQ(ClipboardUnicodeText(),
            u"\u250C\u2500\u2500\u2510\r\n\u2502\u2588\u2592\u2502\r\n\u2514\u2500\u2500\u2518");
  EXPECT_EQ(viewer.Exit(), 1);
}

}  // namespace
}  // namespace mosaikon::e2e
