// Export as Image: the question, the Save dialog and the messages around the
// export itself.
#include "shell/win32/export_command.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>

#include "common/string_util.h"
#include "common/system.h"
#include "framework/resource_string.h"
#include "resources/resource_ids.h"
#include "shell/export_name.h"
#include "view/view_placement.h"
#include "view/win32/image_export.h"

namespace mosaikon {
namespace {

std::string SizeText(std::int64_t width, std::int64_t height) {
  char text[64];
  std::snprintf(text, sizeof text, "%lld x %lld", static_cast<long long>(width), static_cast<long long>(height));
  return text;
}

std::string ErrorText(HRESULT result) {
  std::string text = SystemErrorText(static_cast<ErrorCode>(result));
  if (text.empty()) {
    char code[32];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
    text = code;
  }
  return text;
}

// The Save dialog, proposing the document's name with .png in its folder.
bool ChooseImagePath(HWND owner, const std::string& documentPath, std::string& path) {
  const ExportName name = DefaultExportName(documentPath);
  std::string filter = LoadResourceString(IDS_EXPORT_FILTER);
  std::replace(filter.begin(), filter.end(), '|', '\0');
  const std::string title = LoadResourceString(IDS_EXPORT_TITLE);
  char file[MAX_PATH] = {};
  name.fileName.copy(file, sizeof file - 1);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrInitialDir = name.folder.empty() ? nullptr : name.folder.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = "png";
  // The current folder stays where it was: relative paths the program was
  // given keep their meaning.
  dialog.Flags =
      OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ENABLESIZING;
  if (!GetSaveFileNameA(&dialog)) return false;
  path = file;
  return true;
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
  const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  const HRESULT result = ExportImage(document, view.cell(), plan, path);
  SetCursor(previous);
  if (FAILED(result)) {
    // The path may hold a "%2" of its own.
    const std::string message = FillInserts(LoadResourceString(IDS_EXPORT_FAILED, 512), {path, ErrorText(result)});
    MessageBoxA(owner, message.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
  }
}

}  // namespace mosaikon
