// Identifiers of the settings subsystem's resources: the link cursor it
// loads, its dialog templates and its strings. Plain #defines, because the
// resource scripts (the program's own and every language pack) read them
// through resources/resource_ids.h.
#pragma once

#define IDCUR_LINK 104

// The settings pages and the Add File Type dialog.
#define IDD_FONT_PAGE 107
#define IDD_SHELL_PAGE 109
#define IDD_ADD_FILE_TYPE 111
#define IDD_GENERAL_PAGE 112

#define IDS_SETTINGS_CAPTION 106
#define IDS_INVALID_INPUT 108
#define IDS_RESTART_NOTICE 109
#define IDS_FILE_TYPE_EXISTS 110
