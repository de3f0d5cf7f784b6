// Identifiers of every resource, command, control and string of the program.
// Plain #defines so that the resource scripts (the program's own and every
// language pack) and the C++ code share one list; no types. The settings
// subsystem keeps the ids of its own resources beside its code.
#pragma once

#include "settings/settings_resource_ids.h"

// Menus, accelerators, toolbar, bitmap, icon: the main frame's set.
#define IDR_MAIN_FRAME 101
#define IDR_CONTEXT_MENU 115
#define IDI_PROGRAM 101
#define IDB_TOOLBAR 101

// Dialogs: the About box.
#define IDD_ABOUT 100

// Dialogs: the art information (Properties) and its one text box.
#define IDD_PROPERTIES 120
#define IDC_PROPERTIES_TEXT 1201

// Controls of the About box. Its two link lines are windows of this class,
// which the window framework registers before the box is shown.
#define IDC_ABOUT_LINK_HOME 1005
#define IDC_ABOUT_LINK_HELP 1006
#define IDC_ABOUT_STATIC -1
#define MOSAIKON_HYPERLINK_CLASS "MosaikonHyperLink"

// The program's own commands.
#define ID_MRU_CLEAR 5000
#define ID_EDIT_COLUMN_MODE 5002
#define ID_EDIT_SELECT_ALL 5003
#define ID_FILE_SETTINGS 5004
#define ID_VIEW_ALWAYS_ON_TOP 5005
#define ID_VIEW_GB 5008
#define ID_VIEW_BIG5 5009
#define ID_EDIT_FIND 5010
#define ID_EDIT_FIND_NEXT 5011
#define ID_VIEW_ZOOM_IN 5012
#define ID_VIEW_ZOOM_OUT 5013
#define ID_VIEW_ZOOM_RESET 5014
#define ID_FILE_PROPERTIES 5015
#define ID_FILE_EXPORT_IMAGE 5016
#define ID_VIEW_MODERN_RENDERING 5017

// Standard commands, with the values the common frame conventions give them.
#define ID_FILE_OPEN 57601
#define ID_EDIT_COPY 57634
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// Recently viewed entries: 10000 + position, position counted from 1. Ids up
// to ID_FILE_MRU_LAST are routed to the list.
#define ID_FILE_MRU_BASE 10000
#define ID_FILE_MRU_FIRST 10001
#define ID_FILE_MRU_LAST 11000

// Child window ids of the frame. The rebar and the toolbar share one id.
#define IDW_REBAR 59392
#define IDW_TOOLBAR 59392
#define IDW_STATUS_BAR 59393
#define ID_BAND_COMMAND_BAR 60160
#define ID_BAND_TOOLBAR 60161

// Status bar pane ids (pane 0 is the default pane).
#define ID_PANE_DEFAULT 0
#define ID_PANE_MODIFY_TIME 102
#define ID_PANE_FILE_SIZE 103

// Strings.
#define IDS_APP_NAME 101
#define IDS_MODIFY_TIME 102
#define IDS_FILE_SIZE 103
#define IDS_MRU_CLEAR_PROMPT 5000
#define IDS_MRU_CLEAR_TEXT 5001
#define IDS_READY 57345
// Messages of the view: a file too large to open, a selection too large to copy.
#define IDS_FILE_TOO_LARGE 130
#define IDS_SELECTION_TOO_LARGE 131
// Prompts of the system menu commands: (SC_xxx - 0xF000) / 16 + 0xEF00.
#define IDS_SC_SIZE 61184
#define IDS_SC_MOVE 61185
#define IDS_SC_MINIMIZE 61186
#define IDS_SC_MAXIMIZE 61187
#define IDS_SC_RESTORE 61202
#define IDS_SC_TASKLIST 61203
// Prompt of the command range 57616-57631 (0xE110-0xE11F).
#define IDS_OPEN_RECENT_DOCUMENT 61402
// The command prompt strings ("prompt\ntooltip") share their command's id:
// 5002-5005, 5008-5017, 57601, 57634, 57664, 57665, 59392, 59393.
// Find: the status notices of a search that wrapped, and the message when
// nothing is found ("%1" is the text looked for).
#define IDS_FIND_PASSED_END 6000
#define IDS_FIND_PASSED_START 6001
#define IDS_FIND_NOT_FOUND 6002
// Export as Image: the Save dialog's title and filter ("|" between the
// parts), the question when the document is too large for one image ("%1"
// its size, "%2" the part's size) and the error ("%1" the file, "%2" why).
#define IDS_EXPORT_TITLE 6003
#define IDS_EXPORT_FILTER 6004
#define IDS_EXPORT_TOO_LARGE 6005
#define IDS_EXPORT_FAILED 6006
// A click on a link too long to hand to the system: "%1" is its length as
// the system would see it, "%2" the longest it takes; the box asks whether
// to copy the link instead.
#define IDS_LINK_TOO_LONG 6200
// The labels and words of the Properties dialog take 6100-6140 (the
// PropertyText ids of shell/properties_text.h).
// Modern Rendering: the status bar's note after a load by the classic rules
// that the file holds what the modern ones show differently (the first of
// these it holds, in this order).
#define IDS_MODERN_HINT_TRUE_COLOURS 6141
#define IDS_MODERN_HINT_256_COLOURS 6142
#define IDS_MODERN_HINT_BRIGHT_COLOURS 6143
#define IDS_MODERN_HINT_ICE_COLOURS 6144
#define IDS_MODERN_HINT_UTF8 6145
#define IDS_MODERN_HINT_SAUCE_COMMENTS 6146
#define IDS_MODERN_HINT_OSC_STRINGS 6147
// The progress of a long export: its dialog, the line naming the file, the
// bar, and that line's text ("%1" the file's name).
#define IDD_EXPORT_PROGRESS 6300
#define IDC_EXPORT_PROGRESS_TEXT 6301
#define IDC_EXPORT_PROGRESS_BAR 6302
#define IDS_EXPORT_PROGRESS 6303
