#include "aboutdlg.h"

#include <shellapi.h>

#include "../resources/resource.h"
#include "../diag/dpi.h"
#include "../diag/scoped.h"
#include "../resources/version.h"
#include "dlgcommon.h"

namespace {

const CDialogPicture::SOURCE kPictures[] = {
    {96, IDB_ABOUT}, {144, IDB_ABOUT_150}, {192, IDB_ABOUT_200}};

}  // namespace

SAboutDlg::SAboutDlg()
    : m_hInstance(NULL),
      m_Picture(kPictures, sizeof(kPictures) / sizeof(kPictures[0]), S_drawVersion),
      m_hWndParent(NULL),
      m_hWnd(NULL) {
  KVX_CALLSTACK_TRACK;
}

SAboutDlg::~SAboutDlg() { KVX_CALLSTACK_TRACK; }

INT_PTR SAboutDlg::display(HINSTANCE hInstance, HWND hWndParent) {
  KVX_CALLSTACK_TRACK;
  if (dlg::raiseIfOpen(m_hWnd)) return 0;
  m_hInstance = hInstance;
  m_hWndParent = hWndParent;
  const INT_PTR nResult = dlg::runModal(m_hInstance, IDD_ABOUT, m_hWndParent, AboutDlgProc, m_hWnd);
  m_hWndParent = NULL;
  return nResult;
}

BOOL SAboutDlg::onInitDialog(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  m_hWnd = hDlg;
  dlg::setAppIcons(m_hWnd);
  m_Picture.showIn(m_hWnd, IDC_ABOUT_PICTURE, m_hInstance, dpi::ofWindow(m_hWnd));
  dlg::centreOnWorkArea(m_hWnd);
  return TRUE;
}

BOOL SAboutDlg::onDpiChanged(UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  m_Picture.moveTo(m_hWnd, IDC_ABOUT_PICTURE, m_hInstance, nDpi);
  return FALSE;
}

// Escape (IDCANCEL) is deliberately not handled: only "Close Window", Enter
// or the close box end the dialog.
BOOL SAboutDlg::onCommand(WPARAM wParam) {
  KVX_CALLSTACK_TRACK;
  if (HIWORD(wParam) != 0) return TRUE;
  switch (LOWORD(wParam)) {
    case IDOK:
      EndDialog(m_hWnd, 2);
      break;
    case IDC_VISIT:
    case IDC_ABOUT_PICTURE:
      openWebSite();
      break;
    default:
      break;
  }
  return TRUE;
}

BOOL SAboutDlg::onClose() {
  KVX_CALLSTACK_TRACK;
  EndDialog(m_hWnd, 2);
  return TRUE;
}

// The picture leaves room for the version under the name; it is written
// there from the version the resources carry, so the two never disagree,
// in the system's GUI face at the picture's scale.
void SAboutDlg::S_drawVersion(HBITMAP hBitmap, UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  static const char szVersion[] = "Version " PATHWICK_VERSION_STRING;
  LOGFONTA face = {};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
  face.lfHeight = -dpi::scale(11, nDpi);
  face.lfWidth = 0;
  const CGdiObject font(CreateFontIndirectA(&face));
  const CMemoryDC dc(NULL);
  if (!dc.valid()) return;
  const CSelectObject bitmap(dc.get(), hBitmap);
  const CSelectObject selected(dc.get(),
                               font.valid() ? font.get() : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), RGB(200, 226, 255));
  TextOutA(dc.get(), dpi::scale(61, nDpi), dpi::scale(38, nDpi), szVersion, sizeof(szVersion) - 1);
}

// The browser's answer is not looked at: the dialog stays open either way.
void SAboutDlg::openWebSite() {
  KVX_CALLSTACK_TRACK;
  ShellExecuteA(GetDesktopWindow(), "open", PATHWICK_MAKER_URL, NULL, NULL, SW_SHOWNORMAL);
}

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) {
  KVX_CALLSTACK_TRACK;
  switch (uMsg) {
    case WM_INITDIALOG:
      return SAboutDlg::S_getSingleton()->onInitDialog(hDlg);
    case WM_COMMAND:
      return SAboutDlg::S_getSingleton()->onCommand(wParam);
    case WM_CLOSE:
      return SAboutDlg::S_getSingleton()->onClose();
    case WM_DPICHANGED:
      return SAboutDlg::S_getSingleton()->onDpiChanged(LOWORD(wParam));
    default:
      return FALSE;
  }
}
