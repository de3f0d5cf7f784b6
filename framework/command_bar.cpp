// The command bar: menu popups as flat toolbar buttons, menu tracking across
// them, and toolbar images in the menu items.
#include "framework/command_bar.h"

#include <cctype>
#include <utility>

#include "framework/exception_barrier.h"
#include "framework/toolbar_resource.h"

namespace mosaikon {

namespace {
// The bar whose popup is open; a message hook has no user data of its own.
CommandBar* trackingBar = nullptr;
constexpr UINT_PTR kSubclassId = 1;

// The letter after the first single "&" of a menu text, lower case; 0 if none.
int MnemonicOf(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return std::tolower(static_cast<unsigned char>(text[i + 1]));
  }
  return 0;
}
}  // namespace

CommandBar::~CommandBar() {
  if (hwnd_) RemoveWindowSubclass(hwnd_, &CommandBar::SubclassProc, kSubclassId);
}

HWND CommandBar::Create(HWND frame, HWND parent, UINT controlId) {
  frame_ = frame;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_LIST |
                      TBSTYLE_TRANSPARENT | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
  hwnd_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, style, 0, 0, 100, 100, parent,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)),
                          reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
  if (!hwnd_) return nullptr;
  SendMessageA(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  SetWindowSubclass(hwnd_, &CommandBar::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  return hwnd_;
}

bool CommandBar::AttachMenu(HMENU menu) {
  if (!hwnd_ || !menu) return false;
  while (SendMessageA(hwnd_, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(hwnd_, TB_DELETEBUTTON, 0, 0);
  menu_.Reset(menu);
  const int count = GetMenuItemCount(menu);
  buttonTexts_.assign(count > 0 ? count : 0, std::string());
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    buttonTexts_[i] = text;
  }
  // The texts must stay put while the buttons exist: the bar keeps them.
  for (int i = 0; i < count; ++i) {
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = i + 1;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    button.iString = reinterpret_cast<INT_PTR>(buttonTexts_[i].c_str());
    SendMessageA(hwnd_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
  }
  SendMessageA(hwnd_, TB_AUTOSIZE, 0, 0);
  return true;
}

int CommandBar::ButtonCount() const {
  return static_cast<int>(buttonTexts_.size());
}

SIZE CommandBar::IdealSize() const {
  SIZE size{0, 0};
  const int count = ButtonCount();
  if (count > 0) {
    RECT last{};
    SendMessageA(hwnd_, TB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
    size.cx = last.right;
  }
  size.cy = HIWORD(SendMessageA(hwnd_, TB_GETBUTTONSIZE, 0, 0));
  return size;
}

void CommandBar::LoadImages(HINSTANCE module, UINT toolbarId) {
  imageModule_ = module;
  imageToolbarId_ = toolbarId;
}

// The images are made when a popup first opens: nobody sees them before, and
// a start-up that does not make them shows its window sooner.
void CommandBar::MakeImages() {
  if (!imageModule_) return;
  const HINSTANCE module = std::exchange(imageModule_, nullptr);
  const std::optional<ToolbarResource> resource = LoadToolbarResource(module, imageToolbarId_);
  if (!resource) return;
  images_ = LoadToolbarImages(module, imageToolbarId_, resource->imageWidth);
  if (!images_) return;
  imageOfCommand_.clear();
  itemBitmaps_.clear();
  int image = 0;
  for (UINT id : resource->ids) {
    if (id != 0) imageOfCommand_[id] = image++;
  }
  // Each image is drawn once onto the menu colour: a plain bitmap is what
  // every menu implementation shows beside an item.
  int width = 0, height = 0;
  ImageList_GetIconSize(images_.get(), &width, &height);
  WindowDC screen(nullptr);
  MemoryDC dc(CreateCompatibleDC(screen.get()));
  const HBRUSH background = GetSysColorBrush(COLOR_MENU);
  for (int i = 0; i < image; ++i) {
    GdiBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!bitmap) continue;
    {
      SelectedObject selected(dc.get(), bitmap.get());
      RECT all{0, 0, width, height};
      FillRect(dc.get(), &all, background);
      ImageList_Draw(images_.get(), i, dc.get(), 0, 0, ILD_TRANSPARENT);
    }
    itemBitmaps_[i] = std::move(bitmap);
  }
  for (int i = 0; i < GetMenuItemCount(menu_.get()); ++i) ApplyImages(GetSubMenu(menu_.get(), i));
}

void CommandBar::ApplyImages(HMENU popup) {
  if (!popup) return;
  const int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(popup, i, TRUE, &item)) continue;
    if (item.hSubMenu) {
      ApplyImages(item.hSubMenu);
      continue;
    }
    const auto image = imageOfCommand_.find(item.wID);
    if (image == imageOfCommand_.end()) continue;
    const auto bitmap = itemBitmaps_.find(image->second);
    if (bitmap == itemBitmaps_.end()) continue;
    MENUITEMINFOA update{};
    update.cbSize = sizeof update;
    update.fMask = MIIM_BITMAP;
    update.hbmpItem = bitmap->second.get();
    SetMenuItemInfoA(popup, i, TRUE, &update);
  }
}

void CommandBar::TrackPopupMenu(HMENU popup, UINT flags, int x, int y) {
  if (!popup) return;
  MakeImages();
  ApplyImages(popup);
  TrackPopupMenuEx(popup, flags, x, y, frame_, nullptr);
}

int CommandBar::HitTest(POINT screenPoint) const {
  if (!hwnd_) return -1;
  POINT point = screenPoint;
  ScreenToClient(hwnd_, &point);
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (!PtInRect(&client, point)) return -1;
  const int index = static_cast<int>(SendMessageA(hwnd_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
  return index >= 0 && index < ButtonCount() ? index : -1;
}

void CommandBar::OpenPopup(int index, bool fromKeyboard) {
  if (!menu_ || trackingBar) return;
  MakeImages();
  trackingBar = this;
  int next = index;
  bool keyboard = fromKeyboard;
  while (next >= 0 && next < ButtonCount()) {
    openIndex_ = next;
    nextIndex_ = -1;
    RECT button{};
    SendMessageA(hwnd_, TB_GETITEMRECT, openIndex_, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&button), 2);
    SendMessageA(hwnd_, TB_PRESSBUTTON, openIndex_ + 1, MAKELPARAM(TRUE, 0));
    UpdateWindow(hwnd_);
    // The menu loop takes this as its first key: the first item is selected,
    // as a menu opened from the keyboard should be.
    if (keyboard) PostMessageA(frame_, WM_KEYDOWN, VK_DOWN, 0);
    hook_.Reset(SetWindowsHookExA(WH_MSGFILTER, &CommandBar::MenuHookProc, nullptr, GetCurrentThreadId()));
    TPMPARAMS exclude{};
    exclude.cbSize = sizeof exclude;
    exclude.rcExclude = button;
    TrackPopupMenuEx(GetSubMenu(menu_.get(), openIndex_), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON,
                     button.left, button.bottom, frame_, &exclude);
    hook_.Reset();
    SendMessageA(hwnd_, TB_PRESSBUTTON, openIndex_ + 1, MAKELPARAM(FALSE, 0));
    next = nextIndex_;
    keyboard = nextFromKeyboard_;
  }
  openIndex_ = -1;
  trackingBar = nullptr;
}

LRESULT CALLBACK CommandBar::MenuHookProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
  const bool consumed = CallGuarded(
      [&] {
        return code == MSGF_MENU && trackingBar && lParam &&
               trackingBar->OnMenuMessage(*reinterpret_cast<const MSG*>(lParam));
      },
      [] { return false; });
  return consumed ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CommandBar::OnMenuMessage(const MSG& message) {
  const int count = ButtonCount();
  switch (message.message) {
    case WM_KEYDOWN:
      if (message.wParam == VK_LEFT || message.wParam == VK_RIGHT) {
        const int step = message.wParam == VK_LEFT ? count - 1 : 1;
        nextIndex_ = (openIndex_ + step) % count;
        nextFromKeyboard_ = true;
        EndMenu();
        return true;
      }
      return false;
    case WM_MOUSEMOVE: {
      const int index = HitTest(message.pt);
      if (index >= 0 && index != openIndex_) {
        nextIndex_ = index;
        nextFromKeyboard_ = false;
        EndMenu();
        return true;
      }
      return false;
    }
    case WM_LBUTTONDOWN:
      // A click on the open popup's own button closes it (and must not reach
      // the bar, which would open it again).
      if (HitTest(message.pt) == openIndex_) {
        nextIndex_ = -1;
        EndMenu();
        return true;
      }
      return false;
    default:
      return false;
  }
}

bool CommandBar::OnKeyMenu(int key) {
  if (!menu_ || ButtonCount() == 0) return false;
  if (key == 0) {
    OpenPopup(0, true);
    return true;
  }
  const int wanted = std::tolower(key & 0xFF);
  for (int i = 0; i < ButtonCount(); ++i) {
    if (MnemonicOf(buttonTexts_[i]) == wanted) {
      OpenPopup(i, true);
      return true;
    }
  }
  return false;
}

LRESULT CALLBACK CommandBar::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) noexcept {
  auto* self = reinterpret_cast<CommandBar*>(data);
  const bool opened = CallGuarded(
      [&] {
        if (message != WM_LBUTTONDOWN && message != WM_LBUTTONDBLCLK) return false;
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(hwnd, &point);
        const int index = self->HitTest(point);
        if (index < 0) return false;
        self->OpenPopup(index, false);
        return true;
      },
      [] { return false; });
  return opened ? 0 : DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace mosaikon
