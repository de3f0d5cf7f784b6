// The mouse over the view, by real input, with copy on select: drags copy a
// stream or a rectangle of columns, backwards as forwards, and show the
// selection on screen; a click alone copies nothing; a double-click selects a
// word; a drag held below the window scrolls it; a click on either end of a
// link hands the whole link to the shell, and the pointer is a hand over
// links only. Links too long to hand over safely are offered for copying.
#include <gtest/gtest.h>

#include "viewer.h"

namespace mosaikon::e2e {
namespace {

// Makes the shell's "open" verb for http addresses start a copy of the
// recorder built beside this driver, placed in `folder`, which appends every
// address it gets to links.log there; until the previous command comes back
// at the end. The command is kept short, as the shell drops an address that
// does not fit beside it into about 1,000 characters.
class LinkRecorder {
 public:
  explicit LinkRecorder(const ProgramFolder& folder) {
    char driver[MAX_PATH] = "";
    std::string recorder(driver, GetModuleFileNameA(nullptr, driver, MAX_PATH));
    recorder.replace(recorder.rfind('\\') + 1, std::string::npos, "link_recorder.exe");
    const std::string copy = folder.path() + "link_recorder.exe";
    set = CopyFileA(recorder.c_str(), copy.c_str(), FALSE) && SetClassesValue(kKey, "\"" + copy + "\" %1");
  }
  ~LinkRecorder() {
    if (set && previous_ != "<missing>") SetClassesValue(kKey, previous_);
  }
  LinkRecorder(const LinkRecorder&) = delete;
  LinkRecorder& operator=(const LinkRecorder&) = delete;
  bool set = false;

 private:
  static constexpr char kKey[] = "http\\shell\\open\\command";
  const std::string previous_ = ClassesValue(kKey);
};

// Row 0 holds a tab and foo_bar, row 1 a link between words; numbered lines
// follow, and far below one more link.
std::string MouseFile() {
  std::string text = "ab\tfoo_bar (x)\r\nsee http://x.example/a?b=1 now\r\n";
  for (int k = 2; k < 200; ++k) text += (k == 80 ? "http://far.example/" : "line " + std::to_string(k)) + "\r\n";
  return text;
}

TEST(Mouse, DragsWordsLinksAndAutoScroll) {
  ProgramFolder folder(StandardIni({"ColumnMode=0", "CopyOnSelect=1"}));
  LinkRecorder recorder(folder);
  ASSERT_TRUE(recorder.set);
  const std::string sample = folder.WriteFile("mouse.txt", MouseFile());
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(sample));
  HWND view = viewer.View();
  ASSERT_NE(view, nullptr);
  auto dragCopy = [&](POINT from, POINT to) {
    const DWORD before = GetClipboardSequenceNumber();
    return Drag(view, from, to) ? ClipboardTextAfter(before) : "<no drag>";
  };

  // Stream: the file's own bytes, tab kept; the selection in swapped colours,
  // never right of a line's end.
  const std::string stream = "b\tfoo_bar (x)\r\nsee";
  EXPECT_EQ(dragCopy(CellCentre(1, 0), CellCentre(3, 1)), stream);
  EXPECT_TRUE(ViewShows(view, {{2, 0, {kBlack}, kBlack},
                               {7, 0, {kBlack}, kBlack},
                               {20, 0, {kWhite}, kWhite},
                               {3, 1, {kWhite}, kWhite},
                               {4, 1, {kWhite, kLinkBlue}, kLinkBlue}}));
  EXPECT_EQ(dragCopy(CellCentre(3, 1), CellCentre(1, 0)), stream) << "dragged backwards";

  // A click alone empties the selection and copies nothing; the idle update
  // of Copy follows the button-up that would have copied.
  DWORD before = GetClipboardSequenceNumber();
  ASSERT_TRUE(Click(view, CellCentre(0, 0)));
  EXPECT_TRUE(WaitFor([&] { return !viewer.ButtonEnabled(kCopy); })) << "a click left a selection";
  EXPECT_EQ(GetClipboardSequenceNumber(), before) << "a click copied";

