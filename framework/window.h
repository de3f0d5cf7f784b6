// The one window base of the program: Window<T> registers T's class once,
// keeps `this` from WM_NCCREATE in GWLP_USERDATA, and forwards every message
// to T::HandleMessage, a plain switch over the messages T handles. No
// exception leaves the procedure.
#pragma once

#include <windows.h>

#include <string>

#include "framework/exception_barrier.h"

namespace mosaikon {

// The module that menus, strings, dialogs and bitmaps come from: the program
// itself, or the language pack loaded at start-up.
HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE module);
// The program's own module (icons and cursors that never come from a pack).
HINSTANCE ProgramModule();

// The whole text of a window. GetWindowTextLengthA may overstate its length;
// the text is as long as GetWindowTextA says it copied.
inline std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

template <typename T>
class Window {
 public:
  HWND hwnd() const { return hwnd_; }

 protected:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  ~Window() = default;

  // Registers the class described by `wc` (lpfnWndProc and hInstance are
  // filled in here) the first time, then creates the window.
  HWND Create(WNDCLASSEXA wc, DWORD exStyle, const char* title, DWORD style, int x, int y, int width, int height,
              HWND parent, HMENU menuOrId) {
    static ATOM atom = 0;
    if (!atom) {
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &Window::StaticProc;
      wc.hInstance = ProgramModule();
      atom = RegisterClassExA(&wc);
      if (!atom) return nullptr;
    }
    // The derived object's address: T may have polymorphic bases that put
    // this Window<T> part at an offset, and StaticProc casts back to T*.
    return CreateWindowExA(exStyle, wc.lpszClassName, title, style, x, y, width, height, parent, menuOrId,
                           ProgramModule(), static_cast<T*>(this));
  }

  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    T* self = nullptr;
    if (message == WM_NCCREATE) {
      self = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    // A message whose handling failed gets the default handling instead.
    const LRESULT result = CallGuarded([&] { return self->HandleMessage(message, wParam, lParam); },
                                       [&] { return DefWindowProcA(hwnd, message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  }

  HWND hwnd_ = nullptr;
};

}  // namespace mosaikon
