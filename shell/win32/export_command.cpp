// Export as Image: the question, the Save dialog, the progress of a long
// export and the messages around the export itself. Paths are UTF-8 and meet
// the system through its wide functions, so a name of any script is proposed
// and written as it is.
#include "shell/win32/export_command.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>

#include "common/string_util.h"
#include "common/system.h"
#include "common/win32/wide_text.h"
#include "framework/dialog.h"
#include "framework/resource_string.h"
#include "resources/resource_ids.h"
#include "shell/export_name.h"
#include "view/view_placement.h"
#include "view/win32/image_export.h"

namespace mosaikon {
namespace {

// An export that has taken this long shows its progress.
constexpr DWORD kProgressDelayMs = 500;

std::string SizeText(std::int64_t width, std::int64_t height) {
  char text[64];
  std::snprintf(text, sizeof text, "%lld x %lld", static_cast<long long>(width), static_cast<long long>(height));
  return text;
}

// The system's words for a failure, in UTF-8. Results that wrap a system
// error code (HRESULT_FROM_WIN32, and the storage errors, whose low word is
// the same code) are worded as that code, which the system knows.
std::string ErrorText(HRESULT result) {
  auto code = static_cast<ErrorCode>(result);
  if (HRESULT_FACILITY(result) == FACILITY_WIN32 ||
      (HRESULT_FACILITY(result) == FACILITY_STORAGE && HRESULT_CODE(result) < 0x100))
    code = static_cast<ErrorCode>(HRESULT_CODE(result));
  std::string text = SystemErrorText(code);
  if (text.empty()) text = SystemErrorText(static_cast<ErrorCode>(result));
  if (text.empty()) {
    char number[32];
    std::snprintf(number, sizeof number, "0x%08lX", static_cast<unsigned long>(result));
    text = number;
  }
  return AnsiToUtf8(text);
}

// The Save dialog, proposing the document's name with .png in its folder.
bool ChooseImagePath(HWND owner, const std::string& documentPath, std::string& path) {
  const ExportName name = DefaultExportName(documentPath);
  std::string filter = LoadResourceString(IDS_EXPORT_FILTER);
  std::replace(filter.begin(), filter.end(), '|', '\0');
  const std::wstring wideFilter = WideFromAnsi(filter);
  const std::wstring title = WideFromAnsi(LoadResourceString(IDS_EXPORT_TITLE));
  const std::wstring folder = Wide(name.folder);
  wchar_t file[MAX_PATH] = {};
  Wide(name.fileName).copy(file, MAX_PATH - 1);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = wideFilter.c_str();
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = L"png";
  // The current folder stays where it was: relative paths the program was
  // given keep their meaning.
  dialog.Flags =
      OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ENABLESIZING;
  if (!GetSaveFileNameW(&dialog)) return false;
  path = Utf8(file);
  return true;
}

// The progress of an export, shown once it has taken a moment: the file's
// name, a bar and Cancel (Esc). While it shows, the owner is disabled and the
// thread's messages are served from here between bands, so the windows
// repaint and Cancel is heard; an export that ends sooner shows nothing.
class ProgressDialog final : public DialogWindow<ProgressDialog>, public ExportProgress {
 public:
  ProgressDialog(HWND owner, std::string fileName)
      : owner_(owner), fileName_(std::move(fileName)), started_(GetTickCount()) {}
  ~ProgressDialog() override {
    if (!hwnd()) return;
    // Enabled first, the owner becomes the active window again when the
    // dialog goes.
    EnableWindow(owner_, TRUE);
    DestroyWindow(hwnd());
  }

  bool Advance(int rows, int height) override {
    if (!hwnd() && GetTickCount() - started_ < kProgressDelayMs) return true;
    if (!hwnd() && !Show()) return true;
    HWND bar = GetDlgItem(hwnd(), IDC_EXPORT_PROGRESS_BAR);
    SendMessageW(bar, PBM_SETRANGE32, 0, height);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(rows), 0);
    MSG message;
    while (!cancelled_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        // The program is ending: stop, and leave the quit to the main loop.
        PostQuitMessage(static_cast<int>(message.wParam));
        cancelled_ = true;
        break;
      }
      if (hwnd() && IsDialogMessageW(hwnd(), &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    return !cancelled_;
  }

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
      case WM_INITDIALOG:
        CenterWindowOnOwner(hwnd());
        return TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) != IDCANCEL) return FALSE;
        cancelled_ = true;
        return TRUE;
      default:
        return FALSE;
    }
  }

 private:
  static ProgressDialog* SelfFrom(LPARAM lParam) { return reinterpret_cast<ProgressDialog*>(lParam); }

  bool Show() {
    // Wide, for a name outside the ANSI code page.
    if (!CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_EXPORT_PROGRESS), owner_,
                            &DialogWindow::Proc<&ProgressDialog::SelfFrom>, reinterpret_cast<LPARAM>(this)))
      return false;
    const std::string text = FillInserts(AnsiToUtf8(LoadResourceString(IDS_EXPORT_PROGRESS)), {fileName_});
    SetDlgItemTextW(hwnd(), IDC_EXPORT_PROGRESS_TEXT, Wide(text).c_str());
    EnableWindow(owner_, FALSE);
    ShowWindow(hwnd(), SW_SHOW);
    return true;
  }

  HWND owner_;
  std::string fileName_;
  DWORD started_;
  bool cancelled_ = false;
};

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void ExportAsImage(HWND owner, const TextView& view, const std::string& documentPath) {
  const TextDocument& document = view.document();
  const ImagePlan plan = PlanImage(document.width, document.LineCount(), view.cell(), kExportBandBytes);
  if (plan.width <= 0 || plan.height <= 0) return;
  const std::string caption = LoadResourceString(IDS_APP_NAME);
  if (plan.cut) {
    const std::string question =
        FillInserts(LoadResourceString(IDS_EXPORT_TOO_LARGE, 512),
                    {SizeText(plan.fullWidth, plan.fullHeight), SizeText(plan.width, plan.height)});
    if (MessageBoxA(owner, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  }
  std::string path;
  if (!ChooseImagePath(owner, documentPath, path)) return;
  HRESULT result = S_OK;
  {
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    ProgressDialog progress(owner, FileNameOf(path));
    result = ExportImage(document, view.cell(), plan, path, &progress);
    SetCursor(previous);
  }
  // A stop the user asked for leaves nothing behind and needs no word.
  if (result == E_ABORT || SUCCEEDED(result)) return;
  // The path may hold a "%2" of its own.
  const std::string message =
      FillInserts(AnsiToUtf8(LoadResourceString(IDS_EXPORT_FAILED, 512)), {path, ErrorText(result)});
  MessageBoxW(owner, Wide(message).c_str(), WideFromAnsi(caption).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace mosaikon