  ASSERT_TRUE(DoubleClick(view, CellCentre(13, 0)));
  EXPECT_EQ(ClipboardTextAfter(before), "bar");
  before = GetClipboardSequenceNumber();
  ASSERT_TRUE(DoubleClick(view, CellCentre(11, 0)));
  EXPECT_TRUE(WaitFor([&] { return !viewer.ButtonEnabled(kCopy); })) << "the underscore selected something";
  EXPECT_EQ(GetClipboardSequenceNumber(), before) << "the underscore copied";
  ASSERT_TRUE(DoubleClick(view, CellCentre(9, 0)));
  EXPECT_EQ(ClipboardTextAfter(before), "foo");

  // The hand over a link, the arrow elsewhere. Another program's cursor is
  // known only by its handle: the arrow is the one shown over plain text.
  ASSERT_TRUE(MoveTo(view, CellCentre(2, 1)));
  const HCURSOR arrow = ShownCursor();
  ASSERT_NE(arrow, nullptr);
  // On a loaded machine a single move now and then leaves the cursor as it
  // was: the pointer is moved again at every look, a pixel either way, as a
  // hand on the mouse does.
  auto pointerOver = [&](int column, bool hand) {
    const POINT at = CellCentre(column, 1);
    int look = 0;
    return WaitFor([&] {
      if (!MoveTo(view, {at.x + look++ % 2, at.y})) return false;
      const HCURSOR shown = ShownCursor();
      return hand ? shown && shown != arrow : shown == arrow;
    });
  };
  for (auto [column, hand] : {std::pair{10, true}, std::pair{2, false}, std::pair{25, true}, std::pair{26, false}})
    EXPECT_TRUE(pointerOver(column, hand)) << (hand ? "no hand in column " : "no arrow in column ") << column;

  // Either end opens the whole link and leaves the selection as it was. A
  // start of the recorder can take seconds on a loaded machine.
  const std::string link = "http://x.example/a?b=1\n";
  std::string opened;
  for (int column : {4, 25}) {
    ASSERT_TRUE(Click(view, CellCentre(column, 1)));
    opened += link;
    EXPECT_TRUE(WaitFor([&] { return folder.ReadFile("links.log") == opened; }, 30s))
        << column << ": " << folder.ReadFile("links.log");
  }
  EXPECT_EQ(viewer.Copy(30s), "foo") << "a click on a link changed the selection";

  // Another window taking the focus ends a drag; the selection stays. The
  // focus goes only once the drag has selected: the button-down empties the
  // selection, the move makes the new one.
  ASSERT_TRUE(StartDrag(view, CellCentre(0, 3)));
  ASSERT_TRUE(WaitFor([&] { return !viewer.ButtonEnabled(kCopy); })) << "the button-down kept the selection";
  ASSERT_TRUE(MoveTo(view, CellCentre(5, 4)));
  ASSERT_TRUE(WaitFor([&] { return viewer.ButtonEnabled(kCopy); })) << "the drag selected nothing";
  HWND other =
      CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 900, 700, 50, 50, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  EXPECT_TRUE(WaitFor([&] { return !Captured(view); })) << "the drag outlived the focus";
  ASSERT_TRUE(EndDrag(view, CellCentre(5, 4)));
  DestroyWindow(other);
  EXPECT_TRUE(WaitFor([&] { return viewer.ButtonEnabled(kCopy); })) << "the selection went with the focus";

