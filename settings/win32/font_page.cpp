// The Font page.
#include "settings/win32/font_page.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>

#include "common/win32/handles.h"
#include "settings/settings_resource_ids.h"
#include "settings/win32/settings.h"

namespace mosaikon {

namespace {

constexpr char kSampleText[] = "Web Page: ";
// Short enough for the right half of the preview at the largest step.
constexpr char kSampleLink[] = "http://ab";

// The custom colours of the colour dialog: one set for every colour chosen
// while the program runs, white at first, never stored.
std::array<COLORREF, 16> customColors = [] {
  std::array<COLORREF, 16> colours{};
  colours.fill(RGB(255, 255, 255));
  return colours;
}();

}  // namespace

INT_PTR FontPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_HSCROLL:
      values_.FontSize = static_cast<std::int32_t>(SendMessageA(slider_, TBM_GETPOS, 0, 0));
      RedrawPreview();
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      switch (LOWORD(wParam)) {
        case IDC_FORE_COLOR:
          ChooseColour(values_.ForeColor);
          return TRUE;
        case IDC_BACK_COLOR:
          ChooseColour(values_.BackColor);
          return TRUE;
        case IDC_LINK_COLOR:
          ChooseColour(values_.HyperLinkColor);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_DRAWITEM:
      if (wParam != IDC_FONT_PREVIEW) return FALSE;
      DrawPreview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    default:
      return FALSE;
  }
}

void FontPage::OnInitDialog() {
  slider_ = GetDlgItem(hwnd(), IDC_FONT_SIZE);
  SendMessageA(slider_, TBM_SETRANGE, TRUE, MAKELPARAM(kSmallestFontSize, kLargestFontSize));
  // A stored step outside the range shows at the nearer end, and FontSize
  // keeps it until the slider is moved.
  SendMessageA(slider_, TBM_SETPOS, TRUE, values_.FontSize);
}

void FontPage::ChooseColour(std::uint32_t& colour) {
  CHOOSECOLORA choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = GetActiveWindow();
  choose.rgbResult = colour;
  choose.lpCustColors = customColors.data();
  choose.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&choose)) return;
  colour = choose.rgbResult;
  RedrawPreview();
}

void FontPage::RedrawPreview() const {
  InvalidateRect(GetDlgItem(hwnd(), IDC_FONT_PREVIEW), nullptr, FALSE);
}

// The preview is an owner-drawn static: it is drawn whenever the area
// paints, so nothing the page or the area paints afterwards can hide it.
void FontPage::DrawPreview(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  const RECT area = item.rcItem;
  const GdiBrush background(CreateSolidBrush(values_.BackColor));
  const GdiBrush frame(CreateSolidBrush(RGB(0, 0, 0)));
  FillRect(dc, &area, background.get());
  FrameRect(dc, &area, frame.get());

  // A step outside 1-5 asks for the face's own size, unlike the view.
  const bool step = values_.FontSize >= kSmallestFontSize && values_.FontSize <= kLargestFontSize;
  const FontCell cell = step ? FontCellForSize(values_.FontSize) : FontCell{0, 0};
  const GdiFont font = MakeTerminalFont(cell.width, cell.height);
  const SelectedObject selected(dc, font.get());
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, values_.BackColor);
  SetTextColor(dc, values_.ForeColor);

  const int width = area.right - area.left;
  const int middle = area.left + (width - 2) / 2;
  RECT text{area.left + 2, area.top, middle, area.bottom};
  DrawTextA(dc, kSampleText, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  SetTextColor(dc, values_.HyperLinkColor);
  RECT link{middle, area.top, area.right - 2, area.bottom};
  DrawTextA(dc, kSampleLink, -1, &link, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

}  // namespace mosaikon
