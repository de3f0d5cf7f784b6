// The painter's drawing surface on a GDI device context: the settings' fonts
// and background brush, opaque text runs, and the black fill of ANSI art.
// The view paints the screen through it and the image export a bitmap, so
// both show the same pixels.
#pragma once

#include <windows.h>

#include <string_view>

#include "common/win32/handles.h"
#include "settings/win32/settings.h"
#include "view/paint_cells.h"

namespace mosaikon {

// The black fill of ANSI documents is a brush of this one surface; the plain
// fill is the settings' brush. The first font selected is put back when the
// surface goes.
class GdiSurface : public DrawingSurface {
 public:
  GdiSurface(HDC dc, const Settings& settings);
  ~GdiSurface() override;
  GdiSurface(const GdiSurface&) = delete;
  GdiSurface& operator=(const GdiSurface&) = delete;

  void SelectFont(CellFont font) override;
  void SetColours(Colour text, Colour background) override;
  void DrawRun(int x, int y, std::string_view bytes) override;
  void FillRect(const PixelRect& rect, Fill fill) override;

 private:
  HDC dc_;
  const Settings& settings_;
  GdiBrush blackBrush_;
  HGDIOBJ previousFont_ = nullptr;
};

// What the painter needs from the settings and the document; the caller
// adds the offset, the area and the selection.
PaintInput SettingsPaintInput(const TextDocument& document, PixelSize cell, const Settings& settings);

}  // namespace mosaikon
