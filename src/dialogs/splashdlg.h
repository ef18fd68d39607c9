#ifndef PATHWICK_DIALOGS_SPLASHDLG_H
#define PATHWICK_DIALOGS_SPLASHDLG_H

#include <windows.h>

#include "../diag/singleton.h"
#include "dlgpicture.h"

INT_PTR CALLBACK SplashDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The start-up picture; it closes itself after its duration. Start-up
// waits for it (it runs a modal loop).
class SSplashDlg : public SSingleton<SSplashDlg> {
 public:
  // How long the splash stays at start-up.
  static const long S_lStartupDuration = 2000;

  // Shows the splash over hWndParent, its owner, for S_lStartupDuration,
  // then ends the singleton; it exists only while it is shown.
  static void S_showAtStartup(HINSTANCE hInstance, HWND hWndParent);

  // 1: the timer closed it; 2: the system close command did; 0: it was
  // already open. A duration below 1 starts no timer.
  INT_PTR display(HINSTANCE hInstance, HWND hWndParent, long lDuration);

  BOOL onInitDialog(HWND hDlg);
  BOOL onTimer(WPARAM wParam);
  BOOL onClose();
  // The dialog moved to a monitor of another scale: the picture drawn for
  // it, and the dialog its size.
  BOOL onDpiChanged(UINT nDpi);

 private:
  SSplashDlg();
  ~SSplashDlg();
  friend class SSingleton<SSplashDlg>;

  void showPicture(UINT nDpi);

  HINSTANCE m_hInstance;
  CDialogPicture m_Picture;
  HWND m_hWndParent;
  HWND m_hWnd;
  long m_lDuration;
};

#endif
