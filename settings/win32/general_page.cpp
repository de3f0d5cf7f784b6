// The General page.
#include "settings/win32/general_page.h"

#include "framework/window.h"
#include "settings/number_field.h"
#include "settings/settings_resource_ids.h"

namespace mosaikon {

namespace {

// The check boxes and the settings they stand for, in the page's tab order.
struct CheckBox {
  UINT id;
  std::int32_t SettingsModel::*value;
};
constexpr CheckBox kCheckBoxes[] = {
    {IDC_COLUMN_MODE, &SettingsModel::ColumnMode},    {IDC_COPY_ON_SELECT, &SettingsModel::CopyOnSelect},
    {IDC_SUPPORT_ANSI, &SettingsModel::SupportAnsi},  {IDC_REUSE_VIEWER, &SettingsModel::ReuseViewer},
    {IDC_ALWAYS_ON_TOP, &SettingsModel::AlwaysOnTop}, {IDC_SAVE_MRU_FILES, &SettingsModel::SaveMruFiles},
};

}  // namespace

INT_PTR GeneralPage::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

void GeneralPage::OnInitDialog() {
  // Few enough digits that a typed number cannot wrap (see number_field.h).
  SendDlgItemMessageA(hwnd(), IDC_TAB_SIZE, EM_LIMITTEXT, kTabSizeField.digits, 0);
  SendDlgItemMessageA(hwnd(), IDC_MUR_FILE_NUM, EM_LIMITTEXT, kMurFileNumField.digits, 0);
  // A stored 0 or less shows as it is, and the copy takes the fallback.
  SetDlgItemInt(hwnd(), IDC_TAB_SIZE, static_cast<UINT>(ShownNumber(values_.TabSize, kTabSizeField)), TRUE);
  SetDlgItemInt(hwnd(), IDC_MUR_FILE_NUM, static_cast<UINT>(ShownNumber(values_.MurFileNum, kMurFileNumField)), TRUE);
  ReadNumber(IDC_TAB_SIZE);
  ReadNumber(IDC_MUR_FILE_NUM);
  for (const CheckBox& box : kCheckBoxes)
    CheckDlgButton(hwnd(), box.id, values_.*box.value ? BST_CHECKED : BST_UNCHECKED);
  EnableMaxNum();
  FillLanguages();
}

void GeneralPage::OnCommand(UINT id, UINT code) {
  switch (id) {
    case IDC_TAB_SIZE:
    case IDC_MUR_FILE_NUM:
      if (code == EN_CHANGE) ReadNumber(id);
      return;
    case IDC_LANGUAGE:
      if (code == CBN_SELCHANGE) OnLanguageChosen();
      return;
    default:
      break;
  }
  for (const CheckBox& box : kCheckBoxes) {
    if (box.id == id) values_.*box.value = IsDlgButtonChecked(hwnd(), id) == BST_CHECKED ? 1 : 0;
  }
  if (id == IDC_SAVE_MRU_FILES) EnableMaxNum();
}

void GeneralPage::ReadNumber(UINT id) {
  const std::string text = WindowText(GetDlgItem(hwnd(), static_cast<int>(id)));
  if (id == IDC_TAB_SIZE) {
    values_.TabSize = ReadNumberField(text, kTabSizeField);
  } else {
    values_.MurFileNum = ReadNumberField(text, kMurFileNumField);
  }
}

void GeneralPage::EnableMaxNum() {
  for (int id : {IDC_MUR_FILE_NUM, IDC_MUR_FILE_NUM_LABEL})
    EnableWindow(GetDlgItem(hwnd(), id), values_.SaveMruFiles != 0);
}

void GeneralPage::FillLanguages() {
  HWND box = GetDlgItem(hwnd(), IDC_LANGUAGE);
  packs_.clear();
  // The box sorts its entries; each keeps the index of its pack as its data.
  for (const auto& [name, pack] : languages) {
    const LRESULT index = SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (index < 0) continue;
    SendMessageA(box, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(packs_.size()));
    packs_.push_back(pack);
  }
  // Exact comparison: a stored name that matches no pack selects nothing,
  // and the language then stays as it was unless the user picks one.
  const LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto pack = static_cast<std::size_t>(SendMessageA(box, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
    if (pack < packs_.size() && packs_[pack] == language) {
      SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      break;
    }
  }
}

void GeneralPage::OnLanguageChosen() {
  HWND box = GetDlgItem(hwnd(), IDC_LANGUAGE);
  const LRESULT selected = SendMessageA(box, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR) {
    language.clear();
    return;
  }
  const auto pack = static_cast<std::size_t>(SendMessageA(box, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
  if (pack < packs_.size()) language = packs_[pack];
}

}  // namespace mosaikon
