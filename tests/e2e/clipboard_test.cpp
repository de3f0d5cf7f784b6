// The selection leaving the program: Select All and Copy through the keyboard,
// read back from the clipboard in both shapes, the hot key Ctrl+Alt+V typing
// the selection's first line, split into pieces, into the edit boxes of the
// application in front, and what is too large for the clipboard.
#include <gtest/gtest.h>

#include "viewer.h"

namespace mosaikon::e2e {
namespace {

// A hand-edited TabSize far beyond any screen: tabs are painted and copied
// 1000 columns wide, and the value is saved back as it was read. A line wider
// than int pixels scrolls to its very end; a column text larger than any
// document is refused with a message, and the clipboard keeps its text.
TEST(Clipboard, HugeTabSizeEndOfAWideLineAndATextTooLargeToCopy) {
  ProgramFolder folder(StandardIni({"TabSize=2147483647", "ColumnMode=1", "CopyOnSelect=1", "ReuseViewer=1"}));
  std::string tabs = folder.WriteFile("tabs.txt", "a\tb\r\n\tc\r\nd\r\n");
  // Three lines of 800,000 tabs and "END": 800,000,003 columns each.
  const std::string wideLine = std::string(800'000, '\t') + "END\r\n";
  std::string wide = folder.WriteFile("wide.txt", wideLine + wideLine + wideLine);
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(tabs));
  HWND view = viewer.View();
  EXPECT_TRUE(
      ViewShows(view, {{0, 0, {kBlack, kWhite}, kBlack}, {2, 0, {kWhite}, kWhite}, {0, 2, {kBlack, kWhite}, kBlack}}));
  DWORD before = GetClipboardSequenceNumber();
  ASSERT_TRUE(viewer.Press('A', {VK_CONTROL}));
  const std::string copied = "a" + std::string(999, ' ') + "b\r\n" + std::string(1000, ' ') + "c\r\nd";
  EXPECT_EQ(ClipboardTextAfter(before), copied);

  Viewer starter(folder);
  ASSERT_TRUE(starter.Start(wide));
  ASSERT_TRUE(viewer.WaitForTitleOf(wide));
  ASSERT_TRUE(viewer.Press(VK_END));
  // "END" ends at the client's right edge, after blank cells.
  EXPECT_TRUE(WaitFor([&] {
    Capture shot = Capture::OfClient(view);
    const int right = shot.width();
    return shot.Contains({right - 3 * kCellWidth, 0, right, kCellHeight}, kBlack) &&
           shot.Only({right - 6 * kCellWidth, 0, right - 3 * kCellWidth, 3 * kCellHeight}, {kWhite});
  })) << "End did not reach the end of the line";

  before = GetClipboardSequenceNumber();
  ASSERT_TRUE(viewer.Press('A', {VK_CONTROL}));
  EXPECT_EQ(viewer.TakeMessage(), "The selection is too large to copy to the clipboard.");
  EXPECT_EQ(GetClipboardSequenceNumber(), before);
  EXPECT_EQ(viewer.Exit(), 1);
  EXPECT_EQ(folder.Setting("TabSize"), "2147483647");
}

// A top-level window of ours with a column of edit boxes, a label after
// each, and the caret in the first box.
class EditForm {
 public:
  explicit EditForm(int boxes) {
    WNDCLASSA wc{.lpfnWndProc = DefWindowProcA, .hInstance = GetModuleHandleA(nullptr), .lpszClassName = "E2eForm"};
    RegisterClassA(&wc);  // fails harmlessly when already registered
    form_ = CreateWindowExA(0, wc.lpszClassName, "Form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400,
                            40 + 30 * boxes, nullptr, nullptr, wc.hInstance, nullptr);
    for (int i = 0; i < boxes; ++i) {
      edits_.push_back(CreateWindowExA(0, "Edit", "old", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10 + 30 * i, 200, 24,
                                       form_, nullptr, wc.hInstance, nullptr));
      CreateWindowExA(0, "Static", "label", WS_CHILD | WS_VISIBLE, 220, 10 + 30 * i, 100, 24, form_, nullptr,
                      wc.hInstance, nullptr);
    }
  }
  ~EditForm() { DestroyWindow(form_); }
  EditForm(const EditForm&) = delete;
  EditForm& operator=(const EditForm&) = delete;

  bool Activate() {
    SetForegroundWindow(form_);
    SetFocus(edits_.front());
    return WaitFor([&] { return GetForegroundWindow() == form_ && GetFocus() == edits_.front(); }, 5s);
  }
  std::string Texts() const {
    std::string texts;
    for (HWND edit : edits_) texts.append(texts.empty() ? "" : "|").append(WindowText(edit));
    return texts;
  }

 private:
  HWND form_ = nullptr;
  std::vector<HWND> edits_;
};

// A tab, an empty line in the middle and a final line break. Columns: every
// line with tabs expanded, joined by CR LF. Stream: the file's own bytes, tab
// kept, trailing line break removed. The hot key sends the first line split
// at the dashes, blanks around the pieces and the empty first piece dropped;
// pieces beyond the last box are dropped, boxes beyond the last piece keep
// their text, and labels between the boxes are passed over.
TEST(Clipboard, SelectAllAndCtrlCInBothShapesAndTheHotKeyTypesTheFirstLine) {
  ProgramFolder folder(StandardIni({"ColumnMode=1", "CopyOnSelect=0"}));
  const std::string first = "-red - green-blue-cyan\r\n";
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(folder.WriteFile("copy.txt", first + "\r\na\tb\r\n")));
  EXPECT_TRUE(WaitFor([&] { return !viewer.ButtonEnabled(kCopy); })) << "Copy enabled without a selection";
  for (bool columns : {true, false}) {
    ASSERT_TRUE(columns || viewer.Press('C', {VK_MENU}));
    ASSERT_TRUE(WaitFor([&] { return viewer.ButtonChecked(kColumnSelect) == columns; })) << "Column Select Mode";
    DWORD before = GetClipboardSequenceNumber();
    ASSERT_TRUE(viewer.Press('A', {VK_CONTROL}));
    // The enabled Copy button shows that Select All has been carried out.
    EXPECT_TRUE(WaitFor([&] { return viewer.ButtonEnabled(kCopy); })) << "Select All did not enable Copy";
    EXPECT_EQ(GetClipboardSequenceNumber(), before) << "Select All copied without copy on select";
    EXPECT_EQ(viewer.Copy(), first + (columns ? "\r\na       b" : "\r\na\tb"));
  }
  for (auto [boxes, expected] : {std::pair{3, "red|green|blue"}, {5, "red|green|blue|cyan|old"}}) {
    EditForm form(boxes);
    ASSERT_TRUE(form.Activate());
    ASSERT_TRUE(SendKey('V', {VK_CONTROL, VK_MENU}));
    // WaitFor pumps our messages, so the viewer's WM_SETTEXT calls get through.
    EXPECT_TRUE(WaitFor([&] { return form.Texts() == expected; }, 5s)) << boxes << " boxes: " << form.Texts();
  }
  EXPECT_EQ(viewer.Exit(), 1);
}

}  // namespace
}  // namespace mosaikon::e2e
