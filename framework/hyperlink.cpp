// The hyperlink window class.
#include "framework/hyperlink.h"

#include <shellapi.h>

#include <new>
#include <string>

#include "common/win32/handles.h"
#include "framework/exception_barrier.h"
#include "framework/window.h"
#include "resources/resource_ids.h"

namespace mosaikon {

namespace {

constexpr COLORREF kLinkColor = RGB(0, 0, 255);
constexpr COLORREF kVisitedColor = RGB(128, 0, 128);

struct HyperLinkState {
  bool visited = false;
  HFONT font = nullptr;  // the font the parent gave, not owned
  GdiFont underlined;    // the parent's font; the underline is drawn by hand
};

HyperLinkState* StateOf(HWND hwnd) {
  return reinterpret_cast<HyperLinkState*>(GetWindowLongPtrA(hwnd, 0));
}

void SetLinkFont(HWND hwnd, HyperLinkState& state, HFONT font) {
  state.font = font;
  LOGFONTA description{};
  HGDIOBJ source = font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT);
  if (GetObjectA(source, sizeof description, &description)) {
    description.lfUnderline = FALSE;
    state.underlined.Reset(CreateFontIndirectA(&description));
  }
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Open(HWND hwnd, HyperLinkState& state) {
  const std::string target = WindowText(hwnd);
  // A target the shell cannot open fails silently, like any link.
  ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  state.visited = true;
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Paint(HWND hwnd, HyperLinkState& state) {
  PaintDC paint(hwnd);
  RECT client{};
  GetClientRect(hwnd, &client);
  // The parent chooses the background, as it does for its static texts.
  HBRUSH background = reinterpret_cast<HBRUSH>(SendMessageA(
      GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(paint.get()), reinterpret_cast<LPARAM>(hwnd)));
  FillRect(paint.get(), &client, background ? background : GetSysColorBrush(COLOR_3DFACE));
  SelectedObject font(
      paint.get(), state.underlined ? static_cast<HGDIOBJ>(state.underlined.get()) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(paint.get(), TRANSPARENT);
  SetTextColor(paint.get(), state.visited ? kVisitedColor : kLinkColor);
  std::string text = WindowText(hwnd);
  SIZE size{};
  GetTextExtentPoint32A(paint.get(), text.c_str(), static_cast<int>(text.size()), &size);
  ExtTextOutA(paint.get(), 0, 0, ETO_CLIPPED, &client, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  // The underline is drawn here, exactly as long as the text: an underlined
  // font's own line runs past the last glyph on some systems.
  TEXTMETRICA metrics{};
  GetTextMetricsA(paint.get(), &metrics);
  const int underline = metrics.tmAscent + 1 < client.bottom ? metrics.tmAscent + 1 : client.bottom - 1;
  GdiPen pen(CreatePen(PS_SOLID, 1, state.visited ? kVisitedColor : kLinkColor));
  SelectedObject selectedPen(paint.get(), pen.get());
  MoveToEx(paint.get(), 0, underline, nullptr);
  LineTo(paint.get(), size.cx < client.right ? size.cx : client.right, underline);
  if (GetFocus() == hwnd) {
    RECT focus{0, 0, size.cx < client.right ? size.cx : client.right,
               size.cy < client.bottom ? size.cy : client.bottom};
    DrawFocusRect(paint.get(), &focus);
  }
}

LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  HyperLinkState* state = StateOf(hwnd);
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(new (std::nothrow) HyperLinkState));
      if (!StateOf(hwnd)) return FALSE;
      break;
    case WM_NCDESTROY:
      delete state;
      SetWindowLongPtrA(hwnd, 0, 0);
      break;
    case WM_CREATE:
      SetLinkFont(hwnd, *state, nullptr);
      return 0;
    case WM_SETFONT:
      SetLinkFont(hwnd, *state, reinterpret_cast<HFONT>(wParam));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state ? state->font : nullptr);
    case WM_PAINT:
      if (state) Paint(hwnd, *state);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, IDC_HAND));
      return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SETTEXT:
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      SetCapture(hwnd);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd) {
        ReleaseCapture();
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client{};
        GetClientRect(hwnd, &client);
        if (state && PtInRect(&client, point)) Open(hwnd, *state);
      }
      return 0;
    case WM_KEYDOWN:
      if ((wParam == VK_SPACE || wParam == VK_RETURN) && state) {
        Open(hwnd, *state);
        return 0;
      }
      break;
    case WM_GETDLGCODE:
      // Enter reaches the link instead of pressing the default button.
      if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
          reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN)
        return DLGC_WANTMESSAGE;
      return DLGC_BUTTON;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK HyperLinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return CallGuarded([&] { return HandleMessage(hwnd, message, wParam, lParam); },
                     [&] { return DefWindowProcA(hwnd, message, wParam, lParam); });
}

}  // namespace

bool RegisterHyperLinkClass() {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(ProgramModule(), MOSAIKON_HYPERLINK_CLASS, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  // Global: dialog templates of a language pack create their controls with
  // the pack's module handle, which a local class would not match.
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = &HyperLinkProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = ProgramModule();
  wc.hCursor = LoadCursorA(nullptr, IDC_HAND);
  wc.lpszClassName = MOSAIKON_HYPERLINK_CLASS;
  return RegisterClassExA(&wc) != 0;
}

}  // namespace mosaikon
