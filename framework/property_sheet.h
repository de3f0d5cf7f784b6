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

#include "framework/dialog.h"

namespace mosaikon {

template <typename T>
class PropertyPage : public DialogWindow<T> {
 public:
  // The page from template `templateId`; null when it cannot be made.
  HPROPSHEETPAGE CreatePage(UINT templateId) {
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = ResourceModule();
    page.pszTemplate = MAKEINTRESOURCEA(templateId);
    page.pfnDlgProc = &DialogWindow<T>::template Proc<&PropertyPage::SelfFrom>;
    page.lParam = reinterpret_cast<LPARAM>(static_cast<T*>(this));
    return CreatePropertySheetPageA(&page);
  }

 private:
  // WM_INITDIALOG brings the sheet's copy of the page description, which
  // keeps our lParam.
  static T* SelfFrom(LPARAM lParam) {
    return reinterpret_cast<T*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
  }
};

// Shows `pages`, in order, the first one first, as a modal sheet owned by
// `owner` with the caption `caption`. It has OK and Cancel only and centres
// itself on its owner whenever it is shown. The sheet takes the pages over;
// when one of them could not be made, none is shown. True when the sheet
// ended with OK.
bool RunPropertySheet(HWND owner, const std::string& caption, std::vector<HPROPSHEETPAGE> pages);

}  // namespace mosaikon
