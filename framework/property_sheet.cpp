// The modal property sheet: OK and Cancel only, centred on its owner.
#include "framework/property_sheet.h"

#include <algorithm>

#include "framework/dialog.h"

namespace mosaikon {

namespace {

constexpr int kApplyButton = 0x3021;  // the sheet's own id for its Apply button
constexpr UINT_PTR kSubclassId = 1;

// Where `window` lies in the client coordinates of `parent`.
RECT RectIn(HWND parent, HWND window) {
  RECT box{};
  GetWindowRect(window, &box);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
  return box;
}

// Hides Apply and Help and moves OK and Cancel into the places of the last
// two buttons. PSH_NOAPPLYNOW alone is not enough: Wine keeps both buttons
// on the sheet, greyed.
void KeepOkAndCancelOnly(HWND sheet) {
  std::vector<RECT> slots;
  for (int id : {IDOK, IDCANCEL, kApplyButton, IDHELP}) {
    HWND button = GetDlgItem(sheet, id);
    if (!button) continue;
    slots.push_back(RectIn(sheet, button));
    if (id == kApplyButton || id == IDHELP) ShowWindow(button, SW_HIDE);
  }
  if (slots.size() < 2) return;
  std::sort(slots.begin(), slots.end(), [](const RECT& a, const RECT& b) { return a.left < b.left; });
  const RECT places[] = {slots[slots.size() - 2], slots.back()};
  const int ids[] = {IDOK, IDCANCEL};
  for (int i = 0; i < 2; ++i) {
    if (HWND button = GetDlgItem(sheet, ids[i])) {
      SetWindowPos(button, nullptr, places[i].left, places[i].top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

// Grows the sheet until the current page's controls fit, with the page's own
// margin below and to the right of them. Wine measures the page templates in
// the sheet's font, which is smaller than the pages' own, and would cut off
// their last row. The tabs grow with the sheet, the buttons move with its
// corner, and pages made later take the tabs' new size.
void FitPageContent(HWND sheet) {
  HWND page = PropSheet_GetCurrentPageHwnd(sheet);
  HWND tabs = PropSheet_GetTabControl(sheet);
  if (!page || !tabs) return;
  RECT margin{0, 0, 7, 7};
  MapDialogRect(page, &margin);
  RECT client{};
  GetClientRect(page, &client);
  LONG right = 0, bottom = 0;
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const RECT box = RectIn(page, child);
    right = std::max(right, box.right + margin.right);
    bottom = std::max(bottom, box.bottom + margin.bottom);
  }
  const int dx = std::max(0L, right - client.right), dy = std::max(0L, bottom - client.bottom);
  if (dx == 0 && dy == 0) return;
  for (HWND window : {sheet, tabs, page}) {
    RECT box{};
    GetWindowRect(window, &box);
    SetWindowPos(window, nullptr, 0, 0, box.right - box.left + dx, box.bottom - box.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (int id : {IDOK, IDCANCEL, kApplyButton, IDHELP}) {
    HWND button = GetDlgItem(sheet, id);
    if (!button) continue;
    const RECT box = RectIn(sheet, button);
    SetWindowPos(button, nullptr, box.left + dx, box.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

LRESULT CALLBACK CentreWhenShown(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) noexcept {
  if (message == WM_SHOWWINDOW && wParam) {
    // The first page exists by now, which it need not when the sheet
    // reports itself initialised.
    CallGuarded(
        [&] {
          FitPageContent(sheet);
          CenterWindowOnOwner(sheet);
        },
        [] {});
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(sheet, &CentreWhenShown, kSubclassId);
  }
  return DefSubclassProc(sheet, message, wParam, lParam);
}

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM) noexcept {
  if (message != PSCB_INITIALIZED) return 0;
  return CallGuarded(
      [&] {
        KeepOkAndCancelOnly(sheet);
        SetWindowSubclass(sheet, &CentreWhenShown, kSubclassId, 0);
        CenterWindowOnOwner(sheet);
        return 0;
      },
      [] { return 0; });
}

}  // namespace

bool RunPropertySheet(HWND owner, const std::string& caption, std::vector<HPROPSHEETPAGE> pages) {
  if (pages.empty() || std::find(pages.begin(), pages.end(), nullptr) != pages.end()) {
    for (HPROPSHEETPAGE page : pages) {
      if (page) DestroyPropertySheetPage(page);
    }
    return false;
  }
  // The sheet's tabs and the pages' sliders.
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_TAB_CLASSES | ICC_BAR_CLASSES;
  InitCommonControlsEx(&controls);

  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_NOAPPLYNOW | PSH_USECALLBACK | PSH_NOCONTEXTHELP;
  header.hwndParent = owner;
  header.hInstance = ResourceModule();
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(pages.size());
  header.nStartPage = 0;
  header.phpage = pages.data();
  header.pfnCallback = &SheetCallback;
  // 1 (or a restart request) after OK, 0 after Cancel, -1 on failure.
  return PropertySheetA(&header) >= 1;
}

}  // namespace mosaikon
