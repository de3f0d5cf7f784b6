// Find: the dialog's requests become searches of the document from the
// selection; a match becomes the selection and is scrolled into view.
#include "shell/win32/find_command.h"

#include <dlgs.h>

#include <algorithm>

#include "common/string_util.h"
#include "framework/resource_string.h"
#include "resources/resource_ids.h"

namespace mosaikon {

namespace {

// The system's code page's letters among the bytes of 0x80 and above, and
// their upper case, asked for once. An upper case only counts when it comes
// back to the same byte in lower case: a letter without one of its own in
// the code page turns into "?" on the way.
const ByteLetters& CodePageLetters() {
  static const ByteLetters letters = [] {
    ByteLetters table;
    for (int code = 0x80; code <= 0xFF; ++code) {
      const auto byte = static_cast<char>(code);
      char upper = byte, lower = 0;
      CharUpperBuffA(&upper, 1);
      lower = upper;
      CharLowerBuffA(&lower, 1);
      table.SetHighByte(static_cast<unsigned char>(code), IsCharAlphaNumericA(byte) != FALSE,
                        static_cast<unsigned char>(lower == byte ? upper : byte));
    }
    return table;
  }();
  return letters;
}

}  // namespace

FindCommand::FindCommand(TextView& view, StatusBar& statusBar)
    : view_(view), statusBar_(statusBar), dialogMessage_(RegisterWindowMessageA(FINDMSGSTRINGA)) {}

void FindCommand::ShowDialog(HWND frame) {
  if (dialog_) {
    SetActiveWindow(dialog_);
    SetFocus(GetDlgItem(dialog_, edt1));
    return;
  }
  request_ = {};
  request_.lStructSize = sizeof request_;
  request_.hwndOwner = frame;
  request_.lpstrFindWhat = findWhat_;
  request_.wFindWhatLen = sizeof findWhat_;
  // Down, and without case, the first time; afterwards as last chosen.
  request_.Flags = FR_DOWN;
  if (!last_.needle.empty()) {
    request_.Flags =
        (last_.down ? FR_DOWN : 0) | (last_.matchCase ? FR_MATCHCASE : 0) | (last_.wholeWord ? FR_WHOLEWORD : 0);
  }
  dialog_ = FindTextA(&request_);
}

void FindCommand::FindNext(HWND frame) {
  if (last_.needle.empty()) {
    ShowDialog(frame);
    return;
  }
  Search(frame);
}

void FindCommand::OnDialogMessage(const FINDREPLACEA& request) {
  if (request.Flags & FR_DIALOGTERM) {
    dialog_ = nullptr;
    return;
  }
  if (!(request.Flags & FR_FINDNEXT)) return;
  last_.needle = findWhat_;
  last_.down = (request.Flags & FR_DOWN) != 0;
  last_.matchCase = (request.Flags & FR_MATCHCASE) != 0;
  last_.wholeWord = (request.Flags & FR_WHOLEWORD) != 0;
  Search(request.hwndOwner);
}

bool FindCommand::PreTranslateMessage(MSG& message) {
  if (!dialog_ || (message.hwnd != dialog_ && !IsChild(dialog_, message.hwnd))) return false;
  // F3 stays the frame's Find Next, even from inside the dialog.
  if (message.message == WM_KEYDOWN && message.wParam == VK_F3) return false;
  return IsDialogMessageA(dialog_, &message) != FALSE;
}

void FindCommand::ClearNotice() {
  if (!noticeShown_) return;
  statusBar_.SetPaneText(ID_PANE_DEFAULT, LoadResourceString(IDS_READY));
  noticeShown_ = false;
}

void FindCommand::SetNotice(UINT stringId) {
  statusBar_.SetPaneText(ID_PANE_DEFAULT, LoadResourceString(stringId));
  noticeShown_ = true;
}

// Going down a search starts at the end of the selection, going up at its
// start, so Find Next never finds the match it shows again. Without a
// selection it starts where the caret is.
TextPosition FindCommand::StartPosition(const ColumnRules& rules) const {
  const TextDocument& document = view_.document();
  const Selection& selection = view_.selection();
  const NormalisedSelection stream(selection, SelectionShape::kStream);
  CellPosition cell = selection.caret;
  if (!stream.Empty()) cell = last_.down ? stream.end() : stream.start();
  const std::int32_t lines = document.LineCount();
  if (cell.row >= lines) return {lines - 1, static_cast<std::int32_t>(document.lines[lines - 1].length)};
  const std::int32_t row = std::max(cell.row, 0);
  return {row, OffsetAtColumn(document.lines[row], std::max(cell.column, 0), rules)};
}

void FindCommand::Search(HWND frame) {
  const ColumnRules rules = CurrentColumnRules(view_.document());
  SearchResult result;
  if (view_.document().LineCount() > 0) {
    result = SearchDocument(view_.document(), last_, StartPosition(rules), rules, CodePageLetters());
  }
  if (!result.found) {
    ClearNotice();
    const std::string text = FillInserts(LoadResourceString(IDS_FIND_NOT_FOUND), {last_.needle});
    MessageBoxA(dialog_ ? dialog_ : frame, text.c_str(), LoadResourceString(IDS_APP_NAME).c_str(),
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  view_.SetSelection(result.startCell, result.endCell);
  view_.ShowCells(result.startCell, result.endCell);
  if (result.wrapped) {
    SetNotice(last_.down ? IDS_FIND_PASSED_END : IDS_FIND_PASSED_START);
  } else {
    ClearNotice();
  }
}

}  // namespace mosaikon
