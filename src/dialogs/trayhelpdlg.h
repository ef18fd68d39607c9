#ifndef PATHWICK_DIALOGS_TRAYHELPDLG_H
#define PATHWICK_DIALOGS_TRAYHELPDLG_H

#include <windows.h>

#include "../diag/singleton.h"
#include "dlgpicture.h"
#include "../settings/saveload.h"

INT_PTR CALLBACK TrayHelpDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The introduction shown at start-up: which mouse button on the tray icon
// opens which menu, with "Don't show this message again.".
class STrayHelpDlg : public SSingleton<STrayHelpDlg> {
 public:
  // Shows the introduction when the options ask for it. A "don't show"
  // answer turns TrayHelpAtStartup off in memory only; it is stored the
  // next time the options are saved.
  static void S_showAtStartup(HINSTANCE hInstance, HWND hWndParent, PROGRAMOPTIONS& rOptions);

  // 1: OK with the box clear; 2: OK with the box checked, or closed; 0: it
  // was already open (it is only raised then).
  INT_PTR display(HINSTANCE hInstance, HWND hWndParent, bool bLeftClickRoot);

  BOOL onInitDialog(HWND hDlg);
  BOOL onCommand(WPARAM wParam);
  BOOL onClose();
  // The dialog moved to a monitor of another scale: the picture drawn for
  // it. FALSE, so that the system scales the rest of the dialog.
  BOOL onDpiChanged(UINT nDpi);

 private:
  STrayHelpDlg();
  ~STrayHelpDlg();
  friend class SSingleton<STrayHelpDlg>;

  void setInstructions();

  HINSTANCE m_hInstance;
  CDialogPicture m_Picture;
  HWND m_hWndParent;
  HWND m_hWnd;
  bool m_bLeftClickRoot;
};

#endif
