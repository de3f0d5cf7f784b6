// GDI behind the painter's surface.
#include "view/win32/gdi_surface.h"

namespace mosaikon {

GdiSurface::GdiSurface(HDC dc, const Settings& settings)
    : dc_(dc), settings_(settings), blackBrush_(CreateSolidBrush(RGB(0, 0, 0))) {}

GdiSurface::~GdiSurface() {
  if (previousFont_) SelectObject(dc_, previousFont_);
}

void GdiSurface::SelectFont(CellFont font) {
  const HFONT handle = font == CellFont::kTerminal ? settings_.terminalFont.get() : settings_.chineseFont.get();
  if (!handle) return;
  const HGDIOBJ previous = SelectObject(dc_, handle);
  if (!previousFont_) previousFont_ = previous;
}

void GdiSurface::SetColours(Colour text, Colour background) {
  SetBkColor(dc_, background);
  SetTextColor(dc_, text);
}

void GdiSurface::DrawRun(int x, int y, std::string_view bytes) {
  TextOutA(dc_, x, y, bytes.data(), static_cast<int>(bytes.size()));
}

void GdiSurface::FillRect(const PixelRect& rect, Fill fill) {
  const RECT area{rect.left, rect.top, rect.right, rect.bottom};
  const HBRUSH brush = fill == Fill::kAnsiBlack ? blackBrush_.get() : settings_.backgroundBrush.get();
  if (brush) ::FillRect(dc_, &area, brush);
}

PaintInput SettingsPaintInput(const TextDocument& document, PixelSize cell, const Settings& settings) {
  PaintInput input;
  input.document = &document;
  input.cell = cell;
  input.foreColor = settings.ForeColor;
  input.backColor = settings.BackColor;
  input.hyperLinkColor = settings.HyperLinkColor;
  input.palette = &settings.palette;
  input.tabSize = settings.TabSize;
  input.decodeMode = settings.DecodeMode;
  return input;
}

}  // namespace mosaikon
