// The drawing objects the settings own: the "Terminal" cell font for the
// FontSize step, the Chinese font for double-byte characters in the
// DecodeMode's character set, and the background brush of plain documents.
#include <windows.h>

#include <cstring>
#include <string>

#include "settings/win32/font_loader.h"
#include "settings/win32/language_packs.h"
#include "settings/win32/settings.h"

namespace mosaikon {
namespace {

constexpr LANGID kChinesePrc = 0x0804;
constexpr char kChineseFaceEnglish[] = "SimSun";
constexpr char kChineseFaceGb[] = "\xCB\xCE\xCC\xE5";  // the same face's own name, in GB2312

BYTE ChineseCharset(std::int32_t decodeMode) {
  switch (decodeMode) {
    case 1:
      return GB2312_CHARSET;
    case 2:
      return CHINESEBIG5_CHARSET;
    default:
      return DEFAULT_CHARSET;
  }
}

}  // namespace

GdiFont MakeTerminalFont(std::int32_t width, std::int32_t height) {
  LOGFONTA terminal{};
  terminal.lfHeight = height;
  terminal.lfWidth = width;
  terminal.lfCharSet = OEM_CHARSET;
  std::strcpy(terminal.lfFaceName, "Terminal");
  return GdiFont(CreateFontIndirectA(&terminal));
}

void Settings::CreateFonts() {
  const FontCell cell = FontCellForSize(FontSize);
  fontWidth = cell.width;
  fontHeight = cell.height;

  // The raster face may be missing (Wine has none); the bundled copy beside
  // the executable is loaded before the first font is asked for.
  static bool terminalChecked = false;
  if (!terminalChecked) {
    terminalChecked = true;
    EnsureTerminalFont(ModuleDirectory());
  }

  terminalFont = MakeTerminalFont(fontWidth, fontHeight);

  CreateChineseFont();
  backgroundBrush.Reset(CreateSolidBrush(BackColor));
}

void Settings::CreateChineseFont() {
  LOGFONTA chinese{};
  chinese.lfHeight = -fontHeight;
  chinese.lfWeight = FW_NORMAL;
  chinese.lfCharSet = ChineseCharset(DecodeMode);
  std::strcpy(chinese.lfFaceName, GetSystemDefaultLangID() == kChinesePrc ? kChineseFaceGb : kChineseFaceEnglish);
  chineseFont.Reset(CreateFontIndirectA(&chinese));
}

}  // namespace mosaikon
