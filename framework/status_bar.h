// A status bar with panes known by id: the default pane (id 0) takes the
// width that the fixed panes leave, simple mode shows one text across the
// bar, and the panes get flat frames.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace mosaikon {

class StatusBar {
 public:
  StatusBar() = default;
  ~StatusBar();
  StatusBar(const StatusBar&) = delete;
  StatusBar& operator=(const StatusBar&) = delete;

  HWND Create(HWND parent, const char* text, DWORD style, UINT controlId);
  HWND hwnd() const { return hwnd_; }

  // The panes by id, left to right; the texts of the default pane survive.
  void SetPanes(const std::vector<int>& paneIds);
  // Widths of the panes in pixels; the bar's gap between parts is added
  // and the first pane is then stretched to fill the bar.
  void SetPaneWidths(const std::vector<int>& widths);
  bool SetPaneText(int paneId, const std::string& text);

  bool IsSimple() const;
  void SetSimple(bool simple);
  void SetSimpleText(const std::string& text);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data) noexcept;
  void FitPanes();
  void DrawFrames();
  int PaneIndex(int paneId) const;

  HWND hwnd_ = nullptr;
  std::vector<int> paneIds_;
};

}  // namespace mosaikon
