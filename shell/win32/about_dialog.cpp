// The About box.
#include "shell/win32/about_dialog.h"

#include "framework/dialog.h"
#include "framework/hyperlink.h"
#include "resources/resource_ids.h"

namespace mosaikon {

void ShowAboutBox(HWND owner) {
  // The link lines are windows of this class; the template names it.
  RegisterHyperLinkClass();
  InformationDialog().DoModal(owner, IDD_ABOUT);
}

}  // namespace mosaikon
