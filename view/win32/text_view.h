// The view window: shows the document as a grid of character cells in the
// terminal font, with flat scroll bars, the mouse wheel and scrolling keys.
// The arithmetic (scrolling, bar decisions, paint runs) lives in the portable
// files of view/; this class only connects it to the window system.
#pragma once

#include <windows.h>

#include <string>

#include "document/text_document.h"
#include "framework/window.h"

namespace mosaikon {

class TextView : public Window<TextView> {
 public:
  TextView();
  ~TextView();

  // Creates the child window (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS |
  // WS_CLIPCHILDREN, WS_EX_CLIENTEDGE) with the given control id.
  HWND CreateView(HWND parent, UINT id);

  // Loads a file into the document. On failure shows the system's error text
  // in an error box owned by the view and leaves the document as it was.
  bool LoadFile(const std::string& path);

  // Measures the cell and sets the scroll ranges for the current document;
  // shows it from its top-left corner.
  void UpdateLayout();
  void SetOffset(int x, int y, bool repaint);
  POINT Offset() const;

  // Selection and clipboard; the frame's Copy and Select All commands, and the
  // state of those commands.
  void CopySelection();
  void SelectAll();
  bool HasSelection() const;

  // The hot-key feature: types the selection into the foreground window.
  void SendSelectionToForeground();

  // Called by the frame's message filter for every queued message; posts
  // WM_CLOSE to the parent on Esc. Never consumes the message.
  bool PreTranslateMessage(const MSG& message);

  const TextDocument& document() const { return document_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct State;
  TextDocument document_;
  State* state_ = nullptr;
};

}  // namespace mosaikon
