#include "splashdlg.h"

#include "../resources/resource.h"
#include "../diag/dpi.h"
#include "dlgcommon.h"

namespace {

const UINT_PTR kCloseTimer = 1;
const CDialogPicture::SOURCE kPictures[] = {
    {96, IDB_SPLASH}, {144, IDB_SPLASH_150}, {192, IDB_SPLASH_200}};

}  // namespace

void SSplashDlg::S_showAtStartup(HINSTANCE hInstance, HWND hWndParent) {
  KVX_CALLSTACK_TRACK;
  S_createSingleton();
  S_getSingleton()->display(hInstance, hWndParent, S_lStartupDuration);
  S_destroySingleton();
}

SSplashDlg::SSplashDlg()
    : m_hInstance(NULL),
      m_Picture(kPictures, sizeof(kPictures) / sizeof(kPictures[0])),
      m_hWndParent(NULL),
      m_hWnd(NULL),
      m_lDuration(0) {
  KVX_CALLSTACK_TRACK;
}

SSplashDlg::~SSplashDlg() { KVX_CALLSTACK_TRACK; }

INT_PTR SSplashDlg::display(HINSTANCE hInstance, HWND hWndParent, long lDuration) {
  KVX_CALLSTACK_TRACK;
  if (dlg::raiseIfOpen(m_hWnd)) return 0;
  m_hInstance = hInstance;
  m_hWndParent = hWndParent;
  m_lDuration = lDuration;
  const INT_PTR nResult =
      dlg::runModal(m_hInstance, IDD_SPLASH, m_hWndParent, SplashDlgProc, m_hWnd);
  m_hWndParent = NULL;
  return nResult;
}

BOOL SSplashDlg::onInitDialog(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  m_hWnd = hDlg;
  showPicture(dpi::ofWindow(m_hWnd));
  if (m_lDuration >= 1) SetTimer(m_hWnd, kCloseTimer, static_cast<UINT>(m_lDuration), NULL);
  dlg::centreTopmost(m_hWnd);
  return TRUE;
}

// The splash is its picture: no band of dialog left beside it when the
// dialog font is wider than the one the template was laid out for.
void SSplashDlg::showPicture(UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  const HBITMAP hBitmap = m_Picture.at(m_hInstance, nDpi);
  dlg::setPicture(m_hWnd, IDC_SPLASH_PICTURE, hBitmap);
  dlg::fitToPicture(m_hWnd, IDC_SPLASH_PICTURE, hBitmap);
}

BOOL SSplashDlg::onTimer(WPARAM wParam) {
  KVX_CALLSTACK_TRACK;
  if (wParam == kCloseTimer) {
    KillTimer(m_hWnd, kCloseTimer);
    EndDialog(m_hWnd, 1);
  }
  return TRUE;
}

// The timer dies with the window, so closing early leaves none behind.
BOOL SSplashDlg::onClose() {
  KVX_CALLSTACK_TRACK;
  EndDialog(m_hWnd, 2);
  return TRUE;
}

// TRUE: the system's own scaling would size the dialog from its template,
// and the splash is the size of its picture.
BOOL SSplashDlg::onDpiChanged(UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  showPicture(nDpi);
  return TRUE;
}

// Clicks and keys do not close the splash: it goes by itself.
INT_PTR CALLBACK SplashDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) {
  KVX_CALLSTACK_TRACK;
  switch (uMsg) {
    case WM_INITDIALOG:
      return SSplashDlg::S_getSingleton()->onInitDialog(hDlg);
    case WM_TIMER:
      return SSplashDlg::S_getSingleton()->onTimer(wParam);
    case WM_CLOSE:
      return SSplashDlg::S_getSingleton()->onClose();
    case WM_DPICHANGED:
      return SSplashDlg::S_getSingleton()->onDpiChanged(LOWORD(wParam));
    default:
      return FALSE;
  }
}
