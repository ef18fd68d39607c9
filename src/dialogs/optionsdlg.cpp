#include "optionsdlg.h"

#include <commctrl.h>

#include <string>

#include "../app/hotkey.h"
#include "../resources/resource.h"
#include "dlgcommon.h"

SOptionsDlg::SOptionsDlg()
    : m_hInstance(NULL), m_hWndParent(NULL), m_hWnd(NULL), m_lpHotKey(NULL) {
  KVX_CALLSTACK_TRACK;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&icc);
}

SOptionsDlg::~SOptionsDlg() { KVX_CALLSTACK_TRACK; }

// While the dialog is up the live combination is let go: pressed in the
// hotkey control, it would open the Folder Menu instead of reaching the
// control. Cancelled, the dialog leaves the live one to be taken again.
void SOptionsDlg::editOptions(HINSTANCE hInstance, HWND hWndParent, PROGRAMOPTIONS& rLive,
                              CHotKey& rHotKey) {
  KVX_CALLSTACK_TRACK;
  if (isOpen()) {
    display(hInstance, hWndParent);
    return;
  }
  setOptions(rLive);
  m_lpHotKey = &rHotKey;
  rHotKey.release();
  if (display(hInstance, hWndParent) == 1)
    rLive = m_Options;
  else
    rHotKey.use(rLive.HotKey);
  m_lpHotKey = NULL;
}

INT_PTR SOptionsDlg::display(HINSTANCE hInstance, HWND hWndParent) {
  KVX_CALLSTACK_TRACK;
  if (dlg::raiseIfOpen(m_hWnd)) return 0;
  m_hInstance = hInstance;
  m_hWndParent = hWndParent;
  const INT_PTR nResult =
      dlg::runModal(m_hInstance, IDD_OPTIONS, m_hWndParent, OptionsDlgProc, m_hWnd);
  m_hWndParent = NULL;
  return nResult;
}

BOOL SOptionsDlg::onInitDialog(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  m_hWnd = hDlg;
  dlg::setAppIcons(m_hWnd);
  dlg::centreOnWorkArea(m_hWnd);
  dlg::setChecked(m_hWnd, IDC_RUN_AT_LOGIN, m_Options.RunOnStartup);
  // The box states the negative.
  dlg::setChecked(m_hWnd, IDC_NO_SPLASH, !m_Options.SplashScreenAtStartup);
  selectButtonRoles(m_Options.LeftClickRoot);
  initHotKeyControl();
  return TRUE;
}

// A key alone, or with Shift alone, would take a typing key away from every
// program: the control makes it Ctrl+Alt and the key.
void SOptionsDlg::initHotKeyControl() {
  KVX_CALLSTACK_TRACK;
  const HWND hControl = GetDlgItem(m_hWnd, IDC_HOTKEY);
  SendMessageA(hControl, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
               MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
  SendMessageA(hControl, HKM_SETHOTKEY, m_Options.HotKey, 0);
}

void SOptionsDlg::selectButtonRoles(bool bLeftClickRoot) {
  KVX_CALLSTACK_TRACK;
  dlg::setChecked(m_hWnd, IDC_LEFT_FOLDER, bLeftClickRoot);
  dlg::setChecked(m_hWnd, IDC_LEFT_CONFIG, !bLeftClickRoot);
  dlg::setChecked(m_hWnd, IDC_RIGHT_FOLDER, !bLeftClickRoot);
  dlg::setChecked(m_hWnd, IDC_RIGHT_CONFIG, bLeftClickRoot);
}

BOOL SOptionsDlg::onCommand(WPARAM wParam) {
  KVX_CALLSTACK_TRACK;
  if (HIWORD(wParam) != 0) return TRUE;
  switch (LOWORD(wParam)) {
    case IDC_LEFT_FOLDER:
    case IDC_RIGHT_CONFIG:
      selectButtonRoles(true);
      break;
    case IDC_LEFT_CONFIG:
    case IDC_RIGHT_FOLDER:
      selectButtonRoles(false);
      break;
    case IDOK:
      saveAndClose();
      break;
    case IDCANCEL:
      EndDialog(m_hWnd, 2);
      break;
    default:
      break;
  }
  return TRUE;
}

// The introduction's flag is not on this page: it keeps the value it came
// in with, a "don't show" answer at start-up included. A failed save is in
// the run log; the edited options still become the live ones.
void SOptionsDlg::saveAndClose() {
  KVX_CALLSTACK_TRACK;
  m_Options.LeftClickRoot = dlg::isChecked(m_hWnd, IDC_LEFT_FOLDER);
  m_Options.RunOnStartup = dlg::isChecked(m_hWnd, IDC_RUN_AT_LOGIN);
  m_Options.SplashScreenAtStartup = !dlg::isChecked(m_hWnd, IDC_NO_SPLASH);
  m_Options.HotKey = LOWORD(SendDlgItemMessageA(m_hWnd, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0));
  saveOptions(m_Options);
  takeHotKey();
  EndDialog(m_hWnd, 1);
}

// The user hears at once of a combination the system refuses; it stays
// stored, for the day the program that holds it lets go.
void SOptionsDlg::takeHotKey() {
  KVX_CALLSTACK_TRACK;
  if (m_lpHotKey == NULL || m_lpHotKey->use(m_Options.HotKey)) return;
  const std::string strText =
      CHotKey::S_describe(m_Options.HotKey) +
      " cannot open the Folder Menu: another program uses this key combination.\n\n"
      "It is kept in the options and works once the other program lets go of it and "
      "Pathwick Pro starts again. Or choose another combination.";
  MessageBoxA(m_hWnd, strText.c_str(), "Pathwick Pro: Hotkey", MB_OK | MB_ICONWARNING);
}

BOOL SOptionsDlg::onClose() {
  KVX_CALLSTACK_TRACK;
  EndDialog(m_hWnd, 2);
  return TRUE;
}

INT_PTR CALLBACK OptionsDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) {
  KVX_CALLSTACK_TRACK;
  switch (uMsg) {
    case WM_INITDIALOG:
      return SOptionsDlg::S_getSingleton()->onInitDialog(hDlg);
    case WM_COMMAND:
      return SOptionsDlg::S_getSingleton()->onCommand(wParam);
    case WM_CLOSE:
      return SOptionsDlg::S_getSingleton()->onClose();
    default:
      return FALSE;
  }
}
