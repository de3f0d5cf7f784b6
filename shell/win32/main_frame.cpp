// The main frame: creation of the bars and the view, the command table,
// the frame's messages, the status texts and the saved layout.
#include "shell/win32/main_frame.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "common/string_util.h"
#include "common/system.h"
#include "common/win32/wide_text.h"
#include "document/modern_features.h"
#include "framework/resource_string.h"
#include "framework/toolbar_resource.h"
#include "resources/resource_ids.h"
#include "settings/win32/file_registration.h"
#include "settings/win32/settings.h"
#include "settings/win32/settings_sheet.h"
#include "shell/command_line.h"
#include "shell/modern_hint.h"
#include "shell/open_filter.h"
#include "shell/recent_files.h"
#include "shell/status_texts.h"
#include "shell/win32/about_dialog.h"
#include "shell/win32/export_command.h"
#include "shell/win32/properties_dialog.h"
#include "shell/window_pos.h"

namespace mosaikon {

namespace {

constexpr UINT kViewId = 0xE900;  // the conventional id of a frame's client window
constexpr int kHotKeyId = 1;
// Posted to itself for each hand-over received.
constexpr UINT kOpenHandedOverMessage = WM_APP + 1;

// The Open dialog's hook: nothing to add to the dialog, but asking for a hook
// keeps the dialog's classic resizable layout on every system.
UINT_PTR CALLBACK OpenDialogHook(HWND, UINT, WPARAM, LPARAM) noexcept {
  return 0;
}

// Whether a bar is shown in its own right: laid out before the frame is
// first shown, a bar is not yet visible on the screen, yet takes its room.
bool Shown(HWND bar) {
  return (GetWindowLongA(bar, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string Format(const char* format, long value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

}  // namespace

MainFrame::MainFrame() = default;
MainFrame::~MainFrame() = default;

HWND MainFrame::CreateFrame() {
  WNDCLASSEXA wc{};
  wc.style = 0;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hIcon = static_cast<HICON>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 32, 32, 0));
  wc.hIconSm = static_cast<HICON>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 16, 16, 0));
  wc.lpszClassName = kFrameClassName;
  const std::string title = LoadResourceString(IDS_APP_NAME);
  HMENU menu = LoadMenuA(ResourceModule(), MAKEINTRESOURCEA(IDR_MAIN_FRAME));
  HWND window = Create(wc, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, title.c_str(),
                       WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu);
  if (!window) {
    // The command bar took the menu over only if creation got that far.
    if (!commandBar_.menu() && menu) DestroyMenu(menu);
    return nullptr;
  }
  accelerators_ = LoadAcceleratorsA(ResourceModule(), MAKEINTRESOURCEA(IDR_MAIN_FRAME));
  return window;
}

LRESULT MainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_CLOSE:
      OnClose();
      break;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_COPYDATA:
      return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case kOpenHandedOverMessage:
      OpenHandedOver();
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) != view_.hwnd() || !view_.hwnd()) break;
      OnContextMenu(reinterpret_cast<HWND>(wParam), static_cast<short>(LOWORD(lParam)),
                    static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_HOTKEY:
      if (wParam == kHotKeyId) view_.SendSelectionToForeground();
      return 0;
    case WM_INITMENUPOPUP:
      commandStates_.ApplyToMenu(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam));
      return 0;
    case WM_SETFOCUS:
      if (view_.hwnd() && IsWindowVisible(view_.hwnd())) SetFocus(view_.hwnd());
      return 0;
    case WM_ERASEBKGND:
      if (view_.hwnd()) return 1;
      break;
    case WM_NCPAINT:
      // The first showing draws this frame and then each child's; the text
      // is what the user waits for.
      view_.PaintFirstText();
      break;
    case WM_SYSCOMMAND:
      if (OnKeyMenu(wParam, lParam)) return 0;
      break;
    default:
      break;
  }
  if (message == find_.DialogMessage() && lParam) {
    find_.OnDialogMessage(*reinterpret_cast<const FINDREPLACEA*>(lParam));
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

LRESULT MainFrame::OnCreate() {
  Settings& settings = TheSettings();
  recentMenuCount = 0;

  // The menu bar becomes a command bar; the window keeps no menu of its own.
  rebar_ = CreateRebar();
  commandBar_.Create(hwnd(), rebar_ ? rebar_ : hwnd(), 0);
  commandBar_.AttachMenu(GetMenu(hwnd()));
  commandBar_.LoadImages(ResourceModule(), IDR_MAIN_FRAME);
  SetMenu(hwnd(), nullptr);

  toolbar_ = CreateToolbarFromResource(rebar_ ? rebar_ : hwnd(), ResourceModule(), IDR_MAIN_FRAME, IDW_TOOLBAR,
                                       toolbarImages_);
  if (rebar_) {
    AddBand(commandBar_.hwnd(), ID_BAND_COMMAND_BAR, commandBar_.IdealSize(), false);
    SIZE toolbarSize{0, 0};
    if (toolbar_) SendMessageA(toolbar_, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&toolbarSize));
    AddBand(toolbar_, ID_BAND_TOOLBAR, toolbarSize, true);
  }

  const std::string ready = LoadResourceString(IDS_READY);
  statusBar_.Create(hwnd(), ready.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | SBARS_SIZEGRIP,
                    IDW_STATUS_BAR);
  statusBar_.SetPanes({ID_PANE_DEFAULT, ID_PANE_MODIFY_TIME, ID_PANE_FILE_SIZE});
  SetPaneWidths({0, 180, 100});

  view_.CreateView(hwnd(), kViewId);
  UpdateLayout(true);

  for (UINT id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) commandStates_.Add(id, CommandStates::kMenu);
  for (UINT id :
       {ID_VIEW_ALWAYS_ON_TOP, ID_EDIT_COLUMN_MODE, ID_VIEW_GB, ID_VIEW_BIG5, ID_EDIT_COPY, ID_EDIT_SELECT_ALL})
    commandStates_.Add(id, CommandStates::kMenu | CommandStates::kToolbar);
  for (UINT id : {ID_FILE_PROPERTIES, ID_FILE_EXPORT_IMAGE, ID_VIEW_MODERN_RENDERING})
    commandStates_.Add(id, CommandStates::kMenu);
  commandStates_.SetToolbar(toolbar_);
  commandStates_.SetCheck(ID_VIEW_TOOLBAR, true);
  commandStates_.SetCheck(ID_VIEW_STATUS_BAR, true);

  commandStates_.SetCheck(ID_EDIT_COLUMN_MODE, settings.ColumnMode != 0);
  commandStates_.SetCheck(ID_VIEW_GB, settings.DecodeMode == 1);
  commandStates_.SetCheck(ID_VIEW_BIG5, settings.DecodeMode == 2);
  commandStates_.SetCheck(ID_VIEW_ALWAYS_ON_TOP, settings.AlwaysOnTop != 0);
  commandStates_.SetCheck(ID_VIEW_MODERN_RENDERING, settings.ModernRendering != 0);
  if (settings.AlwaysOnTop) SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  DragAcceptFiles(hwnd(), TRUE);
  // Another program may hold the combination; the feature is then absent.
  RegisterHotKey(hwnd(), kHotKeyId, MOD_ALT | MOD_CONTROL, 'V');
  if (MessageLoop* loop = CurrentMessageLoop()) {
    loop->AddMessageFilter(this);
    loop->AddIdleHandler(this);
  }
  // At start-up the list is only registered again; nothing is unregistered.
  if (settings.RegisterOnStart) RegisterFileTypes(settings.FileTypes, std::nullopt);
  return 0;
}

