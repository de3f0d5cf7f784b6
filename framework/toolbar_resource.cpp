// Reading toolbar resources and building toolbars from them.
#include "framework/toolbar_resource.h"

#include "common/win32/handles.h"

namespace mosaikon {

namespace {
constexpr WORD kToolbarResourceType = 241;  // RT_TOOLBAR
constexpr COLORREF kTransparentGrey = RGB(192, 192, 192);
}  // namespace

std::optional<ToolbarResource> LoadToolbarResource(HINSTANCE module, UINT id) {
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(kToolbarResourceType));
  if (!info) return std::nullopt;
  HGLOBAL global = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  const void* data = global ? LockResource(global) : nullptr;
  if (!data) return std::nullopt;
  ToolbarResource result;
  // The Microsoft compiler writes WORDs (version 1, width, height, count,
  // ids); GNU windres writes DWORDs without the version (width, height,
  // count, ids). The sizes tell the two apart.
  const auto* words = static_cast<const WORD*>(data);
  const auto* dwords = static_cast<const DWORD*>(data);
  if (size >= 4 * sizeof(WORD) && words[0] == 1 && size == (4 + std::size_t{words[3]}) * sizeof(WORD)) {
    result.imageWidth = words[1];
    result.imageHeight = words[2];
    result.ids.assign(words + 4, words + 4 + words[3]);
  } else if (size >= 3 * sizeof(DWORD) && size == (3 + std::size_t{dwords[2]}) * sizeof(DWORD)) {
    result.imageWidth = static_cast<int>(dwords[0]);
    result.imageHeight = static_cast<int>(dwords[1]);
    result.ids.assign(dwords + 3, dwords + 3 + dwords[2]);
  } else {
    return std::nullopt;
  }
  return result;
}

ImageList LoadToolbarImages(HINSTANCE module, UINT bitmapId, int imageWidth) {
  GdiBitmap strip(static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, 0)));
  BITMAP info{};
  if (!strip || !GetObjectA(strip.get(), sizeof info, &info) || imageWidth <= 0) return ImageList();
  const int count = info.bmWidth / imageWidth;
  ImageList images(ImageList_Create(imageWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, count, 0));
  if (images) ImageList_AddMasked(images.get(), strip.get(), kTransparentGrey);
  return images;
}

HWND CreateToolbarFromResource(HWND parent, HINSTANCE module, UINT id, UINT controlId, ImageList& images) {
  images.Reset();
  const std::optional<ToolbarResource> resource = LoadToolbarResource(module, id);
  if (!resource) return nullptr;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                      CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
  HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, style, 0, 0, 100, 100, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
  if (!toolbar) return nullptr;
  SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(resource->imageWidth, resource->imageHeight));
  images = LoadToolbarImages(module, id, resource->imageWidth);
  if (images) SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));

  std::vector<TBBUTTON> buttons;
  int image = 0;
  for (UINT commandId : resource->ids) {
    TBBUTTON button{};
    if (commandId == 0) {
      button.fsStyle = BTNS_SEP;
    } else {
      button.iBitmap = image++;
      button.idCommand = static_cast<int>(commandId);
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = BTNS_BUTTON;
    }
    buttons.push_back(button);
  }
  SendMessageA(toolbar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
  return toolbar;
}

}  // namespace mosaikon
