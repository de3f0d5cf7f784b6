// The Shell Integration page and the Add File Type dialog.
#include "settings/win32/shell_page.h"

#include "common/string_util.h"
#include "framework/resource_string.h"
#include "settings/file_types.h"
#include "settings/settings_resource_ids.h"

namespace mosaikon {

namespace {

void ShowInputError(HWND owner, UINT textId) {
  MessageBoxA(owner, LoadResourceString(textId).c_str(), nullptr, MB_ICONERROR | MB_OK);
}

}  // namespace

INT_PTR AddFileTypeDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CenterOnOwner();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(hwnd(), IDCANCEL);
        return TRUE;
      }
      if (LOWORD(wParam) != IDOK) return FALSE;
      OnOk();
      return TRUE;
    default:
      return FALSE;
  }
}

void AddFileTypeDialog::OnOk() {
  // On a refusal the dialog stays open with its text.
  std::optional<std::string> typed = ExtensionFromInput(WindowText(GetDlgItem(hwnd(), IDC_EXTENSION)));
  if (!typed) {
    ShowInputError(hwnd(), IDS_INVALID_INPUT);
  } else if (IsExecutableType(*typed)) {
    const std::string text = FillInserts(LoadResourceString(IDS_EXECUTABLE_TYPE, 1024), {*typed});
    MessageBoxA(hwnd(), text.c_str(), nullptr, MB_ICONERROR | MB_OK);
  } else {
    extension = std::move(*typed);
    EndDialog(hwnd(), IDOK);
  }
}

INT_PTR ShellPage::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_ADD_FILE_TYPE:
          if (HIWORD(wParam) == BN_CLICKED) OnAdd();
          return TRUE;
        case IDC_REMOVE_FILE_TYPE:
          if (HIWORD(wParam) == BN_CLICKED) OnRemove();
          return TRUE;
        case IDC_REGISTER_ON_START:
          values_.RegisterOnStart = IsDlgButtonChecked(hwnd(), IDC_REGISTER_ON_START) == BST_CHECKED ? 1 : 0;
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

void ShellPage::OnInitDialog() {
  list_ = GetDlgItem(hwnd(), IDC_FILE_TYPES);
  // The list sorts the extensions itself.
  for (const std::string& extension : SplitFileTypes(values_.FileTypes)) {
    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(extension.c_str()));
  }
  SendMessageA(list_, LB_SETCURSEL, 0, 0);
  CheckDlgButton(hwnd(), IDC_REGISTER_ON_START, values_.RegisterOnStart ? BST_CHECKED : BST_UNCHECKED);
}

void ShellPage::OnAdd() {
  AddFileTypeDialog dialog;
  if (dialog.DoModal(GetActiveWindow(), IDD_ADD_FILE_TYPE) != IDOK) return;
  // A whole entry equal but for letter case: registry keys ignore case.
  if (SendMessageA(list_, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(dialog.extension.c_str())) != LB_ERR) {
    ShowInputError(hwnd(), IDS_FILE_TYPE_EXISTS);
    return;
  }
  SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(dialog.extension.c_str()));
  SendMessageA(list_, LB_SETCURSEL, 0, 0);
  values_.FileTypes = JoinFileTypes(Entries());
}

void ShellPage::OnRemove() {
  const LRESULT selected = SendMessageA(list_, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return;
  SendMessageA(list_, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  SendMessageA(list_, LB_SETCURSEL, 0, 0);
  values_.FileTypes = JoinFileTypes(Entries());
}

std::vector<std::string> ShellPage::Entries() const {
  std::vector<std::string> entries;
  const LRESULT count = SendMessageA(list_, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageA(list_, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) continue;
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendMessageA(list_, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    entries.push_back(std::move(text));
  }
  return entries;
}

}  // namespace mosaikon
