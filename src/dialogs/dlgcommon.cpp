#include "dlgcommon.h"

#include "../diag/callstack.h"

HICON G_hPathwickIcon = NULL;
HICON G_hPathwickIconSm = NULL;

namespace dlg {

void setAppIcons(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  if (G_hPathwickIcon == NULL || G_hPathwickIconSm == NULL) return;
  SendMessageA(hDlg, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(G_hPathwickIcon));
  SendMessageA(hDlg, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(G_hPathwickIconSm));
}

// A control that had no picture before hands back none, so nothing is left
// to release here.
void setPicture(HWND hDlg, int nId, HBITMAP hBitmap) {
  KVX_CALLSTACK_TRACK;
  if (hBitmap == NULL) return;
  SendDlgItemMessageA(hDlg, nId, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap));
}

void fitToPicture(HWND hDlg, int nId, HBITMAP hBitmap) {
  KVX_CALLSTACK_TRACK;
  BITMAP info = {};
  if (hBitmap == NULL || GetObjectA(hBitmap, sizeof(info), &info) == 0) return;
  SetWindowPos(GetDlgItem(hDlg, nId), NULL, 0, 0, info.bmWidth, info.bmHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  RECT rcWindow = {0, 0, info.bmWidth, info.bmHeight};
  AdjustWindowRectEx(&rcWindow, static_cast<DWORD>(GetWindowLongA(hDlg, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(hDlg, GWL_EXSTYLE)));
  SetWindowPos(hDlg, NULL, 0, 0, rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void centreTopmost(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  RECT rcDesktop;
  RECT rcDialog;
  GetWindowRect(GetDesktopWindow(), &rcDesktop);
  GetWindowRect(hDlg, &rcDialog);
  const int nWidth = rcDialog.right - rcDialog.left;
  const int nHeight = rcDialog.bottom - rcDialog.top;
  const int x = (rcDesktop.right - rcDesktop.left) / 2 - nWidth / 2;
  const int y = (rcDesktop.bottom - rcDesktop.top) / 2 - nHeight / 2;
  SetWindowPos(hDlg, HWND_TOPMOST, x, y, nWidth, nHeight, 0);
}

bool isChecked(HWND hDlg, int nId) {
  KVX_CALLSTACK_TRACK;
  return IsDlgButtonChecked(hDlg, nId) == BST_CHECKED;
}

void setChecked(HWND hDlg, int nId, bool bChecked) {
  KVX_CALLSTACK_TRACK;
  CheckDlgButton(hDlg, nId, bChecked ? BST_CHECKED : BST_UNCHECKED);
}

void enable(HWND hDlg, int nId, bool bEnable) {
  KVX_CALLSTACK_TRACK;
  EnableWindow(GetDlgItem(hDlg, nId), bEnable ? TRUE : FALSE);
}

bool raiseIfOpen(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  if (hDlg == NULL) return false;
  if (IsIconic(hDlg)) ShowWindow(hDlg, SW_RESTORE);
  SetForegroundWindow(hDlg);
  return true;
}

INT_PTR runModal(HINSTANCE hInstance, int nTemplate, HWND hWndParent, DLGPROC lpProc, HWND& rhWnd) {
  KVX_CALLSTACK_TRACK;
  const INT_PTR nResult =
      DialogBoxParamA(hInstance, MAKEINTRESOURCEA(nTemplate), hWndParent, lpProc, 0);
  rhWnd = NULL;
  return nResult;
}

}  // namespace dlg
