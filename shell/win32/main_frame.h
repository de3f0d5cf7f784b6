// The program's only top-level window: the command bar and toolbar in a
// rebar, the status bar, and the text view as its client. It routes every
// user command, filters the thread's messages (accelerators, Esc) and updates
// the command states when the thread is idle.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "common/system.h"
#include "framework/command_bar.h"
#include "framework/command_states.h"
#include "framework/message_loop.h"
#include "framework/status_bar.h"
#include "framework/toolbar_resource.h"
#include "framework/window.h"
#include "shell/command_line.h"
#include "shell/win32/find_command.h"
#include "view/view_placement.h"
#include "view/win32/text_view.h"

namespace mosaikon {

// The frame's window class: a second copy looks for it to hand its file over.
constexpr const char* kFrameClassName = "MosaikonWndClass";

class MainFrame : public Window<MainFrame>, public MessageFilter, public IdleHandler {
 public:
  MainFrame();
  ~MainFrame();

  // Creates the window, hidden, with menu 101 and title string 101, and
  // loads accelerator table 101. Null on failure.
  HWND CreateFrame();

  // `path` is UTF-8, as every path inside the program.
  bool OpenFile(const std::string& path);

  // Recently viewed files: re-read the list, apply `path` (if any), write it
  // back and rebuild the File menu entries.
  void UpdateRecentFiles(const std::string* path, bool opened, bool rewrite);
  void RemoveRecentFilesMenu(bool clear);

  void SetTitle(const std::string& path);
  void SetPaneWidths(const std::vector<int>& widths);

  void SaveLayout();
  void RestoreLayout();
  void ShowToolBar(bool visible);
  void ShowStatusBar(bool visible);

  bool PreTranslateMessage(MSG& message) override;
  bool OnIdle(int idleCount) override;
  bool UpdateCommandStates();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  std::int32_t toolBarVisible = 1;
  std::int32_t statusBarVisible = 1;
  std::string languagePack;
  std::int32_t recentMenuCount = 0;
  std::vector<std::string> recentFiles;

 private:
  LRESULT OnCreate();
  void OnClose();
  void OnDestroy();
  void OnCommand(UINT id);
  LRESULT OnNotify(NMHDR& header);
  void OnSize(UINT kind);
  void OnMenuSelect(UINT itemId, UINT flags, HMENU menu);
  void OnContextMenu(HWND window, int x, int y);
  LRESULT OnCopyData(const COPYDATASTRUCT* data);
  // Opens `handOver` later, from the message queue, in the order received.
  void QueueOpen(HandOver handOver);
  void OpenHandedOver();
  void OnDropFiles(HDROP drop);
  bool OnKeyMenu(WPARAM command, LPARAM key);

  void OnFileOpen();
  void ExportImage();
  void OnRecentFile(UINT id);
  void ToggleDecodeMode(std::int32_t mode);
  void ToggleModernRendering();
  void ReloadDocument();
  void ShowDocumentPanes();
  void ToggleAlwaysOnTop();
  // The menu check and the window's place above others, from AlwaysOnTop.
  void ApplyAlwaysOnTop();
  void OnSettings();
  void ShowSaveFailure(ErrorCode error);
  void ShowAbout();
  void ZoomTo(Zoom zoom);

  HWND CreateRebar();
  void AddBand(HWND child, UINT bandId, SIZE size, bool newRow);
  void UpdateLayout(bool resizeBars);
  HMENU FilePopup() const;

  HACCEL accelerators_ = nullptr;
  CommandStates commandStates_;
  TextView view_;
  CommandBar commandBar_;
  StatusBar statusBar_;
  HWND rebar_ = nullptr;
  HWND toolbar_ = nullptr;
  // The client size the bars were last laid out for.
  SIZE laidOutClient_{-1, -1};
  ImageList toolbarImages_;   // borrowed by the toolbar
  std::string documentPath_;  // the full path (UTF-8) of the file the last successful OpenFile loaded
  FindCommand find_{view_, statusBar_};
  std::deque<HandOver> handedOver_;  // received, to be opened in this order
  bool hintShown_ = false;           // the first pane holds the Modern Rendering note
  bool exporting_ = false;           // opens wait in handedOver_ while set
};

}  // namespace mosaikon
