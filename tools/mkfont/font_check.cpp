// font_check: verifies under the target system that the cell font is usable. It reports what "Terminal"
// (OEM) and "SimSun" (GB2312, Big5) realise as, makes the bundled font available as the program does, and
// measures and draws every cell size. Exit code 0 when all checks pass.
//   font_check [directory holding MosaikonTerminal.fon]   checks the five cell sizes (default: its own folder)
//   font_check --add <file.fon>                           prints what AddFontResourceExA returns
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/win32/handles.h"
#include "framework/dib_canvas.h"
#include "settings/win32/font_loader.h"
#include "settings/win32/language_packs.h"
#include "settings/win32/settings.h"

namespace mosaikon {
namespace {

constexpr int kCanvas = 64;

GdiFont MakeFont(const char* face, int width, int height, BYTE charSet, BYTE quality = DEFAULT_QUALITY) {
  LOGFONTA description{};
  description.lfQuality = quality;
  description.lfWidth = width;
  description.lfHeight = height;
  description.lfCharSet = charSet;
  if (height < 0) description.lfWeight = FW_NORMAL;
  std::strcpy(description.lfFaceName, face);
  return GdiFont(CreateFontIndirectA(&description));
}

// Wine caches realised fonts by their description, so probes use a quality the checked fonts do not: a probe
// realising the substitute must not make the later request for the same size find it again.
void Probe(HDC dc, const char* face, int width, int height, BYTE charSet, BYTE quality) {
  GdiFont font = MakeFont(face, width, height, charSet, quality);
  SelectedObject selected(dc, font.get());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  char realised[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof realised, realised);
  std::printf("probe %s charset %d -> face \"%s\" tmCharSet %d %s height %ld avg width %ld\n", face, charSet, realised,
              metrics.tmCharSet, (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) ? "variable" : "fixed", metrics.tmHeight,
              metrics.tmAveCharWidth);
}

// A white canvas for one character at a time.
class Canvas {
 public:
  Canvas() : pixels_(kCanvas, kCanvas, 32) {}

  HDC dc() const { return pixels_.dc(); }
  void Draw(char character) {
    RECT all{0, 0, kCanvas, kCanvas};
    FillRect(dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc(), TRANSPARENT);
    SetTextColor(dc(), RGB(0, 0, 0));
    TextOutA(dc(), 0, 0, &character, 1);
    GdiFlush();
  }
  bool Ink(int x, int y) const { return (static_cast<const DWORD*>(pixels_.bits())[y * kCanvas + x] & 0xFFFFFF) == 0; }

 private:
  DibCanvas pixels_;
};

// The font the program asks for at one FontSize step.
bool CheckSize(Canvas& canvas, FontCell cell) {
  const GdiFont font = MakeTerminalFont(cell.width, cell.height);
  SelectedObject selected(canvas.dc(), font.get());
  TEXTMETRICA metrics{};
  GetTextMetricsA(canvas.dc(), &metrics);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(canvas.dc(), sizeof face, face);
  SIZE extent{};
  GetTextExtentPoint32A(canvas.dc(), "X", 1, &extent);
  const bool fixedPitch = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;

  canvas.Draw('\xDB');
  int filled = 0;
  bool spill = false;
  for (int y = 0; y <= cell.height; ++y) {
    for (int x = 0; x <= cell.width; ++x) {
      const bool inside = x < cell.width && y < cell.height;
      if (inside && canvas.Ink(x, y)) ++filled;
      if (!inside && canvas.Ink(x, y)) spill = true;
    }
  }
  canvas.Draw('\xC4');
  bool horizontalEdges = false;
  for (int y = 0; y < cell.height; ++y) {
    horizontalEdges = horizontalEdges || (canvas.Ink(0, y) && canvas.Ink(cell.width - 1, y));
  }
  canvas.Draw('\xB3');
  bool verticalEdges = false;
  for (int x = 0; x < cell.width; ++x) {
    verticalEdges = verticalEdges || (canvas.Ink(x, 0) && canvas.Ink(x, cell.height - 1));
  }

  const bool ok = metrics.tmCharSet == OEM_CHARSET && fixedPitch && std::strcmp(face, "Terminal") == 0 &&
                  extent.cx == cell.width && extent.cy == cell.height && filled == cell.width * cell.height && !spill &&
                  horizontalEdges && verticalEdges;
  std::printf(
      "%dx%d: face \"%s\" tmCharSet %d %s, \"X\" %ldx%ld, ascent %ld, 0xDB fills %d/%d%s, 0xC4 edges %s, "
      "0xB3 edges %s: %s\n",
      cell.width, cell.height, face, metrics.tmCharSet, fixedPitch ? "fixed" : "variable", extent.cx, extent.cy,
      metrics.tmAscent, filled, cell.width * cell.height, spill ? " (spills)" : "", horizontalEdges ? "yes" : "no",
      verticalEdges ? "yes" : "no", ok ? "ok" : "FAILED");
  return ok;
}

void ProbeAll(const char* when, BYTE quality) {
  std::printf("-- %s\n", when);
  WindowDC screen(nullptr);
  Probe(screen.get(), "Terminal", 8, 12, OEM_CHARSET, quality);
  Probe(screen.get(), "SimSun", 0, -12, GB2312_CHARSET, quality);
  Probe(screen.get(), "SimSun", 0, -12, CHINESEBIG5_CHARSET, quality);
}

int Run(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--add") == 0) {
    std::printf("AddFontResourceExA returned %d\n", AddFontResourceExA(argv[2], FR_PRIVATE, nullptr));
    ProbeAll("after adding", DRAFT_QUALITY);
    return 0;
  }
  if (argc > 2) {
    std::fprintf(stderr, "usage: font_check [directory] | --add <file.fon>\n");
    return 2;
  }
  std::string directory = argc == 2 ? argv[1] : ModuleDirectory();
  ProbeAll("before", DRAFT_QUALITY);
  const bool available = EnsureTerminalFont(directory);
  std::printf("EnsureTerminalFont: %s\n", available ? "true" : "false");
  ProbeAll("after", PROOF_QUALITY);
  Canvas canvas;
  bool ok = available;
  for (std::int32_t step = kSmallestFontSize; step <= kLargestFontSize; ++step) {
    ok = CheckSize(canvas, FontCellForSize(step)) && ok;
  }
  std::printf("%s\n", ok ? "all checks passed" : "SOME CHECKS FAILED");
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace mosaikon

int main(int argc, char** argv) {
  return mosaikon::Run(argc, argv);
}