HWND MainFrame::CreateRebar() {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | RBS_VARHEIGHT | RBS_BANDBORDERS |
                      RBS_AUTOSIZE | CCS_NODIVIDER;
  HWND rebar = CreateWindowExA(0, REBARCLASSNAMEA, nullptr, style, 0, 0, 0, 0, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDW_REBAR)), ProgramModule(), nullptr);
  if (!rebar) return nullptr;
  REBARINFO info{};
  info.cbSize = sizeof info;
  SendMessageA(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
  return rebar;
}

void MainFrame::AddBand(HWND child, UINT bandId, SIZE size, bool newRow) {
  if (!child) return;
  REBARBANDINFOA band{};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_ID | RBBIM_SIZE | RBBIM_IDEALSIZE;
  band.fStyle = RBBS_CHILDEDGE | (newRow ? RBBS_BREAK : 0);
  band.hwndChild = child;
  band.cxMinChild = size.cx;
  band.cyMinChild = size.cy;
  band.cx = size.cx;
  band.cxIdeal = size.cx;
  band.wID = bandId;
  SendMessageA(rebar_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
}

void MainFrame::UpdateLayout(bool resizeBars) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  if (resizeBars) laidOutClient_ = {client.right, client.bottom};
  if (rebar_ && Shown(rebar_)) {
    if (resizeBars) SendMessageA(rebar_, WM_SIZE, 0, 0);
    RECT bar{};
    GetWindowRect(rebar_, &bar);
    client.top += bar.bottom - bar.top;
  }
  HWND status = statusBar_.hwnd();
  if (status && Shown(status)) {
    if (resizeBars) SendMessageA(status, WM_SIZE, 0, 0);
    RECT bar{};
    GetWindowRect(status, &bar);
    client.bottom -= bar.bottom - bar.top;
  }
  if (view_.hwnd()) {
    SetWindowPos(view_.hwnd(), nullptr, client.left, client.top, std::max(0L, client.right - client.left),
                 std::max(0L, client.bottom - client.top), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  }
}

void MainFrame::OnSize(UINT kind) {
  if (kind == SIZE_MINIMIZED) return;
  // The first show reports the size the hidden window was laid out for;
  // laying the bars out again for it would only redraw them.
  RECT client{};
  GetClientRect(hwnd(), &client);
  if (client.right == laidOutClient_.cx && client.bottom == laidOutClient_.cy) return;
  UpdateLayout(true);
}

LRESULT MainFrame::OnNotify(NMHDR& header) {
  switch (header.code) {
    case TTN_GETDISPINFOA: {
      auto& info = reinterpret_cast<NMTTDISPINFOA&>(header);
      if (info.uFlags & TTF_IDISHWND) return 0;
      const std::string tip = TooltipFromCommandString(LoadResourceString(static_cast<UINT>(header.idFrom)));
      lstrcpynA(info.szText, tip.c_str(), sizeof info.szText);
      info.lpszText = info.szText;
      info.hinst = nullptr;
      return 0;
    }
    case TTN_GETDISPINFOW: {
      auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
      if (info.uFlags & TTF_IDISHWND) return 0;
      const std::string tip = TooltipFromCommandString(LoadResourceString(static_cast<UINT>(header.idFrom)));
      const int length = MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, info.szText, 80);
      if (length == 0) info.szText[0] = L'\0';
      info.lpszText = info.szText;
      info.hinst = nullptr;
      return 0;
    }
    case RBN_AUTOSIZE:
      UpdateLayout(false);
      return 0;
    default:
      return 0;
  }
}

