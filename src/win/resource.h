// Resource numbers of the Windows program that the core's tables do not
// name: pictures, templates and the window's own controls. #define lines
// only, for the resource compiler.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 146
#define IDD_COMMAND_BAR 103
#define IDD_RESULT_WRITE 142
#define IDD_USER_INFO 140
#define IDD_SELECT_FILES 141
#define IDD_ADD_PROGRAM 135
#define IDD_PRINT_SELECT 145
#define IDD_ORG_INFO 100
#define IDC_LINK_CURSOR 213

#define IDB_START_UP 162
#define IDB_CONSOLIDATE_UP 163
#define IDB_PRINT_UP 166
#define IDB_WRITE_UP 184
#define IDB_STOP_UP 189
#define IDB_CONSOLIDATE_DISABLED 190
#define IDB_WRITE_DISABLED 191
#define IDB_PRINT_DISABLED 194
#define IDB_TILE 195
#define IDB_STOP_DISABLED 196
#define IDB_START_DISABLED 197
#define IDB_STOP_PRESSED 198
#define IDB_START_PRESSED 199
#define IDB_WRITE_PRESSED 200
#define IDB_CONSOLIDATE_PRESSED 203
#define IDB_LOGO_A 204
#define IDB_PRINT_PRESSED 206
#define IDB_LOGO_B 211

// The main window's own children.
#define IDW_REBAR 0xE81C
#define IDW_STATUS_BAR 0xE801
#define IDW_PANE_FIRST 0xE900
#define IDW_PROGRESS 1
