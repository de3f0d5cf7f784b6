// The view window: shows the document as a grid of character cells in the
// terminal font, with scroll bars, the mouse wheel and scrolling keys.
// The arithmetic (scrolling, bar decisions, paint runs) lives in the portable
// files of view/; this class only connects it to the window system.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "document/text_document.h"
#include "framework/window.h"
#include "view/scroll_model.h"
#include "view/selection.h"

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
  // The error box of a file that cannot be opened, for `error`.
  void ShowFileError(ErrorCode error);

  // Measures the cell and sets the scroll ranges for the current document;
  // shows it from its top-left corner.
  void UpdateLayout();
  void SetOffset(std::int64_t x, std::int64_t y, bool repaint);

  // Selection and clipboard; the frame's Copy and Select All commands, and the
  // state of those commands. A selection whose text does not fit in memory
  // is not copied: the user is told, and the clipboard keeps what it held.
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
  void OnSize(int width, int height);
  void OnScroll(Axis axis, int action);
  void OnWheel(std::int64_t delta);
  void OnSettingChange();
  void OnKeyDown(WPARAM key);
  void OnPaint(HDC dc);

  // One scroll action; true when the view moved.
  bool ScrollAxis(Axis axis, int action);
  // Moves the shown pixels by (dx, dy), as a change of the offset by
  // (-dx, -dy) needs.
  void ShiftPixels(std::int64_t dx, std::int64_t dy);
  void SetBarPosition(Axis axis, bool redraw);
  void MeasureCell();
  void ClearLayout();
  void Paint(HDC dc);

  TextDocument document_;
  PixelSize cell_;  // measured from the terminal font by UpdateLayout
  ScrollState scroll_;
  Selection selection_;
  UINT rollMessage_ = 0;  // "MSWHEEL_ROLLMSG", registered at the first settings change
  int sizeDepth_ = 0;     // nested WM_SIZE calls (showing a bar resizes the client)
};

}  // namespace mosaikon
