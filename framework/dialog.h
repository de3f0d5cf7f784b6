// Dialog bases: DialogWindow<T>, the dialog procedure that modal dialogs and
// property pages share; ModalDialog<T>, which runs a dialog template of the
// resource module; and InformationDialog, a dialog that only shows something.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "framework/exception_barrier.h"
#include "framework/window.h"

namespace mosaikon {

// Centres a dialog on its owner (on the screen's work area without one).
inline void CenterWindowOnOwner(HWND dialog) {
  RECT box{}, area{};
  GetWindowRect(dialog, &box);
  HWND owner = GetWindow(dialog, GW_OWNER);
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) {
    GetWindowRect(owner, &area);
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  const int width = box.right - box.left, height = box.bottom - box.top;
  const int x = area.left + (area.right - area.left - width) / 2;
  const int y = area.top + (area.bottom - area.top - height) / 2;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// What modal dialogs and property pages share: `this` kept in DWLP_USER from
// WM_INITDIALOG on, and every message forwarded to T::HandleMessage, which
// returns TRUE for a handled message.
template <typename T>
class DialogWindow {
 public:
  HWND hwnd() const { return hwnd_; }

 protected:
  DialogWindow() = default;
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;
  ~DialogWindow() = default;

  // The dialog procedure; `SelfFrom` finds the T in WM_INITDIALOG's lParam.
  template <T* (*SelfFrom)(LPARAM)>
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    T* self = nullptr;
    if (message == WM_INITDIALOG) {
      self = SelfFrom(lParam);
      static_cast<DialogWindow*>(self)->hwnd_ = hwnd;
      SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    // FALSE: the dialog manager handles a message whose handling failed.
    const INT_PTR result =
        CallGuarded([&] { return self->HandleMessage(message, wParam, lParam); }, [] { return INT_PTR{FALSE}; });
    if (message == WM_NCDESTROY) static_cast<DialogWindow*>(self)->hwnd_ = nullptr;
    return result;
  }

 private:
  HWND hwnd_ = nullptr;
};

template <typename T>
class ModalDialog : public DialogWindow<T> {
 public:
  INT_PTR DoModal(HWND owner, UINT templateId) {
    return DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(templateId), owner, kProc,
                           reinterpret_cast<LPARAM>(static_cast<T*>(this)));
  }
  // The same with the wide-character dialog functions, for a dialog whose
  // controls show UTF-16 text that the ANSI code page cannot hold; its
  // messages then arrive in their wide forms.
  INT_PTR DoModalWide(HWND owner, UINT templateId) {
    return DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(templateId), owner, kProc,
                           reinterpret_cast<LPARAM>(static_cast<T*>(this)));
  }

 protected:
  void CenterOnOwner() { CenterWindowOnOwner(this->hwnd()); }

 private:
  // The DoModal calls pass the T itself.
  static T* SelfFrom(LPARAM lParam) { return reinterpret_cast<T*>(lParam); }
  static constexpr DLGPROC kProc = &DialogWindow<T>::template Proc<&ModalDialog::SelfFrom>;
};

// A dialog that only shows something: centred on its owner, with the focus
// on OK (so Enter closes it and no text in it shows all selected), closed
// by OK or Esc. `fill` puts the content into its controls first.
class InformationDialog : public ModalDialog<InformationDialog> {
 public:
  explicit InformationDialog(std::function<void(HWND)> fill = {}) : fill_(std::move(fill)) {}

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
      case WM_INITDIALOG:
        CenterOnOwner();
        if (fill_) fill_(hwnd());
        SetFocus(GetDlgItem(hwnd(), IDOK));
        return FALSE;
      case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        EndDialog(hwnd(), LOWORD(wParam));
        return TRUE;
      default:
        return FALSE;
    }
  }

 private:
  std::function<void(HWND)> fill_;
};

}  // namespace mosaikon
