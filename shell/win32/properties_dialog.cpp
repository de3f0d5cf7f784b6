// The Properties dialog. Its text is UTF-16 and goes to a dialog made with
// the wide-character functions: the record's texts are code page 437, whose
// block and box characters no ANSI code page of the West holds.
#include "shell/win32/properties_dialog.h"

#include <vector>

#include "common/utf8.h"
#include "framework/dialog.h"
#include "resources/resource_ids.h"
#include "shell/properties_text.h"

namespace mosaikon {
namespace {

// Dialog units from the left edge of the text box to the values.
constexpr int kValueTabStop = 64;

std::u16string ResourceText(PropertyText id) {
  // Length 0 asks for a pointer to the resource's own (unterminated) text.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(ResourceModule(), static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return EnglishPropertyText(id);
  return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
}

}  // namespace

void ShowPropertiesDialog(HWND owner, const TextDocument& document, const std::string& path) {
  std::u16string text;
  for (const PropertyRow& row : PropertyRows(document, Utf8ToUtf16(path), ResourceText)) {
    if (!row.labelText.empty()) text += row.labelText + u":";
    text += u"\t" + row.value + u"\r\n";
  }
  const std::wstring wide(text.begin(), text.end());
  InformationDialog dialog([&](HWND hwnd) {
    HWND box = GetDlgItem(hwnd, IDC_PROPERTIES_TEXT);
    int tabStop = kValueTabStop;
    SendMessageW(box, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    SetWindowTextW(box, wide.c_str());
  });
  dialog.DoModalWide(owner, IDD_PROPERTIES);
}

}  // namespace mosaikon
