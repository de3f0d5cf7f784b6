// The view under the mouse. A button-down on a link hands the link to the
// shell; anywhere else it starts a drag that holds the capture and a timer
// which scrolls a line at a time while the pointer is outside the window. The
// caret follows the moves, and the selected text is built once, when the
// button comes up. Which cell holds a link or a word is decided in
// view/mouse_rules, from the same column walk as painting.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "common/string_util.h"
#include "framework/resource_string.h"
#include "resources/resource_ids.h"
#include "settings/win32/settings.h"
#include "view/mouse_rules.h"
#include "view/win32/text_view.h"

namespace mosaikon {
namespace {

constexpr UINT_PTR kAutoScrollTimerId = 1;
constexpr UINT kAutoScrollInterval = 50;  // milliseconds

// The length of `address` as the shell's open call works on it: converted to
// UTF-16 from the ANSI code page, with environment variables expanded, as
// that call does before it looks the address up. Measured with the very
// functions it uses, so a link of a few "%PATH%" counts as long as it gets.
std::size_t OpenedLength(const std::string& address) {
  const int wide = MultiByteToWideChar(CP_ACP, 0, address.c_str(), -1, nullptr, 0);
  if (wide <= 0) return SIZE_MAX;
  std::wstring text(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, address.c_str(), -1, text.data(), wide);
  const DWORD expanded = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (expanded == 0) return SIZE_MAX;
  return std::max<std::size_t>(static_cast<std::size_t>(wide), expanded) - 1;
}

}  // namespace

bool TextView::Dragging() const {
  return hwnd() && GetCapture() == hwnd();
}

void TextView::OnButtonDown(PixelPoint point) {
  const CellPosition cell = CellAt(scroll_.offset, cell_, point.x, point.y);
  if (const auto link = LinkAt(document_, cell, CurrentColumnRules(document_))) {
    // No capture is taken, so the button-up that follows finds no drag.
    const TextLine& line = document_.lines[static_cast<std::size_t>(cell.row)];
    OpenLink(std::string(line.start + link->first, line.start + link->end));
    return;
  }
  // The old highlight stays until the first move or the button-up repaints.
  selection_.anchor = selection_.caret = cell;
  SetCapture(hwnd());
  autoScrollTimer = SetTimer(hwnd(), kAutoScrollTimerId, kAutoScrollInterval, nullptr);
}

void TextView::OpenLink(const std::string& address) {
  const std::size_t length = OpenedLength(address);
  if (length <= kMaxOpenedAddress) {
    ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  const std::string text =
      FillInserts(LoadResourceString(IDS_LINK_TOO_LONG, 1024),
                  {length == SIZE_MAX ? "?" : std::to_string(length), std::to_string(kMaxOpenedAddress)});
  if (MessageBoxA(hwnd(), text.c_str(), LoadResourceString(IDS_APP_NAME).c_str(), MB_ICONWARNING | MB_YESNO) != IDYES) {
    return;
  }
  SetClipboardText(address.size(), [&](char* bytes) { std::memcpy(bytes, address.data(), address.size()); });
}

void TextView::OnMouseMove(PixelPoint point) {
  const CellPosition cell = CellAt(scroll_.offset, cell_, point.x, point.y);
  if (!Dragging()) {
    // Leaving the link, the system's next cursor update brings back the
    // class arrow.
    if (LinkAt(document_, cell, CurrentColumnRules(document_))) SetCursor(TheSettings().linkCursor);
    return;
  }
  // A drag over a huge document stays quick: the move only repaints the
  // visible cells, and only when the caret moved to another cell.
  if (selection_.caret == cell) return;
  selection_.caret = cell;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TextView::OnButtonUp(PixelPoint point) {
  if (!Dragging()) return;
  selection_.caret = CellAt(scroll_.offset, cell_, point.x, point.y);
  EndDrag();
  InvalidateRect(hwnd(), nullptr, FALSE);
  if (TheSettings().CopyOnSelect) CopySelection();
}

void TextView::EndDrag() {
  // The timer goes first: releasing the capture sends WM_CAPTURECHANGED,
  // which then finds no drag left to end.
  if (autoScrollTimer) KillTimer(hwnd(), autoScrollTimer);
  autoScrollTimer = 0;
  if (Dragging()) ReleaseCapture();
}

void TextView::OnAutoScrollTick() {
  if (!autoScrollTimer) return;
  POINT pointer{};
  RECT client{};
  if (!GetCursorPos(&pointer) || !ScreenToClient(hwnd(), &pointer) || !GetClientRect(hwnd(), &client)) return;
  // The caret stays where the last move put it; the next move catches up.
  if (const auto action = EdgeScroll(pointer.y, client.bottom)) ScrollAxis(Axis::kVertical, *action);
  if (const auto action = EdgeScroll(pointer.x, client.right)) ScrollAxis(Axis::kHorizontal, *action);
}

void TextView::SelectWordAt(PixelPoint point) {
  const auto word = WordAt(document_, CellAt(scroll_.offset, cell_, point.x, point.y), CurrentColumnRules(document_));
  if (!word) return;
  selection_ = *word;
  InvalidateRect(hwnd(), nullptr, FALSE);
  if (TheSettings().CopyOnSelect) CopySelection();
}

}  // namespace mosaikon
