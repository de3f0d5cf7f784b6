// Find and Find Next: the system's modeless Find dialog, the search from the
// current selection, the match shown as the selection, and what the user is
// told when the search wraps or finds nothing.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

#include "framework/status_bar.h"
#include "view/text_search.h"
#include "view/win32/text_view.h"

namespace mosaikon {

class FindCommand {
 public:
  FindCommand(TextView& view, StatusBar& statusBar);
  FindCommand(const FindCommand&) = delete;
  FindCommand& operator=(const FindCommand&) = delete;

  // Ctrl+F: opens the Find dialog, owned by `frame`, or brings it back.
  void ShowDialog(HWND frame);
  // F3: the last search again from the selection, or the dialog when there
  // was none.
  void FindNext(HWND frame);

  // The registered message through which the dialog reports its buttons.
  UINT DialogMessage() const { return dialogMessage_; }
  void OnDialogMessage(const FINDREPLACEA& request);

  // The message loop's filter: the dialog's keys (Tab, Enter, Esc) go to the
  // dialog while it has the focus, before the frame's accelerators and Esc
  // handling see them. True when the message was the dialog's.
  bool PreTranslateMessage(MSG& message);

  // Takes a notice of an earlier search off the status bar.
  void ClearNotice();

 private:
  void Search(HWND frame);
  TextPosition StartPosition(const ColumnRules& rules) const;
  void SetNotice(UINT stringId);

  TextView& view_;
  StatusBar& statusBar_;
  UINT dialogMessage_;
  HWND dialog_ = nullptr;
  FINDREPLACEA request_{};  // the dialog keeps pointers into it while it is open
  char findWhat_[256] = {};
  SearchQuery last_;
  bool noticeShown_ = false;
};

}  // namespace mosaikon