void MainFrame::OnClose() {
  SaveLayout();
}

void MainFrame::OnDestroy() {
  DragAcceptFiles(hwnd(), FALSE);
  UnregisterHotKey(hwnd(), kHotKeyId);
  if (MessageLoop* loop = CurrentMessageLoop()) {
    loop->RemoveMessageFilter(this);
    loop->RemoveIdleHandler(this);
  }
  PostQuitMessage(1);
}

bool MainFrame::PreTranslateMessage(MSG& message) {
  // The Find dialog's own keys first: Esc there closes the dialog, not the program.
  if (find_.PreTranslateMessage(message)) return true;
  if (accelerators_ && hwnd() && TranslateAcceleratorA(hwnd(), accelerators_, &message)) return true;
  // The menu keys: the window has no menu of its own, so the command bar
  // answers Alt+letter and F10 before the system looks for a menu bar.
  if (message.message == WM_SYSCHAR && commandBar_.OnKeyMenu(static_cast<int>(message.wParam))) return true;
  if (message.message == WM_SYSKEYDOWN && message.wParam == VK_F10 && GetKeyState(VK_SHIFT) >= 0 &&
      commandBar_.OnKeyMenu(0))
    return true;
  view_.PreTranslateMessage(message);
  return false;
}

bool MainFrame::OnIdle(int) {
  return UpdateCommandStates();
}

bool MainFrame::UpdateCommandStates() {
  const bool hasLines = view_.document().LineCount() > 0;
  commandStates_.Enable(ID_EDIT_COPY, hasLines && view_.HasSelection());
  commandStates_.Enable(ID_EDIT_SELECT_ALL, hasLines);
  commandStates_.Enable(ID_FILE_PROPERTIES, !documentPath_.empty());
  commandStates_.Enable(ID_FILE_EXPORT_IMAGE, hasLines && view_.document().width > 0);
  commandStates_.UpdateToolbar();
  return false;
}

