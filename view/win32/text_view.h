// The view window: shows the document as a grid of character cells in the
// terminal font, with scroll bars, the mouse wheel and scrolling keys;
// the mouse selects text and opens links.
// The arithmetic (scrolling, bar decisions, paint runs) lives in the portable
// files of view/; this class only connects it to the window system.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "document/text_document.h"
#include "framework/window.h"
#include "view/scroll_model.h"
#include "view/selection.h"

namespace mosaikon {

// How the settings lay a line of `document` out in columns: TabSize and
// DecodeMode (and a tab as one cell in modern ANSI art).
ColumnRules CurrentColumnRules(const TextDocument& document);

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
  // shows it from its top-left corner. A document loaded for another
  // TabSize is measured again first, so that its width is the one painted.
  void UpdateLayout();
  void SetOffset(std::int64_t x, std::int64_t y, bool repaint);
  // Lays the document out again (after a new FontSize or TabSize, say) and
  // shows it from the same scroll position, moved back only as far as the
  // new extent requires so that no space past the content's end is shown.
  void UpdateLayoutKeepingOffset();
  // Loads `path` again after a change of how files are read (Modern
  // Rendering) and lays it out keeping the scroll position as far as the new
  // document allows. On failure the error was shown and nothing changed.
  bool ReloadKeepingOffset(const std::string& path);

  // Selection and clipboard; the frame's Copy and Select All commands, and the
  // state of those commands. A selection whose text does not fit in memory
  // is not copied: the user is told, and the clipboard keeps what it held.
  void CopySelection();
  void SelectAll();
  bool HasSelection() const;

  // A selection made for the user (a found match): repainted, but not put
  // on the clipboard by copy-on-select, which is for selections the user
  // makes; Copy and the hot key work on it as on any other.
  void SetSelection(CellPosition anchor, CellPosition caret);
  const Selection& selection() const { return selection_; }
  // Scrolls as little as needed to show columns [first.column, end.column)
  // of rows first.row to end.row with a few cells of context around them.
  void ShowCells(CellPosition first, CellPosition end);
  // After the fonts were rebuilt for a new FontSize: measures the new cell
  // and lays out again with the top-left cell where it was.
  void RelayoutKeepingTopLeftCell();

  // The hot-key feature: types the selection into the foreground window.
  void SendSelectionToForeground();

  // Called by the frame's message filter for every queued message; posts
  // WM_CLOSE to the parent on Esc. Never consumes the message.
  bool PreTranslateMessage(const MSG& message);

  const TextDocument& document() const { return document_; }
  PixelSize cell() const { return cell_; }  // as last measured

  // The window is about to be shown for the first time: the text is drawn,
  // and handed to the screen at once, at the first PaintFirstText once the
  // view is visible (the frame calls it as its own frame is drawn; else the
  // view's frame drawing does), ahead of the scroll bars and the bars.
  void PaintTextOnFirstShow() { paintOnFirstShow_ = true; }
  void PaintFirstText();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnSize(int width, int height);
  void OnScroll(Axis axis, int action);
  void OnWheel(std::int64_t delta);
  void OnZoomWheel(std::int64_t delta);
  void OnSettingChange();
  void OnKeyDown(WPARAM key);
  void OnPaint(HDC dc);

  // The text of the selection in the current shape; an empty one collapses.
  SelectedText SelectionText();
  // Puts `size` bytes, written by `fill`, on the clipboard as text, and
  // beside them the characters the cells of `shown` show, when given. False,
  // with the clipboard as it was, when there is no room for the bytes.
  bool SetClipboardText(std::uint64_t size, const std::function<void(char*)>& fill,
                        const SelectedText* shown = nullptr);
  // One scroll action; true when the view moved.
  bool ScrollAxis(Axis axis, int action);
  // Moves the shown pixels by (dx, dy), as a change of the offset by
  // (-dx, -dy) needs.
  void ShiftPixels(std::int64_t dx, std::int64_t dy);
  void SetBarPosition(Axis axis, bool redraw);
  void MeasureCell();
  void ClearLayout();
  void Paint(HDC dc);

  // The mouse (text_view_mouse.cpp): a drag selects, held outside the window
  // it scrolls, a double-click selects a word, a click on a link opens it.
  void OnButtonDown(PixelPoint point);
  // Hands a link to the system to open, or offers to copy one too long for that.
  void OpenLink(const std::string& address);
  void OnMouseMove(PixelPoint point);
  void OnButtonUp(PixelPoint point);
  void OnAutoScrollTick();
  void SelectWordAt(PixelPoint point);
  // Ends a drag without copying: capture released, timer stopped.
  void EndDrag();
  bool Dragging() const;

  TextDocument document_;
  std::int32_t documentTabSize_ = 8;  // the tab size the document's width was measured for
  PixelSize cell_;                    // measured from the terminal font by UpdateLayout
  ScrollState scroll_;
  Selection selection_;
  UINT rollMessage_ = 0;           // "MSWHEEL_ROLLMSG", registered at the first settings change
  int sizeDepth_ = 0;              // nested WM_SIZE calls (showing a bar resizes the client)
  std::int64_t zoomWheel_ = 0;     // Ctrl+wheel delta not yet turned into zoom steps
  bool paintOnFirstShow_ = false;  // see PaintTextOnFirstShow
  // The drag's timer; 0 when no drag is in progress.
  UINT_PTR autoScrollTimer = 0;
};

}  // namespace mosaikon
