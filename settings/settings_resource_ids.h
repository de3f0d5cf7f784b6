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
// Shown once when the Settings dialog's OK could not write the INI file.
#define IDS_SETTINGS_NOT_SAVED 140
// The Add File Type dialog's refusal of a program's type; "%1" is the type.
#define IDS_EXECUTABLE_TYPE 141

// Controls of the Font page.
#define IDC_FONT_SIZE 1001
#define IDC_FORE_COLOR 1002
#define IDC_BACK_COLOR 1003
#define IDC_FONT_PREVIEW 1004
#define IDC_LINK_COLOR 1019

// Controls of the Shell Integration page and the Add File Type dialog.
#define IDC_REMOVE_FILE_TYPE 1007
#define IDC_ADD_FILE_TYPE 1008
#define IDC_FILE_TYPES 1009
#define IDC_REGISTER_ON_START 1010
#define IDC_EXTENSION 1011

// Controls of the General page.
#define IDC_TAB_SIZE 1012
#define IDC_COPY_ON_SELECT 1013
#define IDC_COLUMN_MODE 1014
#define IDC_ALWAYS_ON_TOP 1015
#define IDC_SAVE_MRU_FILES 1016
#define IDC_MUR_FILE_NUM 1017
#define IDC_MUR_FILE_NUM_LABEL 1018
#define IDC_REUSE_VIEWER 1021
#define IDC_SUPPORT_ANSI 1022
#define IDC_LANGUAGE 1023
