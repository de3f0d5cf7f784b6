// Select All and Copy through the keyboard, read back from the clipboard by
// this process: stream and column shapes, copy on select on and off.
#include <gtest/gtest.h>

#include "test_support.h"

namespace mosaikon::e2e {
namespace {

TEST(ViewerClipboard, SelectAllAndCopyPutTheDocumentOnTheClipboard) {
  // A tab, an empty line in the middle and a final line break.
  const std::string text = "a\tb\r\n\r\nline three\r\n";
  struct Case {
    const char* name;
    const char* columnMode;
    const char* copyOnSelect;
    bool pressCopy;
    std::string expected;
  };
  const Case cases[] = {
      // Stream: the file's own bytes, tab kept, trailing line break removed.
      {"stream, copy on select", "0", "1", false, "a\tb\r\n\r\nline three"},
      // Columns: every line with tabs expanded, joined by CR LF.
      {"columns, copy on select", "1", "1", false, "a       b\r\n\r\nline three"},
      {"stream, Ctrl+C", "0", "0", true, "a\tb\r\n\r\nline three"},
      {"columns, Ctrl+C", "1", "0", true, "a       b\r\n\r\nline three"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramFolder folder;
    folder.WriteIni(
        StandardIni({std::string("ColumnMode=") + c.columnMode, std::string("CopyOnSelect=") + c.copyOnSelect}));
    std::string sample = folder.WriteFile("copy.txt", text);
    EmptyTheClipboard();
    DWORD emptied = GetClipboardSequenceNumber();

    ViewerSession viewer(folder);
    ASSERT_TRUE(viewer.Start(Quoted(sample)));
    ASSERT_TRUE(viewer.WaitForWindow());
    ASSERT_TRUE(viewer.WaitForTitle("Mosaikon - " + sample));
    ASSERT_TRUE(viewer.PressKey('A', {VK_CONTROL}));
    if (c.pressCopy) {
      // Without copy on select, Select All alone leaves the clipboard alone;
      // the enabled Copy button shows that Select All has been carried out.
      EXPECT_TRUE(WaitFor([&] { return viewer.ButtonEnabled(57634); })) << "Select All did not enable Copy";
      EXPECT_EQ(ClipboardText(), "<none>");
      ASSERT_TRUE(viewer.PressKey('C', {VK_CONTROL}));
    }
    // Watch the sequence number, which needs no open clipboard: holding it
    // open while polling would make the viewer's OpenClipboard fail.
    EXPECT_TRUE(WaitFor([&] { return GetClipboardSequenceNumber() != emptied; })) << "nothing was copied";
    EXPECT_EQ(ClipboardText(), c.expected);
    ASSERT_TRUE(viewer.PressKey(VK_ESCAPE));
    EXPECT_EQ(viewer.WaitForExit(), 1);
  }
}

// Copy is greyed without a document and without a selection; Select All
// gives it something to copy. Column Select Mode shows as a pressed button.
TEST(ViewerClipboard, CopyButtonFollowsTheSelection) {
  ProgramFolder folder;
  folder.WriteIni(StandardIni({"ColumnMode=0", "CopyOnSelect=0"}));
  std::string sample = folder.WriteFile("copy.txt", "some text\r\n");
  ViewerSession viewer(folder);
  ASSERT_TRUE(viewer.Start(""));
  ASSERT_TRUE(viewer.WaitForWindow());
  EXPECT_TRUE(WaitFor([&] { return viewer.ToolBar() && !viewer.ButtonEnabled(57634); })) << "Copy enabled";
  EXPECT_FALSE(viewer.ButtonChecked(5002)) << "ColumnMode=0";
  ASSERT_TRUE(viewer.PressKey('C', {VK_MENU}));
  EXPECT_TRUE(WaitFor([&] { return viewer.ButtonChecked(5002); })) << "Alt+C did not press the button";
  EXPECT_EQ(viewer.Close(), 1);

  // The same folder, now with a document: still nothing selected at first.
  ViewerSession again(folder);
  ASSERT_TRUE(again.Start(Quoted(sample)));
  ASSERT_TRUE(again.WaitForWindow());
  ASSERT_TRUE(again.WaitForTitle("Mosaikon - " + sample));
  EXPECT_TRUE(WaitFor([&] { return again.ButtonChecked(5002); })) << "ColumnMode was not kept: " << folder.ReadIni();
  EXPECT_TRUE(WaitFor([&] { return !again.ButtonEnabled(57634); })) << "Copy enabled without a selection";
  ASSERT_TRUE(again.PressKey('A', {VK_CONTROL}));
  EXPECT_TRUE(WaitFor([&] { return again.ButtonEnabled(57634); })) << "Select All did not enable Copy";
}

}  // namespace
}  // namespace mosaikon::e2e
