// Resource ids of the launcher, grouped by the window that uses them. Shared
// by the resource script and the C++ sources; plain #defines, so windres
// reads it too.
#pragma once

// ---- String table (Simplified Chinese). 106 has no entry on purpose: the
// first-start notice it would name is never requested.
#define IDS_GAME_TITLE          102  // "Quellmoor"
#define IDS_PORTAL_NAME         105  // "vexo", Start-menu folder
#define IDS_FIRST_START_NOTICE  106  // no entry: loads as an empty text
#define IDS_LAUNCHER_TITLE      107  // "Quellmoor登录器"
#define IDS_UNINSTALL_LINK      109  // "卸载-Quellmoor"
#define IDS_LAUNCHER_PAGE       114  // login form start page
#define IDS_CACHE_CLEANING      116  // text of the mask while the cache is cleared
#define IDS_GAME_CODE           117  // "qlmr"
#define IDS_UPDATE_TEMP_NAME    118  // "\kelqlmrtmp.exe"
#define IDS_UPDATE_TARGET_ROOT  119  // "\ dunwel\" (the blank is part of the name)
#define IDS_TEMP_UNINSTALLER    120  // "\cache\kelqlmrtmpu.exe"
#define IDS_DATA_ROOT           124  // "vexo", first level of the data folder
#define IDS_PUBLISHER           125  // "vexo", desktop shortcut and uninstall entry
#define IDS_CHECK_BASE          191  // base of the version-check address
#define IDS_CHECK_QUERY         192  // "getClientVersion.php?p=vexo&g=qlmr&v="
#define IDS_SETTINGS_FILE       197  // "res//systemset.ini"

// ---- Frame window (dialog 101)
#define IDD_FRAME               101
#define IDC_FRAME_CLOSE         1001
#define IDC_FRAME_RESTORE       1002
#define IDC_FRAME_MINIMIZE      1003
#define IDC_FRAME_FULLSCREEN    1004
#define IDC_FRAME_BOSSKEY       1005
#define IDC_FRAME_SELECTSERVER  1007
#define IDC_FRAME_MAXIMIZE      1008
#define IDC_FRAME_REFRESH       1021
#define IDC_FRAME_CLEARCACHE    1030
#define IDA_FRAME               303    // accelerator table: F5
#define ID_FRAME_F5             32778
#define IDI_FRAME               180    // large window icon
#define IDB_TITLE_MIDDLE        172
#define IDB_TITLE_LEFT          203
#define IDB_TITLE_RIGHT         206
#define IDB_CLOSE_NORMAL        207
#define IDB_CLOSE_HOVER         208
#define IDB_CLOSE_PRESSED       227
#define IDB_MAXIMIZE_NORMAL     220
#define IDB_MAXIMIZE_HOVER      213
#define IDB_MAXIMIZE_PRESSED    228
#define IDB_RESTORE_NORMAL      221
#define IDB_RESTORE_HOVER       217
#define IDB_RESTORE_PRESSED     229
#define IDB_MINIMIZE_NORMAL     209
#define IDB_MINIMIZE_HOVER      210
#define IDB_MINIMIZE_PRESSED    230
#define IDB_SERVER_NORMAL       211
#define IDB_SERVER_HOVER        212
#define IDB_SERVER_PRESSED      231
#define IDB_BOSSKEY_NORMAL      223
#define IDB_BOSSKEY_HOVER       215
#define IDB_BOSSKEY_PRESSED     233
#define IDB_FULLSCREEN_NORMAL   224
#define IDB_FULLSCREEN_HOVER    214
#define IDB_FULLSCREEN_PRESSED  234
#define IDB_REFRESH_NORMAL      226
#define IDB_REFRESH_HOVER       219
#define IDB_REFRESH_PRESSED     236
#define IDB_CLEARCACHE_NORMAL   252
#define IDB_CLEARCACHE_HOVER    253
#define IDB_CLEARCACHE_PRESSED  261

// ---- Tray icon and its menu
#define IDI_TRAY                273
#define IDI_SPARE               283    // carried, never loaded
#define IDR_TRAY_MENU           151
#define ID_TRAY_TOGGLE          32775
#define ID_TRAY_CLEARCACHE      32776
#define ID_TRAY_EXIT            32777

// ---- Confirmation box (dialog 164)
#define IDD_MESSAGEBOX          164
#define IDC_MSGBOX_CLOSE        1001
#define IDB_MSGBOX_BACKGROUND   304
#define IDB_MSGBOX_OK_NORMAL    314
#define IDB_MSGBOX_OK_HOVER     313
#define IDB_MSGBOX_CANCEL_NORMAL 312
#define IDB_MSGBOX_CANCEL_HOVER 311
#define IDB_MSGBOX_CLOSE        316

// ---- Mask overlay (dialog 274)
#define IDD_MASK                274
#define IDB_MASK_BACKGROUND     275
#define IDB_MASK_SPINNER_1      276
#define IDB_MASK_SPINNER_2      277
#define IDB_MASK_SPINNER_3      278
#define IDB_MASK_SPINNER_4      279

// ---- Login window (dialog 103) and login popup (dialog 1015)
#define IDD_LOGIN               103
#define IDB_LOGIN_SKIN          319
#define IDD_LOGIN_POPUP         1015
#define IDC_POPUP_MINIMIZE      1016
#define IDC_POPUP_CLOSE         1027
#define IDB_POPUP_MINIMIZE_NORMAL  320
#define IDB_POPUP_MINIMIZE_HOVER   321
#define IDB_POPUP_MINIMIZE_PRESSED 322
#define IDB_POPUP_CLOSE_NORMAL     323
#define IDB_POPUP_CLOSE_HOVER      324
#define IDB_POPUP_CLOSE_PRESSED    325
#define IDB_POPUP_BACKGROUND    318    // bitmap, pure green = transparent

// ---- Game host window (dialog 328)
#define IDD_GAME_HOST           328
#define IDC_GAME_VIEW           10000

// ---- Default data: the ZIP archive unpacked into the resource folder
#define IDR_DEFAULT_DATA        269
