// The view window: measures the cell, keeps the scroll bars in step with the
// scroll model, turns bars, wheel and keys into scroll actions, and paints
// through a GDI drawing surface. The window's standard scroll bars stand in
// for flat ones; they take the same ranges, pages and positions.
#include "view/win32/text_view.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "common/system.h"
#include "common/win32/handles.h"
#include "document/line_splitter.h"
#include "framework/resource_string.h"
#include "resources/resource_ids.h"
#include "settings/win32/settings.h"
#include "view/paint_cells.h"
#include "view/send_pieces.h"
#include "view/shown_text.h"
#include "view/view_placement.h"
#include "view/win32/gdi_surface.h"

namespace mosaikon {
namespace {

constexpr char kClassName[] = "MosaikonTextView";
constexpr int kMaxNestedSizes = 4;  // enough for both bars to appear
// The largest text a copy offers: as large as a document's text can be
// (line positions are signed 32-bit), and a size every build can allocate.
constexpr std::uint64_t kMaxClipboardText = 0x7FFFFFFF;

int BarOf(Axis axis) {
  return axis == Axis::kHorizontal ? SB_HORZ : SB_VERT;
}

// The signed client coordinates of a mouse message: left of or above the
// client area they are negative.
PixelPoint PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

PixelSize ClientSize(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return {client.right - client.left, client.bottom - client.top};
}

// The characters the selected cells show, in a clipboard block; none when it
// cannot be had.
GlobalMemory ShownTextBlock(const SelectedText& text, const ColumnRules& rules) {
  std::u16string shown;
  try {
    shown = ShownText(text, rules);
  } catch (const std::exception&) {
    return {};  // the bytes go to the clipboard all the same
  }
  GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, (shown.size() + 1) * sizeof(char16_t)));
  auto* units = static_cast<char16_t*>(block ? GlobalLock(block.get()) : nullptr);
  if (!units) return {};
  std::memcpy(units, shown.data(), shown.size() * sizeof(char16_t));
  units[shown.size()] = u'\0';
  GlobalUnlock(block.get());
  return block;
}

}  // namespace

ColumnRules CurrentColumnRules(const TextDocument& document) {
  const Settings& settings = TheSettings();
  return {settings.TabSize, settings.DecodeMode, TabsAreCells(document)};
}

TextView::TextView() = default;
TextView::~TextView() = default;

