#ifndef PATHWICK_DIALOGS_ABOUTDLG_H
#define PATHWICK_DIALOGS_ABOUTDLG_H

#include <windows.h>

#include "../diag/singleton.h"
#include "dlgpicture.h"

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// "About...": the version, the maker and a way to the maker's web site.
// Lives until the process ends; its picture is made for a DPI, and the
// version written on it, on first use at that DPI.
class SAboutDlg : public SSingleton<SAboutDlg> {
 public:
  // 2 when closed; 0 when it was already open (it is only raised then).
  INT_PTR display(HINSTANCE hInstance, HWND hWndParent);

  BOOL onInitDialog(HWND hDlg);
  BOOL onCommand(WPARAM wParam);
  BOOL onClose();
  // The dialog moved to a monitor of another scale: the picture drawn for
  // it. FALSE, so that the system scales the rest of the dialog.
  BOOL onDpiChanged(UINT nDpi);

 private:
  SAboutDlg();
  ~SAboutDlg();
  friend class SSingleton<SAboutDlg>;

  static void S_drawVersion(HBITMAP hBitmap, UINT nDpi);
  void openWebSite();

  HINSTANCE m_hInstance;
  CDialogPicture m_Picture;
  HWND m_hWndParent;
  HWND m_hWnd;
};

#endif
