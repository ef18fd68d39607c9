#include "dlgcommon.h"

#include <algorithm>
#include <cstddef>

#include "../diag/callstack.h"
#include "../diag/workarea.h"

HICON G_hPathwickIcon = NULL;
HICON G_hPathwickIconSm = NULL;

namespace dlg {

void setAppIcons(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  if (G_hPathwickIcon == NULL || G_hPathwickIconSm == NULL) return;
  SendMessageA(hDlg, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(G_hPathwickIcon));
  SendMessageA(hDlg, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(G_hPathwickIconSm));
}

SIZE bitmapSize(HBITMAP hBitmap) {
  KVX_CALLSTACK_TRACK;
  BITMAP info = {};
  GetObjectA(hBitmap, sizeof(info), &info);
  const SIZE size = {info.bmWidth, info.bmHeight};
  return size;
}

// The picture the control hands back is one of the dialog's own, which it
// keeps owning, or none. The control is sized here as well: a picture
// control resizes itself only when the picture is set, not when the
// dialog is scaled around it.
void setPicture(HWND hDlg, int nId, HBITMAP hBitmap) {
  KVX_CALLSTACK_TRACK;
  if (hBitmap == NULL) return;
  SendDlgItemMessageA(hDlg, nId, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap));
  const SIZE size = bitmapSize(hBitmap);
  SetWindowPos(GetDlgItem(hDlg, nId), NULL, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void fitToPicture(HWND hDlg, int nId, HBITMAP hBitmap) {
  KVX_CALLSTACK_TRACK;
  if (hBitmap == NULL) return;
  const SIZE size = bitmapSize(hBitmap);
  SetWindowPos(GetDlgItem(hDlg, nId), NULL, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT rcWindow = {0, 0, size.cx, size.cy};
  AdjustWindowRectEx(&rcWindow, static_cast<DWORD>(GetWindowLongA(hDlg, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(hDlg, GWL_EXSTYLE)));
  SetWindowPos(hDlg, NULL, 0, 0, rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

RECT workAreaOfWindow(HWND hwnd) {
  KVX_CALLSTACK_TRACK;
  return ::workAreaOf(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

// The middle of rcAround, kept inside rcWork; a dialog larger than the work
// area keeps its caption on screen.
POINT centredPosition(HWND hDlg, const RECT& rcAround, const RECT& rcWork) {
  KVX_CALLSTACK_TRACK;
  RECT rcDialog;
  GetWindowRect(hDlg, &rcDialog);
  const LONG nWidth = rcDialog.right - rcDialog.left;
  const LONG nHeight = rcDialog.bottom - rcDialog.top;
  POINT pt;
  pt.x = (rcAround.left + rcAround.right - nWidth) / 2;
  pt.y = (rcAround.top + rcAround.bottom - nHeight) / 2;
  pt.x = std::max(rcWork.left, std::min(pt.x, rcWork.right - nWidth));
  pt.y = std::max(rcWork.top, std::min(pt.y, rcWork.bottom - nHeight));
  return pt;
}

void moveTo(HWND hDlg, POINT pt) {
  KVX_CALLSTACK_TRACK;
  SetWindowPos(hDlg, NULL, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void centreOnWorkArea(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  const RECT rcWork = workAreaOfWindow(hDlg);
  moveTo(hDlg, centredPosition(hDlg, rcWork, rcWork));
}

void centreOnOwner(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  HWND hOwner = GetWindow(hDlg, GW_OWNER);
  RECT rcOwner;
  if (hOwner == NULL || !IsWindowVisible(hOwner) || !GetWindowRect(hOwner, &rcOwner)) {
    centreOnWorkArea(hDlg);
    return;
  }
  moveTo(hDlg, centredPosition(hDlg, rcOwner, workAreaOfWindow(hOwner)));
}

void centreTopmost(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  centreOnWorkArea(hDlg);
  SetWindowPos(hDlg, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

namespace {

HFONT S_hNamesFont = NULL;

HFONT namesFont() {
  KVX_CALLSTACK_TRACK;
  if (S_hNamesFont != NULL) return S_hNamesFont;
  // The older layout of the record, without the border padding Vista
  // added, works on every version of the system.
  const UINT nSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = nSize;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, nSize, &metrics, 0))
    S_hNamesFont = CreateFontIndirectA(&metrics.lfMessageFont);
  return S_hNamesFont;
}

}  // namespace

void showNamesInEveryScript(HWND hDlg, int nId) {
  KVX_CALLSTACK_TRACK;
  const HFONT hFont = namesFont();
  if (hFont != NULL) SendDlgItemMessageA(hDlg, nId, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
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
