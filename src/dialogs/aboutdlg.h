#ifndef PATHWICK_DIALOGS_ABOUTDLG_H
#define PATHWICK_DIALOGS_ABOUTDLG_H

#include <windows.h>

#include "../diag/singleton.h"

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// "About...": the version, the maker and a way to the maker's web site.
// Lives until the process ends; its bitmap is loaded, and the version
// written on it, on first use.
class SAboutDlg : public SSingleton<SAboutDlg> {
 public:
  // 2 when closed; 0 when it was already open (it is only raised then).
  INT_PTR display(HINSTANCE hInstance, HWND hWndParent);

  BOOL onInitDialog(HWND hDlg);
  BOOL onCommand(WPARAM wParam);
  BOOL onClose();

 private:
  SAboutDlg();
  ~SAboutDlg();
  friend class SSingleton<SAboutDlg>;

  void drawVersion();
  void openWebSite();

  HINSTANCE m_hInstance;
  HBITMAP m_hBitmap;
  HWND m_hWndParent;
  HWND m_hWnd;
};

#endif
