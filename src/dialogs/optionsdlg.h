#ifndef PATHWICK_DIALOGS_OPTIONSDLG_H
#define PATHWICK_DIALOGS_OPTIONSDLG_H

#include <windows.h>

#include "../diag/singleton.h"
#include "../settings/saveload.h"

class CHotKey;

INT_PTR CALLBACK OptionsDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// "Program Options...": run at log-in, the splash screen, which mouse
// button opens which menu and the Folder Menu's hotkey. OK stores all the
// options (and the autostart value); the caller then takes the edited
// record over.
class SOptionsDlg : public SSingleton<SOptionsDlg> {
 public:
  // The whole round trip for the caller: edits a copy of rLive and puts it
  // back only after OK, when rHotKey takes the combination chosen. While
  // the dialog is already open it is only raised, so the copy being edited
  // there is not overwritten.
  void editOptions(HINSTANCE hInstance, HWND hWndParent, PROGRAMOPTIONS& rLive, CHotKey& rHotKey);

  // 1 after OK, 2 after Cancel or closing, 0 when it was already open.
  INT_PTR display(HINSTANCE hInstance, HWND hWndParent);
  bool isOpen() const {
    KVX_CALLSTACK_TRACK;
    return m_hWnd != NULL;
  }
  void setOptions(const PROGRAMOPTIONS& rOptions) {
    KVX_CALLSTACK_TRACK;
    m_Options = rOptions;
  }
  const PROGRAMOPTIONS& getOptions() const {
    KVX_CALLSTACK_TRACK;
    return m_Options;
  }

  BOOL onInitDialog(HWND hDlg);
  BOOL onCommand(WPARAM wParam);
  BOOL onClose();

 private:
  SOptionsDlg();
  ~SOptionsDlg();
  friend class SSingleton<SOptionsDlg>;

  // The two pairs always name opposite menus.
  void selectButtonRoles(bool bLeftClickRoot);
  void initHotKeyControl();
  void saveAndClose();
  void takeHotKey();

  HINSTANCE m_hInstance;
  HWND m_hWndParent;
  HWND m_hWnd;
  PROGRAMOPTIONS m_Options;
  // The holder of the live hotkey while editOptions runs, else NULL.
  CHotKey* m_lpHotKey;
};

#endif