void MainFrame::OnCommand(UINT id) {
  if (id >= ID_FILE_MRU_BASE && id <= ID_FILE_MRU_LAST) {
    OnRecentFile(id);
    return;
  }
  Settings& settings = TheSettings();
  switch (id) {
    case ID_FILE_OPEN:
      OnFileOpen();
      break;
    case ID_FILE_SETTINGS:
      OnSettings();
      break;
    case ID_APP_EXIT:
      PostMessageA(hwnd(), WM_CLOSE, 0, 0);
      break;
    case ID_EDIT_COPY:
      view_.CopySelection();
      break;
    case ID_EDIT_SELECT_ALL:
      view_.SelectAll();
      break;
    case ID_EDIT_COLUMN_MODE:
      settings.ColumnMode = settings.ColumnMode ? 0 : 1;
      commandStates_.SetCheck(ID_EDIT_COLUMN_MODE, settings.ColumnMode != 0);
      break;
    case ID_VIEW_TOOLBAR:
      toolBarVisible = toolBarVisible ? 0 : 1;
      ShowToolBar(toolBarVisible != 0);
      break;
    case ID_VIEW_STATUS_BAR:
      statusBarVisible = statusBar_.hwnd() && IsWindowVisible(statusBar_.hwnd()) ? 0 : 1;
      ShowStatusBar(statusBarVisible != 0);
      break;
    case ID_VIEW_GB:
      ToggleDecodeMode(1);
      break;
    case ID_VIEW_BIG5:
      ToggleDecodeMode(2);
      break;
    case ID_VIEW_ALWAYS_ON_TOP:
      ToggleAlwaysOnTop();
      break;
    case ID_APP_ABOUT:
      ShowAbout();
      break;
    case ID_MRU_CLEAR:
      RemoveRecentFilesMenu(true);
      break;
    case ID_EDIT_FIND:
      find_.ShowDialog(hwnd());
      break;
    case ID_EDIT_FIND_NEXT:
      find_.FindNext(hwnd());
      break;
    case ID_VIEW_ZOOM_IN:
      ZoomTo(Zoom::kIn);
      break;
    case ID_VIEW_ZOOM_OUT:
      ZoomTo(Zoom::kOut);
      break;
    case ID_VIEW_ZOOM_RESET:
      ZoomTo(Zoom::kReset);
      break;
    case ID_VIEW_MODERN_RENDERING:
      ToggleModernRendering();
      break;
    case ID_FILE_PROPERTIES:
      // Accelerators reach disabled commands too.
      if (!documentPath_.empty()) ShowPropertiesDialog(GetActiveWindow(), view_.document(), documentPath_);
      break;
    case ID_FILE_EXPORT_IMAGE:
      if (!documentPath_.empty()) ExportImage();
      break;
    default:
      break;
  }
}

void MainFrame::ExportImage() {
  // The Save dialog and the progress of a long export run message loops of
  // their own, which would open a handed-over file at once: the export would
  // then draw a document other than the one it planned. Opens wait instead.
  exporting_ = true;
  ExportAsImage(GetActiveWindow(), view_, documentPath_);
  exporting_ = false;
  // The window may have been closed meanwhile; then nothing is opened.
  if (!hwnd()) return;
  for (std::size_t i = 0; i < handedOver_.size(); ++i) PostMessageA(hwnd(), kOpenHandedOverMessage, 0, 0);
}

void MainFrame::ToggleDecodeMode(std::int32_t mode) {
  Settings& settings = TheSettings();
  settings.DecodeMode = settings.DecodeMode == mode ? 0 : mode;
  commandStates_.SetCheck(ID_VIEW_GB, settings.DecodeMode == 1);
  commandStates_.SetCheck(ID_VIEW_BIG5, settings.DecodeMode == 2);
  settings.CreateChineseFont();
  if (view_.hwnd()) InvalidateRect(view_.hwnd(), nullptr, TRUE);
  // UTF-8 text became bytes of the code page the font showed.
  if (view_.document().modern && (view_.document().features & kUtf8Text)) ReloadDocument();
}

void MainFrame::ToggleModernRendering() {
  Settings& settings = TheSettings();
  settings.ModernRendering = settings.ModernRendering ? 0 : 1;
  commandStates_.SetCheck(ID_VIEW_MODERN_RENDERING, settings.ModernRendering != 0);
  ReloadDocument();
}

// The file shown read again, in place: a change of how files are read shows
// at once, from the same scroll position as far as the new document allows.
void MainFrame::ReloadDocument() {
  if (documentPath_.empty()) return;
  // An export draws the document it planned; the file opens again after it.
  if (exporting_) {
    QueueOpen({HandOver::Kind::kOpen, documentPath_});
    return;
  }
  if (!view_.ReloadKeepingOffset(documentPath_)) return;
  find_.ClearNotice();
  ShowDocumentPanes();
}

void MainFrame::ToggleAlwaysOnTop() {
  Settings& settings = TheSettings();
  settings.AlwaysOnTop = settings.AlwaysOnTop ? 0 : 1;
  ApplyAlwaysOnTop();
}