HWND TextView::CreateView(HWND parent, UINT id) {
  WNDCLASSEXA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = kClassName;
  return Create(wc, WS_EX_CLIENTEDGE, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

bool TextView::LoadFile(const std::string& path) {
  const Settings& settings = TheSettings();
  LoadOptions options{settings.TabSize > 0 ? settings.TabSize : 8, settings.SupportAnsi != 0};
  options.modern = settings.ModernRendering != 0;
  options.decodeMode = settings.DecodeMode == 1 || settings.DecodeMode == 2 ? settings.DecodeMode : 0;
  ErrorCode error = 0;
  if (document_.LoadFile(path, options, error)) {
    documentTabSize_ = EffectiveTabSize(options.tabSize);
    selection_ = Selection{};
    return true;
  }
  ShowFileError(error);
  return false;
}

void TextView::ShowFileError(ErrorCode error) {
  // The system's text for a file that is too large speaks of saving it
  // (where there is one at all): say what the limit is instead.
  std::string message = error == FileTooLargeError() ? LoadResourceString(IDS_FILE_TOO_LARGE) : SystemErrorText(error);
  // Some systems (Wine among them) have no text for every code; an empty
  // error box would tell the user nothing.
  if (message.empty()) message = "The file cannot be read (error " + std::to_string(error) + ").";
  MessageBoxA(hwnd(), message.c_str(), nullptr, MB_ICONERROR | MB_OK);
}

void TextView::MeasureCell() {
  WindowDC dc(hwnd());
  if (!dc.get()) return;
  SelectedObject font(dc.get(), TheSettings().terminalFont.get());
  SIZE extent{};
  if (GetTextExtentPoint32A(dc.get(), "X", 1, &extent)) cell_ = {extent.cx, extent.cy};
}

// A document with nothing to lay out shows no bars and starts at the top-left
// corner; painting then fills the client area.
void TextView::ClearLayout() {
  scroll_.offset = {};
  scroll_.extent = {};
  scroll_.lineStep = {};
  scroll_.pageStep = {};
  ShowScrollBar(hwnd(), SB_BOTH, FALSE);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void TextView::UpdateLayout() {
  if (!hwnd()) return;
  const std::int32_t tabSize = EffectiveTabSize(TheSettings().TabSize);
  if (tabSize != documentTabSize_) {
    document_.MeasureWidth(tabSize);
    documentTabSize_ = tabSize;
  }
  MeasureCell();
  LayoutInput input;
  input.cell = cell_;
  input.documentWidth = document_.width;
  input.lineCount = document_.LineCount();
  input.client = ClientSize(hwnd());
  const LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
  input.hasHorizontal = (style & WS_HSCROLL) != 0;
  input.hasVertical = (style & WS_VSCROLL) != 0;
  input.horizontalBarHeight = GetSystemMetrics(SM_CYHSCROLL);
  input.verticalBarWidth = GetSystemMetrics(SM_CXVSCROLL);
  if (!HasLayout(input)) {
    ClearLayout();
    return;
  }

  const LayoutResult layout = DecideLayout(input);
  if (layout.showHorizontal) ShowScrollBar(hwnd(), SB_HORZ, TRUE);
  if (layout.showVertical) ShowScrollBar(hwnd(), SB_VERT, TRUE);

  scroll_.extent = layout.extent;
  scroll_.offset = {};
  for (Axis axis : {Axis::kHorizontal, Axis::kVertical}) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = BarMaximum(Along(scroll_.extent, axis));
    info.nPage = static_cast<UINT>(BarPage(Along(scroll_.extent, axis), Along(scroll_.clientSize, axis)));
    info.nPos = 0;
    SetScrollInfo(hwnd(), BarOf(axis), &info, TRUE);
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
  scroll_.pageStep = layout.pageStep;
  scroll_.lineStep = layout.lineStep;
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TextView::SetOffset(std::int64_t x, std::int64_t y, bool repaint) {
  scroll_.offset = {x, y};
  SetBarPosition(Axis::kHorizontal, true);
  SetBarPosition(Axis::kVertical, true);
  if (repaint) InvalidateRect(hwnd(), nullptr, TRUE);
}

void TextView::UpdateLayoutKeepingOffset() {
  const PixelPoint saved = scroll_.offset;
  UpdateLayout();
  const PixelPoint kept = ClampOffsetAfterResize(saved, scroll_.extent, ClientSize(hwnd()));
  SetOffset(kept.x, kept.y, true);
}

bool TextView::ReloadKeepingOffset(const std::string& path) {
  if (!LoadFile(path)) return false;
  UpdateLayoutKeepingOffset();
  return true;
}

void TextView::SetBarPosition(Axis axis, bool redraw) {
  const std::int64_t extent = Along(scroll_.extent, axis);
  SetScrollPos(hwnd(), BarOf(axis), BarPosition(Along(scroll_.offset, axis), extent, Along(ClientSize(hwnd()), axis)),
               redraw ? TRUE : FALSE);
}

void TextView::SelectAll() {
  selection_.anchor = {0, 0};
  selection_.caret = {document_.width, document_.LineCount() - 1};
  InvalidateRect(hwnd(), nullptr, FALSE);
  if (TheSettings().CopyOnSelect) CopySelection();
}

void TextView::SetSelection(CellPosition anchor, CellPosition caret) {
  selection_ = {anchor, caret};
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TextView::ShowCells(CellPosition first, CellPosition end) {
  // Enough context to read the match in its surroundings.
  constexpr PixelSize kMargin{8, 3};
  const PixelPoint target =
      OffsetShowing(scroll_.offset, scroll_.extent, ClientSize(hwnd()), cell_, first, end, kMargin);
  if (target != scroll_.offset) SetOffset(target.x, target.y, true);
}

void TextView::RelayoutKeepingTopLeftCell() {
  const PixelPoint saved = scroll_.offset;
  const PixelSize oldCell = cell_;
  UpdateLayout();
  const PixelPoint moved = OffsetForNewCell(saved, oldCell, cell_, scroll_.extent, ClientSize(hwnd()));
  SetOffset(moved.x, moved.y, true);
}

bool TextView::HasSelection() const {
  return document_.LineCount() > 0 && !selection_.Empty();
}

SelectedText TextView::SelectionText() {
  return SelectedText(document_, selection_, ShapeFor(TheSettings().ColumnMode), CurrentColumnRules(document_));
}

void TextView::CopySelection() {
  const SelectedText text = SelectionText();
  if (text.Empty()) return;
  // Modern Rendering puts the characters the cells show beside their bytes,
  // so that box drawing pastes as box drawing into a Unicode program.
  const SelectedText* shown = TheSettings().ModernRendering ? &text : nullptr;
  if (!SetClipboardText(
          text.Size(), [&](char* bytes) { text.CopyTo(bytes); }, shown)) {
    MessageBoxA(hwnd(), LoadResourceString(IDS_SELECTION_TOO_LARGE).c_str(), nullptr, MB_ICONERROR | MB_OK);
  }
}

bool TextView::SetClipboardText(std::uint64_t size, const std::function<void(char*)>& fill, const SelectedText* shown) {
  // The text goes straight into the clipboard's block: measured, allocated
  // once, filled. No text larger than a document can be is offered; beyond
  // that, and whenever the block cannot be had, the copy is abandoned
  // before the clipboard is touched, so it keeps its content.
  GlobalMemory block(size <= kMaxClipboardText ? GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size + 1) : nullptr);
  auto* bytes = static_cast<char*>(block ? GlobalLock(block.get()) : nullptr);
  if (!bytes) return false;
  fill(bytes);
  bytes[size] = '\0';
  GlobalUnlock(block.get());
  GlobalMemory unicode = shown ? ShownTextBlock(*shown, CurrentColumnRules(document_)) : GlobalMemory();
  const OpenedClipboard clipboard(hwnd());
  if (!clipboard) return true;
  EmptyClipboard();
  // The clipboard owns a block once SetClipboardData succeeds.
  if (SetClipboardData(CF_TEXT, block.get())) block.Release();
  if (unicode && SetClipboardData(CF_UNICODETEXT, unicode.get())) unicode.Release();
  return true;
}

// Types the first line of the selection, split into pieces, into the edit box
// that has the caret in the program in front and into the edit boxes after it.
void TextView::SendSelectionToForeground() {
  if (!hwnd()) return;
  const std::vector<std::string> pieces = SelectionPieces(SelectionText().FirstLine());
  HWND foreground = GetForegroundWindow();
  if (!IsWindow(foreground) || foreground == hwnd() || foreground == GetParent(hwnd())) return;
  // The record's size differs between 32-bit (48) and 64-bit builds.
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  HWND target = GetGUIThreadInfo(0, &info) ? info.hwndCaret : nullptr;
  for (const std::string& piece : pieces) {
    if (!IsWindow(target)) break;
    SendMessageA(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(piece.c_str()));
    do {
      target = GetWindow(target, GW_HWNDNEXT);
      char className[256] = {};
      if (target && GetClassNameA(target, className, sizeof(className)) && std::strstr(className, "Edit")) break;
    } while (target);
  }
}

bool TextView::PreTranslateMessage(const MSG& message) {
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && hwnd()) {
    PostMessageA(GetParent(hwnd()), WM_CLOSE, 0, 0);
  }
  return false;
}

bool TextView::ScrollAxis(Axis axis, int action) {
  const int bar = BarOf(axis);
  int track = 0;
  bool haveTrack = false;
  if (action == kThumbTrack || action == kThumbPosition) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    if (GetScrollInfo(hwnd(), bar, &info)) {
      track = info.nTrackPos;
      haveTrack = true;
    }
  }
  const ScrollMove move = ScrollAxisMove(Along(scroll_.offset, axis), Along(scroll_.extent, axis),
                                         Along(scroll_.lineStep, axis), Along(scroll_.pageStep, axis),
                                         Along(ClientSize(hwnd()), axis), action, haveTrack ? &track : nullptr);
  if (move.shift == 0) return false;
  Along(scroll_.offset, axis) = move.offset;
  SetBarPosition(axis, true);
  ShiftPixels(axis == Axis::kHorizontal ? move.shift : 0, axis == Axis::kVertical ? move.shift : 0);
  return true;
}

void TextView::ShiftPixels(std::int64_t dx, std::int64_t dy) {
  // A shift of a whole client or more leaves nothing to move; it may also be
  // far beyond what GDI coordinates can take.
  const PixelSize client = ClientSize(hwnd());
  if (dx <= -client.cx || dx >= client.cx || dy <= -client.cy || dy >= client.cy) {
    InvalidateRect(hwnd(), nullptr, TRUE);
    return;
  }
  ScrollWindowEx(hwnd(), static_cast<int>(dx), static_cast<int>(dy), nullptr, nullptr, nullptr, nullptr,
                 SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

void TextView::OnScroll(Axis axis, int action) {
  ScrollAxis(axis, action);
}

void TextView::OnSize(int width, int height) {
  // Showing or hiding a bar inside this handler resizes the client and comes
  // back here; the depth limit keeps a bar that toggles from recursing on.
  if (sizeDepth_ >= kMaxNestedSizes) return;
  ++sizeDepth_;
  const PixelPoint saved = scroll_.offset;
  UpdateLayout();
  SetOffset(saved.x, saved.y, true);

  scroll_.clientSize = {width, height};
  for (Axis axis : {Axis::kHorizontal, Axis::kVertical}) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    const std::int64_t extent = Along(scroll_.extent, axis);
    const int client = Along(scroll_.clientSize, axis);
    info.fMask = SIF_PAGE | SIF_POS;
    info.nPage = static_cast<UINT>(BarPage(extent, client));
    info.nPos = BarPosition(Along(scroll_.offset, axis), extent, client);
    SetScrollInfo(hwnd(), BarOf(axis), &info, FALSE);
  }

  const PixelPoint old = scroll_.offset;
  const PixelPoint clamped = ClampOffsetAfterResize(old, scroll_.extent, scroll_.clientSize);
  if (clamped != old) {
    ShiftPixels(old.x - clamped.x, old.y - clamped.y);
    scroll_.offset = clamped;
    SetBarPosition(Axis::kHorizontal, false);
    SetBarPosition(Axis::kVertical, false);
  }
  --sizeDepth_;
}

void TextView::OnWheel(std::int64_t delta) {
  const WheelScroll wheel = TakeWheelDelta(scroll_, delta);
  const Axis axis = (GetWindowLongPtrA(hwnd(), GWL_STYLE) & WS_VSCROLL) ? Axis::kVertical : Axis::kHorizontal;
  // Every action goes the same way, so once one finds the end the rest
  // would do nothing: a huge lines-per-notch value costs no time.
  for (std::int64_t step = 0; step < wheel.actions; ++step) {
    if (!ScrollAxis(axis, wheel.action)) break;
    UpdateWindow(hwnd());
  }
}

// Ctrl+wheel zooms: one step per notch, away from the user to enlarge. The
// frame carries the steps out as its zoom commands.
void TextView::OnZoomWheel(std::int64_t delta) {
  zoomWheel_ += delta;
  while (zoomWheel_ >= kWheelDelta || zoomWheel_ <= -kWheelDelta) {
    const bool in = zoomWheel_ > 0;
    zoomWheel_ += in ? -kWheelDelta : kWheelDelta;
    SendMessageA(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(in ? ID_VIEW_ZOOM_IN : ID_VIEW_ZOOM_OUT, 0), 0);
  }
}

void TextView::OnSettingChange() {
  UINT lines = 0;
  if (SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) {
    scroll_.wheelLinesPerNotch = static_cast<int>(lines);  // WHEEL_PAGESCROLL becomes -1
  }
  rollMessage_ = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
  const HWND wheelWindow = FindWindowA("MouseZ", "Magellan MSWHEEL");
  if (wheelWindow && IsWindow(wheelWindow)) {
    const UINT linesMessage = RegisterWindowMessageA("MSH_SCROLL_LINES_MSG");
    // A hung wheel driver must not hang the viewer with it.
    DWORD_PTR result = 0;
    if (linesMessage &&
        SendMessageTimeoutA(wheelWindow, linesMessage, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000, &result)) {
      scroll_.wheelLinesPerNotch = static_cast<int>(result);
    }
  }
}

void TextView::OnKeyDown(WPARAM key) {
  const bool control = GetKeyState(VK_CONTROL) < 0;
  switch (key) {
    case VK_SPACE:
    case VK_NEXT:
      ScrollAxis(Axis::kVertical, kPageDown);
      break;
    case VK_PRIOR:
      ScrollAxis(Axis::kVertical, kPageUp);
      break;
    case VK_END:
      ScrollAxis(control ? Axis::kVertical : Axis::kHorizontal, kBottom);
      break;
    case VK_HOME:
      ScrollAxis(control ? Axis::kVertical : Axis::kHorizontal, kTop);
      break;
    case VK_LEFT:
      ScrollAxis(Axis::kHorizontal, kLineUp);
      break;
    case VK_UP:
      ScrollAxis(Axis::kVertical, kLineUp);
      break;
    case VK_RIGHT:
      ScrollAxis(Axis::kHorizontal, kLineDown);
      break;
    case VK_DOWN:
      ScrollAxis(Axis::kVertical, kLineDown);
      break;
    default:
      break;
  }
}

void TextView::OnPaint(HDC dc) {
  if (dc) Paint(dc);
}

void TextView::PaintFirstText() {
  // A showing draws the frames of the window and its children in turn
  // before any of them paints.
  if (!paintOnFirstShow_ || !hwnd() || !IsWindowVisible(hwnd())) return;
  paintOnFirstShow_ = false;
  if (WindowDC dc(hwnd()); dc.get()) {
    Paint(dc.get());
    GdiFlush();
  }
}

void TextView::Paint(HDC dc) {
  const Settings& settings = TheSettings();
  PaintInput input = SettingsPaintInput(document_, cell_, settings);
  input.offset = scroll_.offset;
  input.client = ClientSize(hwnd());
  input.selection = NormalisedSelection(selection_, ShapeFor(settings.ColumnMode));
  GdiSurface surface(dc, settings);
  PaintCells(input, surface);
}

LRESULT TextView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_NCPAINT:
      PaintFirstText();
      break;
    case WM_ERASEBKGND:
      return 0;  // painting covers the whole client area
    case WM_SIZE:
      OnSize(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_HSCROLL:
      OnScroll(Axis::kHorizontal, LOWORD(wParam));
      return 0;
    case WM_VSCROLL:
      OnScroll(Axis::kVertical, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      // The key state the message carries can lack a Ctrl pressed just
      // before the wheel turned (Wine takes it before the key press has
      // reached this thread); the thread's own key state, in step with the
      // input read so far, has it.
      if ((GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) || GetKeyState(VK_CONTROL) < 0) {
        OnZoomWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
      }
      OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_SETTINGCHANGE:
      OnSettingChange();
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      return 0;
    case WM_LBUTTONDOWN:
      OnButtonDown(PointOf(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(PointOf(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      SelectWordAt(PointOf(lParam));
      return 0;
    case WM_TIMER:
      OnAutoScrollTick();
      return 0;
    case WM_KILLFOCUS:
      EndDrag();
      return 0;
    case WM_CAPTURECHANGED:
      // Capture taken by another window ends a drag like a loss of focus.
      if (reinterpret_cast<HWND>(lParam) != hwnd()) EndDrag();
      return 0;
    case WM_PAINT:
      if (wParam) {
        OnPaint(reinterpret_cast<HDC>(wParam));
      } else {
        PaintDC dc(hwnd());
        OnPaint(dc.get());
      }
      return 0;
    case WM_PRINTCLIENT:
      OnPaint(reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      break;
  }
  if (rollMessage_ && message == rollMessage_) {
    OnWheel(static_cast<std::int32_t>(wParam));  // the delta is the whole (32-bit) wParam
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace mosaikon
