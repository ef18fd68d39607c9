#include "optionsdlg.h"

#include "../resources/resource.h"
#include "dlgcommon.h"

SOptionsDlg::SOptionsDlg() : m_hInstance(NULL), m_hWndParent(NULL), m_hWnd(NULL) {
  KVX_CALLSTACK_TRACK;
}

SOptionsDlg::~SOptionsDlg() { KVX_CALLSTACK_TRACK; }

void SOptionsDlg::editOptions(HINSTANCE hInstance, HWND hWndParent, PROGRAMOPTIONS& rLive) {
  KVX_CALLSTACK_TRACK;
  if (isOpen()) {
    display(hInstance, hWndParent);
    return;
  }
  setOptions(rLive);
  if (display(hInstance, hWndParent) == 1) rLive = m_Options;
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
  return TRUE;
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
  saveOptions(m_Options);
  EndDialog(m_hWnd, 1);
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
