// Looks for the "Terminal" OEM raster face and, when the system lacks it, adds the bundled font file as a
// private font of this process.
#include "settings/win32/font_loader.h"

#include <windows.h>

#include <cstring>

#include "common/win32/handles.h"

namespace mosaikon {

namespace {

constexpr char kFaceName[] = "Terminal";
constexpr char kFontFileName[] = "MosaikonTerminal.fon";

int CALLBACK NoteOemFixedFace(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD, LPARAM found) noexcept {
  // The TMPF_FIXED_PITCH bit is set for variable-pitch fonts.
  const bool fixedPitch = (metrics->tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
  if (metrics->tmCharSet == OEM_CHARSET && fixedPitch && lstrcmpiA(font->lfFaceName, kFaceName) == 0) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
  }
  return 1;
}

// Asks by enumeration rather than by creating a test font: Wine keeps recently realised fonts in a cache
// keyed by their description, so a test font realised before the load would stay the substitute afterwards.
bool TerminalFacePresent() {
  WindowDC screen(nullptr);
  if (!screen.get()) return false;
  LOGFONTA query{};
  query.lfCharSet = OEM_CHARSET;
  std::strcpy(query.lfFaceName, kFaceName);
  bool found = false;
  EnumFontFamiliesExA(screen.get(), &query, NoteOemFixedFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

bool EnsureTerminalFont(const std::string& moduleDirectory) {
  static bool attempted = false;
  if (TerminalFacePresent()) return true;
  // Without a folder the bare file name would be looked for in the current
  // directory, which is not ours to load fonts from.
  if (attempted || moduleDirectory.empty()) return false;
  attempted = true;
  std::string path = moduleDirectory;
  if (path.back() != '\\' && path.back() != '/') path += '\\';
  path += kFontFileName;
  return AddFontResourceExA(path.c_str(), FR_PRIVATE, nullptr) > 0 && TerminalFacePresent();
}

}  // namespace mosaikon
