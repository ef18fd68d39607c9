#ifndef PATHWICK_DIALOGS_DLGCOMMON_H
#define PATHWICK_DIALOGS_DLGCOMMON_H

#include <windows.h>

// The application icons, loaded by WinMain; every dialog with a caption
// shows them.
extern HICON G_hPathwickIcon;
extern HICON G_hPathwickIconSm;

// Small helpers the dialog procedures share.
namespace dlg {

// Big and small window icon, only when both application icons are loaded.
void setAppIcons(HWND hDlg);
// A bitmap's width and height in pixels; 0 x 0 for no bitmap.
SIZE bitmapSize(HBITMAP hBitmap);
// Puts a bitmap into a picture control, which takes its size; the caller
// keeps owning it.
void setPicture(HWND hDlg, int nId, HBITMAP hBitmap);
// Makes the dialog's client area and its one picture control exactly the
// size of the bitmap, whatever the dialog font made of the template's units.
void fitToPicture(HWND hDlg, int nId, HBITMAP hBitmap);
// Centres the dialog on the work area (the screen less the taskbar) of the
// monitor it opens on: for dialogs of the hidden main window, whose place
// means nothing to the user.
void centreOnWorkArea(HWND hDlg);
// Centres the dialog on the window that owns it, within that window's work
// area; on the work area when it has no owner.
void centreOnOwner(HWND hDlg);
// Centres the dialog on its work area and keeps it above other windows.
void centreTopmost(HWND hDlg);
// The controls that show folder names and paths (the root list, the name
// and path fields) take the system's message font: TrueType, and linked to
// fonts of other scripts, where the templates' "MS Sans Serif" is a raster
// font of one code page that shows Greek or CJK as boxes. Made once, kept
// until the process ends, like the menu font.
void showNamesInEveryScript(HWND hDlg, int nId);
bool isChecked(HWND hDlg, int nId);
void setChecked(HWND hDlg, int nId, bool bChecked);
void enable(HWND hDlg, int nId, bool bEnable);
// Brings an open dialog back to the user instead of opening it again; false
// when hDlg is NULL, that is when the dialog is closed.
bool raiseIfOpen(HWND hDlg);
// Runs a dialog modally. rhWnd is the dialog's own window member, which its
// WM_INITDIALOG sets; it is cleared here once the dialog has ended, so that
// raiseIfOpen knows it is closed.
INT_PTR runModal(HINSTANCE hInstance, int nTemplate, HWND hWndParent, DLGPROC lpProc, HWND& rhWnd);

}  // namespace dlg

#endif
