// Property sheets with OK and Cancel: PropertyPage<T> makes a page from a
// dialog template of the resource module, keeps `this` from WM_INITDIALOG and
// forwards the page's messages to T::HandleMessage (TRUE for a handled
// message), as ModalDialog does for a dialog; RunPropertySheet shows the
// pages as one modal sheet.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "framework/exception_barrier.h"
#include "framework/window.h"

namespace mosaikon {

template <typename T>
class PropertyPage {
 public:
  // The page from template `templateId`; null when it cannot be made.
  HPROPSHEETPAGE CreatePage(UINT templateId) {
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = ResourceModule();
    page.pszTemplate = MAKEINTRESOURCEA(templateId);
    page.pfnDlgProc = &PropertyPage::StaticProc;
    page.lParam = reinterpret_cast<LPARAM>(static_cast<T*>(this));
    return CreatePropertySheetPageA(&page);
  }
  HWND hwnd() const { return hwnd_; }

 protected:
  PropertyPage() = default;
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;
  ~PropertyPage() = default;

 private:
  static INT_PTR CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    T* self = nullptr;
    if (message == WM_INITDIALOG) {
      // The sheet's copy of the page description, which keeps our lParam.
      self = reinterpret_cast<T*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
      self->hwnd_ = hwnd;
      SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    // FALSE: the dialog manager handles a message whose handling failed.
    const INT_PTR result =
        CallGuarded([&] { return self->HandleMessage(message, wParam, lParam); }, [] { return INT_PTR{FALSE}; });
    if (message == WM_NCDESTROY) self->hwnd_ = nullptr;
    return result;
  }

  HWND hwnd_ = nullptr;
};

// Shows `pages`, in order, the first one first, as a modal sheet owned by
// `owner` with the caption `caption`. It has OK and Cancel only and centres
// itself on its owner whenever it is shown. The sheet takes the pages over;
// when one of them could not be made, none is shown. True when the sheet
// ended with OK.
bool RunPropertySheet(HWND owner, const std::string& caption, std::vector<HPROPSHEETPAGE> pages);

}  // namespace mosaikon
