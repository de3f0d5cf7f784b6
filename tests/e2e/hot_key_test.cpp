// The system-wide hot key Ctrl+Alt+V: the viewer types the first line of its
// selection, split into pieces, into the edit boxes of the application in
// front, here a window of this driver.
#include <gtest/gtest.h>

#include "test_support.h"

namespace mosaikon::e2e {
namespace {

// A top-level window of ours with a row of edit boxes, the first one focused.
class EditForm {
 public:
  explicit EditForm(int boxes) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MosaikonE2eForm";
    RegisterClassA(&wc);  // fails harmlessly when already registered
    form_ = CreateWindowExA(0, wc.lpszClassName, "Form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 200, nullptr,
                            nullptr, wc.hInstance, nullptr);
    for (int i = 0; i < boxes; ++i) {
      edits_.push_back(CreateWindowExA(0, "Edit", "old", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10 + 30 * i, 300, 24,
                                       form_, nullptr, wc.hInstance, nullptr));
    }
  }
  ~EditForm() { DestroyWindow(form_); }
  EditForm(const EditForm&) = delete;
  EditForm& operator=(const EditForm&) = delete;

  // Brings the form to the front with the caret in the first box.
  bool Activate() {
    SetForegroundWindow(form_);
    SetFocus(edits_.front());
    return WaitFor([&] { return GetForegroundWindow() == form_ && GetFocus() == edits_.front(); }, 5s);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (HWND edit : edits_) texts.push_back(WindowText(edit));
    return texts;
  }

 private:
  HWND form_ = nullptr;
  std::vector<HWND> edits_;
};

void PressHotKey() {
  std::vector<WORD> keys = {VK_CONTROL, VK_MENU, 'V'};
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *it;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST(SendSelection, HotKeyTypesThePiecesIntoTheFrontApplicationsEditBoxes) {
  struct Case {
    const char* document;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"red-green-blue\r\n", {"red", "green", "blue"}},
      // Only the first line; blanks split when there is no dash.
      {"two  words\r\nsecond line\r\n", {"two", "words", "old"}},
      // A leading dash gives no empty piece; blanks around pieces go.
      {"-red - green\r\n", {"red", "green", "old"}},
      // More pieces than boxes: the rest are dropped.
      {"a b c d e\r\n", {"a", "b", "c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.document);
    ProgramFolder folder;
    folder.WriteIni(StandardIni({"ColumnMode=0"}));
    std::string sample = folder.WriteFile("pieces.txt", c.document);
    ViewerSession viewer(folder);
    ASSERT_TRUE(viewer.Start(Quoted(sample)));
    ASSERT_TRUE(viewer.WaitForWindow());
    ASSERT_TRUE(viewer.WaitForTitle("Mosaikon - " + sample));
    ASSERT_TRUE(viewer.PressKey('A', {VK_CONTROL}));
    ASSERT_TRUE(WaitFor([&] { return viewer.ButtonEnabled(57634); })) << "nothing selected";

    EditForm form(3);
    ASSERT_TRUE(form.Activate());
    PressHotKey();
    // WaitFor pumps our messages, so the viewer's WM_SETTEXT calls get through.
    EXPECT_TRUE(WaitFor([&] { return form.Texts() == c.expected; }, 5s))
        << form.Texts()[0] << " | " << form.Texts()[1] << " | " << form.Texts()[2];
    EXPECT_EQ(viewer.Close(), 1);
  }
}

}  // namespace
}  // namespace mosaikon::e2e
