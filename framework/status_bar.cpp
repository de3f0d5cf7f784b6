// The multi-pane status bar with flat pane frames.
#include "framework/status_bar.h"

#include <commctrl.h>

#include "common/win32/handles.h"
#include "framework/exception_barrier.h"
#include "framework/pane_layout.h"
#include "resources/resource_ids.h"

namespace mosaikon {

namespace {
constexpr UINT_PTR kSubclassId = 1;
constexpr WPARAM kSimplePart = 255;
}  // namespace

StatusBar::~StatusBar() {
  if (hwnd_ && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, &StatusBar::SubclassProc, kSubclassId);
}

HWND StatusBar::Create(HWND parent, const char* text, DWORD style, UINT controlId) {
  hwnd_ = CreateWindowExA(0, STATUSCLASSNAMEA, text, style, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)),
                          reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
  if (hwnd_) SetWindowSubclass(hwnd_, &StatusBar::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  return hwnd_;
}

int StatusBar::PaneIndex(int paneId) const {
  for (std::size_t i = 0; i < paneIds_.size(); ++i)
    if (paneIds_[i] == paneId) return static_cast<int>(i);
  return -1;
}

void StatusBar::SetPanes(const std::vector<int>& paneIds) {
  paneIds_ = paneIds;
}

void StatusBar::SetPaneWidths(const std::vector<int>& widths) {
  if (!hwnd_ || widths.empty()) return;
  int borders[3] = {};
  SendMessageA(hwnd_, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  const std::vector<int> edges = PaneRightEdges(widths, borders[2]);
  // Setting the parts keeps the default pane's text where it is.
  char text[256] = {};
  const int index = PaneIndex(ID_PANE_DEFAULT);
  if (index >= 0) SendMessageA(hwnd_, SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text));
  SendMessageA(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  if (index >= 0) SendMessageA(hwnd_, SB_SETTEXTA, index, reinterpret_cast<LPARAM>(text));
  FitPanes();
}

bool StatusBar::SetPaneText(int paneId, const std::string& text) {
  const int index = PaneIndex(paneId);
  if (!hwnd_ || index < 0) return false;
  return SendMessageA(hwnd_, SB_SETTEXTA, index, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

bool StatusBar::IsSimple() const {
  return hwnd_ && SendMessageA(hwnd_, SB_ISSIMPLE, 0, 0) != 0;
}

void StatusBar::SetSimple(bool simple) {
  if (hwnd_) SendMessageA(hwnd_, SB_SIMPLE, simple ? TRUE : FALSE, 0);
}

void StatusBar::SetSimpleText(const std::string& text) {
  if (hwnd_) SendMessageA(hwnd_, SB_SETTEXTA, kSimplePart | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::FitPanes() {
  if (paneIds_.empty()) return;
  const int count = static_cast<int>(SendMessageA(hwnd_, SB_GETPARTS, 0, 0));
  if (count <= 0) return;
  std::vector<int> edges(count);
  SendMessageA(hwnd_, SB_GETPARTS, count, reinterpret_cast<LPARAM>(edges.data()));
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int reserved = GetSystemMetrics(SM_CXVSCROLL) + GetSystemMetrics(SM_CXEDGE);
  if (ResizePanes(edges, paneIds_, client.right - client.left, reserved)) {
    SendMessageA(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  }
}

void StatusBar::DrawFrames() {
  const int count = static_cast<int>(SendMessageA(hwnd_, SB_GETPARTS, 0, 0));
  if (count <= 0) return;
  WindowDC dc(hwnd_);
  GdiPen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
  SelectedObject selectedPen(dc.get(), pen.get());
  SelectedObject selectedBrush(dc.get(), GetStockObject(NULL_BRUSH));
  for (int i = 0; i < count; ++i) {
    RECT part{};
    if (SendMessageA(hwnd_, SB_GETRECT, i, reinterpret_cast<LPARAM>(&part)))
      Rectangle(dc.get(), part.left, part.top, part.right, part.bottom);
  }
}

LRESULT CALLBACK StatusBar::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) noexcept {
  auto* self = reinterpret_cast<StatusBar*>(data);
  const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &StatusBar::SubclassProc, kSubclassId);
    self->hwnd_ = nullptr;
    return result;
  }
  // The bar has done its part already; a failure here only loses the frames.
  CallGuarded(
      [&] {
        if (message == WM_SIZE && wParam != SIZE_MINIMIZED) self->FitPanes();
        if (message == WM_PAINT && !self->IsSimple()) self->DrawFrames();
      },
      [] {});
  return result;
}

}  // namespace mosaikon
