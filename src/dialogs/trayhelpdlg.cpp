#include "trayhelpdlg.h"

#include "../resources/resource.h"
#include "../diag/dpi.h"
#include "dlgcommon.h"

namespace {

const CDialogPicture::SOURCE kPictures[] = {
    {96, IDB_TRAYHELP}, {144, IDB_TRAYHELP_150}, {192, IDB_TRAYHELP_200}};

}  // namespace

void STrayHelpDlg::S_showAtStartup(HINSTANCE hInstance, HWND hWndParent, PROGRAMOPTIONS& rOptions) {
  KVX_CALLSTACK_TRACK;
  if (!rOptions.TrayHelpAtStartup) return;
  S_createSingleton();
  const INT_PTR nResult = S_getSingleton()->display(hInstance, hWndParent, rOptions.LeftClickRoot);
  rOptions.TrayHelpAtStartup = nResult != 2;
  S_destroySingleton();
}

STrayHelpDlg::STrayHelpDlg()
    : m_hInstance(NULL),
      m_Picture(kPictures, sizeof(kPictures) / sizeof(kPictures[0])),
      m_hWndParent(NULL),
      m_hWnd(NULL),
      m_bLeftClickRoot(false) {
  KVX_CALLSTACK_TRACK;
}

STrayHelpDlg::~STrayHelpDlg() { KVX_CALLSTACK_TRACK; }

INT_PTR STrayHelpDlg::display(HINSTANCE hInstance, HWND hWndParent, bool bLeftClickRoot) {
  KVX_CALLSTACK_TRACK;
  m_bLeftClickRoot = bLeftClickRoot;
  if (dlg::raiseIfOpen(m_hWnd)) return 0;
  m_hInstance = hInstance;
  m_hWndParent = hWndParent;
  const INT_PTR nResult =
      dlg::runModal(m_hInstance, IDD_TRAYHELP, m_hWndParent, TrayHelpDlgProc, m_hWnd);
  m_hWndParent = NULL;
  return nResult;
}

BOOL STrayHelpDlg::onInitDialog(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  m_hWnd = hDlg;
  dlg::setAppIcons(m_hWnd);
  m_Picture.showIn(m_hWnd, IDC_TRAYHELP_PICTURE, m_hInstance, dpi::ofWindow(m_hWnd));
  setInstructions();
  // The main window that owns it is hidden: without this the introduction
  // could open behind whatever the user is working in.
  dlg::centreTopmost(m_hWnd);
  return TRUE;
}

void STrayHelpDlg::setInstructions() {
  KVX_CALLSTACK_TRACK;
  if (m_bLeftClickRoot) {
    SetDlgItemTextA(m_hWnd, IDC_HELP_LINE1,
                    "Left-Click the icon to open the Folder Menu to browse your folders.");
    SetDlgItemTextA(m_hWnd, IDC_HELP_LINE2, "Right-Click the icon to open the Configuration Menu.");
  } else {
    SetDlgItemTextA(m_hWnd, IDC_HELP_LINE1, "Left-Click the icon to open the Configuration Menu.");
    SetDlgItemTextA(m_hWnd, IDC_HELP_LINE2,
                    "Right-Click the icon to open the Folder Menu to browse your folders.");
  }
}

// Escape (IDCANCEL) is deliberately not handled: the user confirms the
// introduction with OK (or Enter) or closes it.
BOOL STrayHelpDlg::onCommand(WPARAM wParam) {
  KVX_CALLSTACK_TRACK;
  if (HIWORD(wParam) == 0 && LOWORD(wParam) == IDOK)
    EndDialog(m_hWnd, dlg::isChecked(m_hWnd, IDC_DONT_SHOW) ? 2 : 1);
  return TRUE;
}

BOOL STrayHelpDlg::onClose() {
  KVX_CALLSTACK_TRACK;
  EndDialog(m_hWnd, 2);
  return TRUE;
}

BOOL STrayHelpDlg::onDpiChanged(UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  m_Picture.moveTo(m_hWnd, IDC_TRAYHELP_PICTURE, m_hInstance, nDpi);
  return FALSE;
}

INT_PTR CALLBACK TrayHelpDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) {
  KVX_CALLSTACK_TRACK;
  switch (uMsg) {
    case WM_INITDIALOG:
      return STrayHelpDlg::S_getSingleton()->onInitDialog(hDlg);
    case WM_COMMAND:
      return STrayHelpDlg::S_getSingleton()->onCommand(wParam);
    case WM_CLOSE:
      return STrayHelpDlg::S_getSingleton()->onClose();
    case WM_DPICHANGED:
      return STrayHelpDlg::S_getSingleton()->onDpiChanged(LOWORD(wParam));
    default:
      return FALSE;
  }
}
