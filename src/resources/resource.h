/*
 * Resource identifiers. Each kind of resource has its own range so that an
 * id alone tells what it names and new ids never collide across kinds:
 *
 *   101 - 199   bitmaps and icons
 *   200 - 299   dialog templates
 *  1000 - 1999  dialog controls (Apply, 3, beside the system's IDOK and IDCANCEL)
 *  2000 - 2999  menu commands
 *
 * Plain preprocessor only: windres reads this file too.
 */
#ifndef PATHWICK_RESOURCE_H
#define PATHWICK_RESOURCE_H

/* ---- Bitmaps (101 - 199, shared with icons) ---------------------------- */

/* 16x16, 16 colours. The folder images are XORed over the background after
 * the shared mask has been ANDed in, so they are black wherever the folder
 * is transparent; the mask is black where the folder is opaque. */
#define IDB_FOLDER          101
#define IDB_ROOTFOLDER      102
#define IDB_FOLDERMASK      103

/* The same three at the small-icon sizes of 125%, 150% and 200% (20, 24
 * and 32 pixels square), drawn for each size: the menus take the one of
 * the DPI they open at. */
#define IDB_FOLDER_20       121
#define IDB_FOLDER_24       122
#define IDB_FOLDER_32       123
#define IDB_ROOTFOLDER_20   131
#define IDB_ROOTFOLDER_24   132
#define IDB_ROOTFOLDER_32   133
#define IDB_FOLDERMASK_20   141
#define IDB_FOLDERMASK_24   142
#define IDB_FOLDERMASK_32   143

/* 200x60, 24 bits: the maker's logo in the About box. */
#define IDB_ABOUT           107

/* 16x16, 16 colours: the submenu arrow, a black triangle on white. The menu
 * code blits it with raster operations that rely on it being pure black and
 * white, so the pixels must not change. */
#define IDB_ARROW           108

/* 163x36, 24 bits: the notification area with our icon circled. */
#define IDB_TRAYHELP        109

/* 500x100, 24 bits: the start-up splash picture. */
#define IDB_SPLASH          110

/* The three dialog pictures drawn at 150% and 200%, for the dialogs at
 * those scales. */
#define IDB_ABOUT_150       151
#define IDB_ABOUT_200       152
#define IDB_TRAYHELP_150    153
#define IDB_TRAYHELP_200    154
#define IDB_SPLASH_150      155
#define IDB_SPLASH_200      156

/* ---- Icons (101 - 199, shared with bitmaps) ---------------------------- */

/* The application icon: 16, 20, 24, 32 and 48 pixels, 32 bits with alpha,
 * the small icon of 100% to 200% and the large one of 100% and 150%. */
#define IDI_PATHWICK        104
/* 16x16, 16 colours: shown for .lnk and .url entries in the menus. */
#define IDI_SHORTCUT        105
/* The tray icon and small window icon: the same images as IDI_PATHWICK. */
#define IDI_PATHWICK_SM     106

/* ---- Dialog templates (200 - 299) -------------------------------------- */

#define IDD_EDITROOT        201   /* Edit Folder Menu Items */
#define IDD_OPTIONS         202   /* Options */
#define IDD_ADDEDIT         203   /* Add / edit one menu item */
#define IDD_ABOUT           204   /* About */
#define IDD_TRAYHELP        205   /* Introduction shown at start-up */
/* 206 is unused. */
#define IDD_SPLASH          207   /* Splash screen */

/* ---- Dialog controls (1000 - 1999) ------------------------------------- */

/* Edit Folder Menu Items (201). Apply sits beside IDOK (1) and IDCANCEL
 * (2), the system's own button ids, as dialogs conventionally number it. */
#define IDC_APPLY           3
#define IDC_ROOT_LIST       1000
#define IDC_ADD_ITEM        1006
#define IDC_EDIT_ITEM       1008
#define IDC_MOVE_UP         1019
#define IDC_MOVE_DOWN       1020
#define IDC_DELETE_ITEM     1021

/* Add / edit one menu item (203) */
#define IDC_PATH_EDIT       1001
#define IDC_BROWSE          1002
#define IDC_NAME_EDIT       1004
#define IDC_SORT_ABC        1015
#define IDC_SORT_EXT        1016
#define IDC_ABC_LABEL       1024
#define IDC_EXT_LABEL       1025
#define IDC_ABC_COUNT       1026
#define IDC_EXT_COUNT       1027

/* Options (202) */
#define IDC_RUN_AT_LOGIN    1010
#define IDC_LEFT_FOLDER     1011
#define IDC_LEFT_CONFIG     1012
#define IDC_RIGHT_FOLDER    1013
#define IDC_RIGHT_CONFIG    1014
#define IDC_NO_SPLASH       1034
#define IDC_HOTKEY          1035

/* About (204) */
#define IDC_VISIT           1022
#define IDC_ABOUT_PICTURE   1023

/* Introduction (205) */
#define IDC_TRAYHELP_PICTURE 1028
#define IDC_DONT_SHOW       1029
#define IDC_HELP_LINE1      1030
#define IDC_HELP_LINE2      1031

/* Splash screen (207) */
#define IDC_SPLASH_PICTURE  1033

/* ---- Menu commands (2000 - 2999) --------------------------------------- */
/*
 * The Configuration Menu's commands. The range is its own: the Folder Menu's
 * entries carry small positions and the shell's context menu 0x8000 and up.
 */
#define IDM_EDIT_FOLDER_MENU 2000
#define IDM_PROGRAM_OPTIONS  2001
#define IDM_EXIT             2002
#define IDM_ABOUT            2003
#define IDM_PROGRAM_HELP     2004

#endif /* PATHWICK_RESOURCE_H */
