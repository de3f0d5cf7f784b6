// The selection leaving the program: Select All and Copy through the keyboard,
// read back from the clipboard in both shapes without copy on select (the
// mouse cases copy on select); and the hot key Ctrl+Alt+V typing the selection's first line, split
// into pieces, into the edit boxes of the application in front.
#include <gtest/gtest.h>

#include "test_support.h"

namespace mosaikon::e2e {
namespace {

TEST(Clipboard, SelectAllAndCtrlCInBothShapes) {
  // A tab, an empty line in the middle and a final line break. Columns: every
  // line with tabs expanded, joined by CR LF. Stream: the file's own bytes,
  // tab kept, trailing line break removed. Alt+C switches to the other shape,
  // which is saved at exit.
  ProgramFolder folder(StandardIni({"ColumnMode=1", "CopyOnSelect=0"}));
  std::string sample = folder.WriteFile("copy.txt", "a\tb\r\n\r\nline three\r\n");
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(sample));
  EXPECT_TRUE(WaitFor([&] { return !viewer.ButtonEnabled(kCopy); })) << "Copy enabled without a selection";
  for (bool columns : {true, false}) {
    if (!columns) {
      ASSERT_TRUE(viewer.Press('C', {VK_MENU}));
    }
    EXPECT_TRUE(WaitFor([&] { return viewer.ButtonChecked(kColumnSelect) == columns; })) << "Column Select Mode";
    DWORD before = GetClipboardSequenceNumber();
    ASSERT_TRUE(viewer.Press('A', {VK_CONTROL}));
    // The enabled Copy button shows that Select All has been carried out.
    EXPECT_TRUE(WaitFor([&] { return viewer.ButtonEnabled(kCopy); })) << "Select All did not enable Copy";
    EXPECT_EQ(GetClipboardSequenceNumber(), before) << "Select All copied without copy on select";
    ASSERT_TRUE(viewer.Press('C', {VK_CONTROL}));
    EXPECT_EQ(ClipboardTextAfter(before), columns ? "a       b\r\n\r\nline three" : "a\tb\r\n\r\nline three");
  }
  EXPECT_EQ(viewer.Exit(), 1);
  EXPECT_EQ(folder.Setting("ColumnMode"), "0");
}

// A top-level window of ours with a column of edit boxes, a label after
// each, and the caret in the first box.
class EditForm {
 public:
  explicit EditForm(int boxes) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MosaikonE2eForm";
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

TEST(SendSelection, HotKeyTypesTheFirstLinesPiecesIntoTheFrontApplicationsEditBoxes) {
  ProgramFolder folder(StandardIni({"ColumnMode=0"}));
  // Split at the dashes, blanks around the pieces and the empty first piece
  // dropped; the second line is not sent.
  std::string sample = folder.WriteFile("pieces.txt", "-red - green-blue-cyan\r\nsecond-line\r\n");
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(sample));
  ASSERT_TRUE(viewer.Press('A', {VK_CONTROL}));
  ASSERT_TRUE(WaitFor([&] { return viewer.ButtonEnabled(kCopy); })) << "nothing selected";
  // Pieces beyond the last box are dropped; boxes beyond the last piece keep
  // their text. Labels between the boxes are passed over.
  struct Case {
    int boxes;
    const char* expected;
  };
  for (const Case& c : {Case{3, "red|green|blue"}, Case{5, "red|green|blue|cyan|old"}}) {
    SCOPED_TRACE(std::to_string(c.boxes) + " boxes");
    EditForm form(c.boxes);
    ASSERT_TRUE(form.Activate());
    ASSERT_TRUE(SendKey('V', {VK_CONTROL, VK_MENU}));
    // WaitFor pumps our messages, so the viewer's WM_SETTEXT calls get through.
    EXPECT_TRUE(WaitFor([&] { return form.Texts() == c.expected; }, 5s)) << form.Texts();
  }
  EXPECT_EQ(viewer.Close(), 1);
}

}  // namespace
}  // namespace mosaikon::e2e