  // Held below the window, a drag scrolls until the far link shows; the
  // button-up ends the selection there.
  RECT client{};
  GetClientRect(view, &client);
  const POINT below{CellCentre(2, 0).x, client.bottom + 2 * kCellHeight};
  before = GetClipboardSequenceNumber();
  ASSERT_TRUE(StartDrag(view, CellCentre(0, 2)));
  ASSERT_TRUE(MoveTo(view, below));
  auto farLinkShown = [&] {  // no other link starts in column 0
    const Capture shot = Capture::OfClient(view);
    return shot.Contains({0, 0, kCellWidth, shot.height()}, kLinkBlue);
  };
  EXPECT_TRUE(WaitFor(farLinkShown, 30s)) << "the view did not scroll down to the far link";
  ASSERT_TRUE(EndDrag(view, below));
  const std::string scrolled = ClipboardTextAfter(before);
  EXPECT_EQ(scrolled.rfind("line 2\r\nline 3\r\n", 0), 0u) << scrolled.substr(0, 40);
  EXPECT_NE(scrolled.find("\r\nline 79\r\nhttp://far.example/\r\nline 81"), std::string::npos) << scrolled.size();

  // Columns: tabs expanded, rows joined by CR LF.
  ASSERT_TRUE(viewer.Press(VK_HOME, {VK_CONTROL}));
  ASSERT_TRUE(viewer.Press('C', {VK_MENU}));
  EXPECT_TRUE(WaitFor([&] { return viewer.ButtonChecked(kColumnSelect); }));
  EXPECT_EQ(dragCopy(CellCentre(1, 0), CellCentre(5, 1)), "b   \r\nee h");
  EXPECT_EQ(viewer.Exit(), 1);
}

// Links of 900, 1,000, 2,000 and 5,000 bytes, and one of 817 bytes that its
// environment variables make 1,017 characters long where the shell looks it up.
TEST(Mouse, LongLinksOpenUpToTheSafeLengthAndAreOfferedForCopyingBeyond) {
  ProgramFolder folder(StandardIni());
  LinkRecorder recorder(folder);
  ASSERT_TRUE(recorder.set);
  auto linkOf = [](int length, const std::string& fill) {
    std::string link = "http://l.example/";
    while (static_cast<int>(link.size()) < length) link += fill;
    return link.substr(0, static_cast<std::size_t>(length));
  };
  char windows[MAX_PATH] = "";
  ASSERT_EQ(GetEnvironmentVariableA("WINDIR", windows, MAX_PATH), 10u) << windows;
  const std::vector<std::string> links = {linkOf(900, "a"), linkOf(1000, "b"), linkOf(2000, "c"), linkOf(5000, "d"),
                                          linkOf(817, "%WINDIR%")};
  std::string text;
  for (const std::string& link : links) text += link + "\r\n";
  Viewer viewer(folder);
  ASSERT_TRUE(viewer.Open(folder.WriteFile("long-links.txt", text)));
  HWND view = viewer.View();

  ASSERT_TRUE(Click(view, CellCentre(3, 0)));
  EXPECT_TRUE(WaitFor([&] { return folder.ReadFile("links.log") == links[0] + "\n"; }, 30s))
      << folder.ReadFile("links.log").size();

  // Beyond that, the user is told and may copy the link instead (Yes).
  struct Refused {
    int row;
    const char* length;
    bool copy;
  };
  for (const Refused& refused : {Refused{1, "1000", false}, {2, "2000", true}, {3, "5000", true}, {4, "1017", true}}) {
    SCOPED_TRACE(refused.row);
    const DWORD before = GetClipboardSequenceNumber();
    ASSERT_TRUE(Click(view, CellCentre(3, refused.row)));
    HWND box = viewer.Shown(kDialogClass, "Mosaikon");
    ASSERT_NE(box, nullptr) << "no message; running: " << viewer.Running();
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)),
              std::string("This link is too long to open: it makes an address of ") + refused.length +
                  " characters, and at most 900 can be handed to the system safely.\n\n"
                  "Copy the link to the clipboard instead?");
    ASSERT_TRUE(refused.copy ? Dismiss(box, VK_RETURN) : ClickButton(box, IDNO));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    if (refused.copy) EXPECT_EQ(ClipboardTextAfter(before), links[refused.row]);
  }
  viewer.Settle();
  EXPECT_EQ(folder.ReadFile("links.log"), links[0] + "\n") << "a long link was handed to the shell";
  EXPECT_EQ(viewer.Exit(), 1);
}

}  // namespace
}  // namespace mosaikon::e2e
