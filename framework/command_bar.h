// The menu bar drawn as a command bar: a flat toolbar in a rebar band with
// one text button per popup of the menu. A click, Alt+letter or F10 opens the
// popup below its button; the arrow keys and the mouse move between popups.
// Menu items whose command has a toolbar button show that button's image.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "common/win32/handles.h"
#include "framework/toolbar_resource.h"

namespace mosaikon {

class CommandBar {
 public:
  CommandBar() = default;
  ~CommandBar();
  CommandBar(const CommandBar&) = delete;
  CommandBar& operator=(const CommandBar&) = delete;

  // Creates the bar as a child of `parent`; commands and menu notifications
  // go to `frame`.
  HWND Create(HWND frame, HWND parent, UINT controlId);
  HWND hwnd() const { return hwnd_; }

  // Shows `menu`'s popups as buttons; the bar owns the menu from now on.
  bool AttachMenu(HMENU menu);
  HMENU menu() const { return menu_.get(); }

  // Takes the images of toolbar resource `toolbarId` (and its bitmap) for the
  // menu items that share a command id with a toolbar button. `module` must
  // stay loaded while the bar shows menus: the images are made from it when
  // a popup first opens.
  void LoadImages(HINSTANCE module, UINT toolbarId);

  // Shows a popup menu with the images of the bar and the frame's command
  // states (the frame gets WM_INITMENUPOPUP); commands arrive as WM_COMMAND.
  void TrackPopupMenu(HMENU popup, UINT flags, int x, int y);

  // WM_SYSCOMMAND SC_KEYMENU of the frame: `key` is the letter typed with
  // Alt, 0 for F10 or Alt alone. True when the bar handled it.
  bool OnKeyMenu(int key);

  // Width and height the band needs.
  SIZE IdealSize() const;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data) noexcept;
  static LRESULT CALLBACK MenuHookProc(int code, WPARAM wParam, LPARAM lParam) noexcept;
  bool OnMenuMessage(const MSG& message);

  void OpenPopup(int index, bool fromKeyboard);
  int HitTest(POINT screenPoint) const;
  void MakeImages();
  void ApplyImages(HMENU popup);
  int ButtonCount() const;

  HWND frame_ = nullptr;
  HWND hwnd_ = nullptr;
  MenuHandle menu_;
  HINSTANCE imageModule_ = nullptr;  // set until the images are made
  UINT imageToolbarId_ = 0;
  ImageList images_;
  std::map<UINT, int> imageOfCommand_;
  std::map<int, GdiBitmap> itemBitmaps_;  // by image index
  std::vector<std::string> buttonTexts_;

  // While a popup of the bar is open.
  int openIndex_ = -1;
  int nextIndex_ = -1;
  bool nextFromKeyboard_ = false;
  HookHandle hook_;
};

}  // namespace mosaikon
