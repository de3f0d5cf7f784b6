// The About box.
#include "shell/win32/about_dialog.h"

#include "framework/hyperlink.h"
#include "resources/resource_ids.h"

namespace mosaikon {

INT_PTR AboutDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CenterOnOwner();
      // OK, not the first link, takes the focus, so Enter closes the box.
      SetFocus(GetDlgItem(hwnd(), IDOK));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(hwnd(), LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void ShowAboutBox(HWND owner) {
  // The link lines are windows of this class; the template names it.
  RegisterHyperLinkClass();
  AboutDialog dialog;
  dialog.DoModal(owner, IDD_ABOUT);
}

}  // namespace mosaikon