void MainFrame::ApplyAlwaysOnTop() {
  const bool onTop = TheSettings().AlwaysOnTop != 0;
  commandStates_.SetCheck(ID_VIEW_ALWAYS_ON_TOP, onTop);
  SetWindowPos(hwnd(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void MainFrame::OnSettings() {
  Settings& settings = TheSettings();
  SettingsSheet sheet(settings, languagePack);
  if (!sheet.Run(GetActiveWindow())) return;  // nothing changes, nothing is written
  sheet.CopyBack(settings);

  if (settings.SaveMruFiles) {
    UpdateRecentFiles(nullptr, false, false);
  } else {
    RemoveRecentFilesMenu(false);  // the stored list stays for when it is switched on again
  }
  // Every OK registers again; extensions the page dropped are unregistered.
  RegisterFileTypes(sheet.values.FileTypes, settings.FileTypes);
  settings.FileTypes = sheet.values.FileTypes;
  ErrorCode error = 0;
  bool saved = settings.SaveReporting(error);

  settings.CreateFonts();
  view_.UpdateLayoutKeepingOffset();
  commandStates_.SetCheck(ID_EDIT_COLUMN_MODE, settings.ColumnMode != 0);
  ApplyAlwaysOnTop();

  // A choice that could not be stored stays unmade: the dialog then offers
  // it again, and a restart would not bring it anyway.
  const bool languageChanged = sheet.general.language != languagePack;
  if (languageChanged && saved) saved = settings.WriteReporting("LangDll", sheet.general.language, error);
  if (languageChanged && saved) languagePack = sheet.general.language;
  // One message for the whole OK; the new settings apply until the program
  // ends either way.
  if (!saved) {
    ShowSaveFailure(error);
  } else if (languageChanged) {
    MessageBoxA(hwnd(), LoadResourceString(IDS_RESTART_NOTICE).c_str(), LoadResourceString(IDS_APP_NAME).c_str(),
                MB_ICONINFORMATION | MB_OK);
  }
}

void MainFrame::ShowSaveFailure(ErrorCode error) {
  // "%1" in the text is the INI file, "%2" the system's reason (ending with a
  // line break).
  const std::string iniPath = TheSettings().iniPath.empty() ? kIniFileName : TheSettings().iniPath;
  const std::string text =
      FillInserts(LoadResourceString(IDS_SETTINGS_NOT_SAVED, 1024), {iniPath, SystemErrorText(error)});
  MessageBoxA(hwnd(), text.c_str(), nullptr, MB_ICONERROR | MB_OK);
}

void MainFrame::ShowAbout() {
  ShowAboutBox(GetActiveWindow());
}

// Zooming is a FontSize change made from the keyboard or the wheel, with the
// same effect as one made in the settings: new fonts, a new layout with the
// top-left cell kept. It is saved at exit with the other settings.
void MainFrame::ZoomTo(Zoom zoom) {
  Settings& settings = TheSettings();
  const std::int32_t fontSize = ZoomedFontSize(settings.FontSize, zoom);
  if (fontSize == settings.FontSize) return;
  settings.FontSize = fontSize;
  settings.CreateFonts();
  view_.RelayoutKeepingTopLeftCell();
}

// The paths of the Open dialog, drops and hand-overs are wide: the narrow
// functions would turn a name outside the ANSI code page into question marks.
void MainFrame::OnFileOpen() {
  // The filter holds NULs between its parts; each converts as it stands.
  const std::wstring filter = WideFromAnsi(BuildOpenFilter(TheSettings().FileTypes));
  wchar_t path[MAX_PATH] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.hInstance = ResourceModule();
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK;
  dialog.lpfnHook = &OpenDialogHook;
  if (GetOpenFileNameW(&dialog)) OpenFile(Utf8(path));
}

void MainFrame::OnDropFiles(HDROP drop) {
  wchar_t path[MAX_PATH] = {};
  const UINT length = DragQueryFileW(drop, 0, path, MAX_PATH);
  DragFinish(drop);
  if (length == 0) return;
  if (exporting_) {
    QueueOpen({HandOver::Kind::kOpen, Utf8(path)});
  } else {
    OpenFile(Utf8(path));
  }
}

LRESULT MainFrame::OnCopyData(const COPYDATASTRUCT* data) {
  if (!data) return 0;
  const bool wide = data->dwData == kWideHandOver;
  // An empty wide record asks whether this window takes wide records.
  if (wide && data->cbData == 0) return kWideHandOverTaken;
  const auto byteCount = static_cast<std::uint32_t>(data->cbData);
  HandOver handOver = wide ? DecodeWideHandOver(data->lpData, byteCount) : DecodeHandOver(data->lpData, byteCount);
  // The sender waits in SendMessageA until this returns, so the file is
  // opened later, from the queue: an error box must not hold the other
  // process until someone closes it, and a hand-over that arrives while a
  // file is being opened must not open its file in the middle of that.
  if (handOver.kind != HandOver::Kind::kNothing) QueueOpen(std::move(handOver));
  return 0;
}

void MainFrame::QueueOpen(HandOver handOver) {
  handedOver_.push_back(std::move(handOver));
  PostMessageA(hwnd(), kOpenHandedOverMessage, 0, 0);
}

void MainFrame::OpenHandedOver() {
  // An export in progress draws the document it started with; the queue
  // waits for it (ExportImage posts again when it ends).
  if (exporting_ || handedOver_.empty()) return;
  const HandOver handOver = std::move(handedOver_.front());
  handedOver_.pop_front();
  if (handOver.kind == HandOver::Kind::kOpen) OpenFile(handOver.path);
  if (handOver.kind == HandOver::Kind::kTooLong) view_.ShowFileError(FileNameTooLongError());
}

void MainFrame::OnContextMenu(HWND, int x, int y) {
  MenuHandle menu(LoadMenuA(ResourceModule(), MAKEINTRESOURCEA(IDR_CONTEXT_MENU)));
  if (!menu) return;
  commandBar_.TrackPopupMenu(GetSubMenu(menu.get(), 0), TPM_RIGHTBUTTON | TPM_VERTICAL, x, y);
}

bool MainFrame::OnKeyMenu(WPARAM command, LPARAM key) {
  if ((command & 0xFFF0) != SC_KEYMENU) return false;
  // Alt+Space is the system menu's own key.
  if (key == ' ') return false;
  return commandBar_.OnKeyMenu(static_cast<int>(key));
}

void MainFrame::OnMenuSelect(UINT itemId, UINT flags, HMENU menu) {
  if (!statusBar_.hwnd()) return;
  if (flags == 0xFFFF && !menu) {
    statusBar_.SetSimple(false);
    return;
  }
  std::string text;
  if (!(flags & MF_POPUP)) text = PromptFromCommandString(LoadResourceString(MenuPromptStringId(itemId)));
  statusBar_.SetSimple(true);
  statusBar_.SetSimpleText(text);
}

bool MainFrame::OpenFile(const std::string& path) {
  if (!view_.LoadFile(path)) {
    UpdateRecentFiles(&path, false, true);
    return false;
  }
  // Kept whole: Properties shows it, and Export proposes its folder even
  // after a dialog moved the current folder away from a relative path's base.
  wchar_t fullPath[MAX_PATH] = {};
  const DWORD fullLength = GetFullPathNameW(Wide(path).c_str(), MAX_PATH, fullPath, nullptr);
  documentPath_ = fullLength > 0 && fullLength < MAX_PATH ? Utf8(fullPath) : path;
  find_.ClearNotice();
  SetTitle(path);
  view_.UpdateLayout();
  SetFocus(view_.hwnd());
  ShowDocumentPanes();
  UpdateRecentFiles(&path, true, true);
  return true;
}

// The file's time and size; and, once after a load by the classic rules of a
// file that holds what Modern Rendering shows differently, a note saying so
// in the first pane.
void MainFrame::ShowDocumentPanes() {
  const TextDocument& document = view_.document();
  statusBar_.SetPaneText(ID_PANE_MODIFY_TIME, ModifyTimeText(LoadResourceString(IDS_MODIFY_TIME), document.fileTime));
  statusBar_.SetPaneText(ID_PANE_FILE_SIZE, FileSizeText(LoadResourceString(IDS_FILE_SIZE), document.fileSize));
  const std::uint32_t hint = document.modern ? 0 : ModernHintStringId(document.features);
  if (hint != 0) {
    statusBar_.SetPaneText(ID_PANE_DEFAULT, LoadResourceString(hint));
  } else if (hintShown_) {
    statusBar_.SetPaneText(ID_PANE_DEFAULT, LoadResourceString(IDS_READY));
  }
  hintShown_ = hint != 0;
}

void MainFrame::SetTitle(const std::string& path) {
  // The frame is a narrow window: SetWindowTextW would reach it, and the
  // default handling that stores the text, converted to the ANSI code page.
  // The wide default handling stores the wide text as it is.
  const std::wstring title = Wide(TitleText(AnsiToUtf8(LoadResourceString(IDS_APP_NAME)), path));
  DefWindowProcW(hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
}

void MainFrame::SetPaneWidths(const std::vector<int>& widths) {
  statusBar_.SetPaneWidths(widths);
}

HMENU MainFrame::FilePopup() const {
  return commandBar_.menu() ? GetSubMenu(commandBar_.menu(), 0) : nullptr;
}

void MainFrame::UpdateRecentFiles(const std::string* path, bool opened, bool rewrite) {
  Settings& settings = TheSettings();
  if (!settings.SaveMruFiles) return;
  // Read, changed and written back in one go: another copy updating the
  // list meanwhile would lose its entry or ours.
  const IniLock lock;
  IniStore* ini = settings.ini();
  const std::int32_t limit = RecentFilesLimit(settings.MurFileNum);
  recentFiles = ini ? ReadRecentFiles(*ini, limit) : std::vector<std::string>{};
  RemoveRecentFilesMenu(rewrite && !path);
  if (path) {
    ApplyRecentFile(recentFiles, *path, opened, limit);
    if (ini) StoreRecentFiles(*ini, recentFiles);
  }
  recentMenuCount = static_cast<std::int32_t>(recentFiles.size());
  HMENU popup = FilePopup();
  if (recentFiles.empty() || !popup) return;
  MENUITEMINFOA separator{};
  separator.cbSize = sizeof separator;
  separator.fMask = MIIM_FTYPE;
  separator.fType = MFT_SEPARATOR;
  InsertMenuItemA(popup, 1, TRUE, &separator);
  const UINT n = static_cast<UINT>(recentFiles.size());
  for (UINT k = 1; k <= n; ++k) {
    const std::wstring text = Wide(RecentFileMenuText(static_cast<std::int32_t>(k), recentFiles[k - 1]));
    InsertMenuW(popup, k + 1, MF_BYPOSITION | MF_STRING, ID_FILE_MRU_BASE + k, text.c_str());
  }
  InsertMenuItemA(popup, n + 2, TRUE, &separator);
  InsertMenuA(popup, n + 3, MF_BYPOSITION | MF_STRING, ID_MRU_CLEAR, LoadResourceString(IDS_MRU_CLEAR_TEXT).c_str());
}

void MainFrame::RemoveRecentFilesMenu(bool clear) {
  if (recentMenuCount > 0) {
    if (HMENU popup = FilePopup()) {
      for (int position = recentMenuCount + 3; position >= 1; --position) RemoveMenu(popup, position, MF_BYPOSITION);
    }
    recentMenuCount = 0;
  }
  if (clear) {
    if (IniStore* ini = TheSettings().ini()) ini->ClearSection(kRecentFilesSection);
  }
}

void MainFrame::OnRecentFile(UINT id) {
  if (id < ID_FILE_MRU_FIRST) return;
  const std::size_t index = id - ID_FILE_MRU_FIRST;
  if (index >= recentFiles.size()) return;
  const std::string path = recentFiles[index];  // the update rebuilds the list
  OpenFile(path);
}

void MainFrame::SaveLayout() {
  IniStore* ini = TheSettings().ini();
  if (!ini) return;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(hwnd(), &placement);
  WindowPos pos;
  pos.flags = placement.flags;
  pos.showCommand = placement.showCmd;
  pos.minX = placement.ptMinPosition.x;
  pos.minY = placement.ptMinPosition.y;
  pos.maxX = placement.ptMaxPosition.x;
  pos.maxY = placement.ptMaxPosition.y;
  pos.left = placement.rcNormalPosition.left;
  pos.top = placement.rcNormalPosition.top;
  pos.right = placement.rcNormalPosition.right;
  pos.bottom = placement.rcNormalPosition.bottom;
  ini->WriteString(kSettingsSection, "WindowPos", FormatWindowPos(pos));
  ini->WriteString(kSettingsSection, "ToolBarVisible", toolBarVisible ? "1" : "0");
  ini->WriteString(kSettingsSection, "StatusBarVisible", statusBarVisible ? "1" : "0");
  const long count = rebar_ ? static_cast<long>(SendMessageA(rebar_, RB_GETBANDCOUNT, 0, 0)) : 0;
  ini->WriteString(kSettingsSection, "Rebar_BandCount", Format("%ld", count));
  for (long i = 0; i < count; ++i) {
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
    SendMessageA(rebar_, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
    const std::string prefix = Format("Rebar%ld_", i);
    ini->WriteString(kSettingsSection, prefix + "ID", Format("%ld", static_cast<long>(band.wID)));
    ini->WriteString(kSettingsSection, prefix + "CX", Format("%ld", static_cast<long>(band.cx)));
    ini->WriteString(kSettingsSection, prefix + "BreakLine", Format("%ld", (band.fStyle & RBBS_BREAK) ? 1L : 0L));
  }
}

void MainFrame::RestoreLayout() {
  IniStore* ini = TheSettings().ini();
  std::optional<WindowPos> pos;
  if (ini) pos = ParseWindowPos(ini->GetString(kSettingsSection, "WindowPos", "", 1024));
  WINDOWPLACEMENT placement{};
  if (pos) {
    placement.length = sizeof placement;
    placement.flags = pos->flags;
    placement.ptMinPosition = {pos->minX, pos->minY};
    placement.ptMaxPosition = {pos->maxX, pos->maxY};
    placement.rcNormalPosition = {pos->left, pos->top, pos->right, pos->bottom};
    // Sized while still hidden: the bars and the view are laid out for the
    // final size before anything is drawn, so the window comes up once,
    // complete, instead of being laid out and painted again at every step.
    placement.showCmd = SW_HIDE;
    SetWindowPlacement(hwnd(), &placement);
  }
  toolBarVisible = ini ? ini->GetInt(kSettingsSection, "ToolBarVisible", 1) : 1;
  statusBarVisible = ini ? ini->GetInt(kSettingsSection, "StatusBarVisible", 1) : 1;
  long count = ini ? ini->GetInt(kSettingsSection, "Rebar_BandCount", 0) : 0;
  // The bars were made visible; each change lays the window out again, so
  // only a bar the settings hide is touched.
  if (!toolBarVisible) ShowToolBar(false);
  if (!statusBarVisible) ShowStatusBar(false);
  // Only bands that exist can be placed; a hand-edited count is bounded.
  const long bands = rebar_ ? static_cast<long>(SendMessageA(rebar_, RB_GETBANDCOUNT, 0, 0)) : 0;
  count = std::clamp(count, 0L, bands);
  for (long i = 0; i < count; ++i) {
    const std::string prefix = Format("Rebar%ld_", i);
    const std::int32_t id = ini->GetInt(kSettingsSection, prefix + "ID", 0);
    const std::int32_t cx = ini->GetInt(kSettingsSection, prefix + "CX", 0);
    const std::int32_t breakLine = ini->GetInt(kSettingsSection, prefix + "BreakLine", 0);
    const LRESULT index = SendMessageA(rebar_, RB_IDTOINDEX, static_cast<WPARAM>(id), 0);
    if (index >= 0 && index != i) SendMessageA(rebar_, RB_MOVEBAND, static_cast<WPARAM>(index), i);
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
    SendMessageA(rebar_, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
    const UINT style = breakLine ? (band.fStyle | RBBS_BREAK) : (band.fStyle & ~RBBS_BREAK);
    // Setting a band lays the bar out again even when nothing changes.
    if (band.cx == static_cast<UINT>(cx) && band.fStyle == style) continue;
    band.cx = static_cast<UINT>(cx);
    band.fStyle = style;
    SendMessageA(rebar_, RB_SETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
  }
  view_.UpdateLayout();
  view_.PaintTextOnFirstShow();
  if (pos) {
    placement.showCmd = RestoredShowCommand(*pos);
    SetWindowPlacement(hwnd(), &placement);
  } else {
    ShowWindow(hwnd(), SW_SHOWDEFAULT);
  }
  // The text first: the bars paint in the loop right after.
  if (view_.hwnd()) UpdateWindow(view_.hwnd());
  // And on the screen at once: drawing may be held back until the thread
  // next waits for messages, which is after the bars have painted too.
  GdiFlush();
}

void MainFrame::ShowToolBar(bool visible) {
  if (rebar_) {
    const LRESULT index = SendMessageA(rebar_, RB_IDTOINDEX, ID_BAND_TOOLBAR, 0);
    SendMessageA(rebar_, RB_SHOWBAND, static_cast<WPARAM>(index), visible ? TRUE : FALSE);
  }
  commandStates_.SetCheck(ID_VIEW_TOOLBAR, visible);
  UpdateLayout(true);
}

void MainFrame::ShowStatusBar(bool visible) {
  if (statusBar_.hwnd()) ShowWindow(statusBar_.hwnd(), visible ? SW_SHOWNOACTIVATE : SW_HIDE);
  commandStates_.SetCheck(ID_VIEW_STATUS_BAR, visible);
  UpdateLayout(true);
}

}  // namespace mosaikon
