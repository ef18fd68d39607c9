/*
 * Resource identifiers. Each kind of resource has its own range so that an
 * id alone tells what it names and new ids never collide across kinds:
 *
 *   101 - 199   bitmaps and icons
 *   200 - 299   dialog templates
 *  1000 - 1999  dialog controls
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

/* ---- Icons (101 - 199, shared with bitmaps) ---------------------------- */

/* 32x32 and 16x16, 16 colours: the application icon. */
#define IDI_PATHWICK        104
/* 16x16, 16 colours: shown for .lnk and .url entries in the menus. */
#define IDI_SHORTCUT        105
/* 16x16, 16 colours: tray icon and small window icon. */
#define IDI_PATHWICK_SM     106

/* ---- Dialog templates (200 - 299) -------------------------------------- */
/*
 * Reserved, to be defined with the dialogs:
 *   201 - 205, 207   IDD_... templates (206 is unused)
 */

/* ---- Dialog controls (1000 - 1999) ------------------------------------- */
/*
 * Reserved, to be defined with the dialogs: IDC_... control ids.
 */

/* ---- Menu commands (2000 - 2999) --------------------------------------- */
/*
 * Reserved: the Configuration Menu's command ids live in this range, defined
 * next to the code that builds the menu.
 */

#endif /* PATHWICK_RESOURCE_H */
