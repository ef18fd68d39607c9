#include "mainwind.h"

#include <cstdlib>

#include "../diag/log.h"
#include "../menus/iconmgr.h"
#include "../menus/menuitem.h"
#include "../resources/resource.h"
#include "../settings/rootitem.h"

SMainWind* SMainWind::S_lpSingleton = NULL;

void SMainWind::S_createSingleton() {
  KVX_CALLSTACK_TRACK;
  if (S_lpSingleton == NULL) S_lpSingleton = new SMainWind();
}

void SMainWind::S_destroySingleton() {
  KVX_CALLSTACK_TRACK;
  if (S_lpSingleton != NULL) {
    delete S_lpSingleton;
    S_lpSingleton = NULL;
  }
}

SMainWind::SMainWind() : m_hInstance(NULL), m_hWnd(NULL), m_hConfigMenu(NULL) {}

SMainWind::~SMainWind() {}

void SMainWind::init(HINSTANCE hInstance) {
  m_hInstance = hInstance;
  registerWindowClass();
  createMainWindow();
  // The window only owns menus and receives callbacks; it is never shown.
  ShowWindow(m_hWnd, SW_HIDE);
  loadMenuDrawing();
  setupIconCache();
  loadFolderBitmaps();
  initNavMenu();
  loadRootList();
  showLoadedNotice();
}

// Without its window class the program could never be reached or told to
// quit, so it ends at once, as it does when the window cannot be created.
void SMainWind::registerWindowClass() {
  KVX_CALLSTACK_TRACK;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = MainWindProc;
  wc.hInstance = m_hInstance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(1);
  wc.lpszClassName = PATHWICK_WINDOW_CLASS;
  if (RegisterClassExA(&wc) == 0) {
    SLog::S_getSingleton()->write(
        0, "SMainWind::init() failed: RegisterClassEx() failed with error: %i",
        static_cast<int>(GetLastError()));
    exit(0);
  }
}

void SMainWind::createMainWindow() {
  KVX_CALLSTACK_TRACK;
  m_hWnd = CreateWindowExA(0, PATHWICK_WINDOW_CLASS, "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 100, 100, NULL, NULL, m_hInstance, NULL);
  if (m_hWnd == NULL) {
    SLog::S_getSingleton()->write(
        0, "SMainWind::init() failed: CreateWindowEx() failed with error: %i",
        static_cast<int>(GetLastError()));
    exit(0);
  }
}

// A one-entry menu at the top-left corner tells the user the program is up;
// it stays until dismissed.
void SMainWind::showLoadedNotice() {
  KVX_CALLSTACK_TRACK;
  HMENU hNotice = CreatePopupMenu();
  if (hNotice == NULL) return;
  AppendMenuA(hNotice, MF_STRING, 0, "[Pathwick Pro Loaded]");
  // A menu tracked for a background window would not close when the user
  // clicks elsewhere.
  SetForegroundWindow(m_hWnd);
  TrackPopupMenuEx(hNotice, 0, 0, 0, m_hWnd, NULL);
  DestroyMenu(hNotice);
  PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

void SMainWind::loadMenuDrawing() {
  KVX_CALLSTACK_TRACK;
  CMenuItem::S_loadFont();
  CMenuItem::S_loadArrow(m_hInstance);
}

// Program files, shortcuts and icon files get one fixed icon each instead
// of asking the shell about every single file.
void SMainWind::setupIconCache() {
  KVX_CALLSTACK_TRACK;
  SIconMgr::S_createSingleton();
  SIconMgr* lpIcons = SIconMgr::S_getSingleton();
  lpIcons->setupInfo(m_hWnd, 16, 16);
  const int nWidth = GetSystemMetrics(SM_CXICON);
  const int nHeight = GetSystemMetrics(SM_CYICON);
  const HICON hShortcut = LoadIconA(m_hInstance, MAKEINTRESOURCEA(IDI_SHORTCUT));
  struct SeededIcon {
    const char* lpszExt;
    HICON hIcon;
  };
  const SeededIcon seeded[] = {{"exe", LoadIconA(NULL, IDI_APPLICATION)},
                               {"lnk", hShortcut},
                               {"url", hShortcut},
                               {"ico", LoadIconA(NULL, IDI_QUESTION)}};
  for (size_t i = 0; i < sizeof(seeded) / sizeof(seeded[0]); ++i) {
    std::string strExt(seeded[i].lpszExt);
    lpIcons->setBmpIconForExt(strExt, seeded[i].hIcon, nWidth, nHeight);
  }
}

// Each pair gets its own mask handle, so either could be released alone.
void SMainWind::loadFolderBitmaps() {
  KVX_CALLSTACK_TRACK;
  CFolderMenu::S_setFolderBMP(LoadBitmapA(m_hInstance, MAKEINTRESOURCEA(IDB_FOLDER)),
                              LoadBitmapA(m_hInstance, MAKEINTRESOURCEA(IDB_FOLDERMASK)));
  CRootMenu::S_setRootFolderBMP(LoadBitmapA(m_hInstance, MAKEINTRESOURCEA(IDB_ROOTFOLDER)),
                                LoadBitmapA(m_hInstance, MAKEINTRESOURCEA(IDB_FOLDERMASK)));
}

void SMainWind::initNavMenu() {
  KVX_CALLSTACK_TRACK;
  if (!m_NavMenu.init(m_hWnd))
    SLog::S_getSingleton()->write(0, "SMainWind::init() failed: m_NavMenu.init() failed.");
}

// Until a root list is stored the Folder Menu offers drive C; the default
// is not written back.
void SMainWind::loadRootList() {
  KVX_CALLSTACK_TRACK;
  ROOTITEM item;
  item.str_name = "C Drive";
  item.str_path = "C:\\";
  item.sort_type = SORT_ABC;
  item.max_no_sort = 25;
  CRootMenu& rRootMenu = m_NavMenu.getRootMenu();
  rRootMenu.clear();
  rRootMenu.addRootItem(item);
}

LRESULT SMainWind::onDestroy() {
  KVX_CALLSTACK_TRACK;
  PostQuitMessage(0);
  return 0;
}

// Ids from 0x8000 are the shell context menu's (folder menus stop below
// it); every other entry carries its CMenuItem.
LRESULT SMainWind::onMeasureItem(WPARAM wParam, MEASUREITEMSTRUCT* lpMeasure) {
  KVX_CALLSTACK_TRACK;
  if ((lpMeasure->itemID & 0x8000) != 0)
    return relayToContextMenu(WM_MEASUREITEM, wParam, reinterpret_cast<LPARAM>(lpMeasure));
  CMenuItem* lpItem = reinterpret_cast<CMenuItem*>(lpMeasure->itemData);
  if (lpMeasure->CtlType != ODT_MENU || lpItem == NULL) return FALSE;
  return lpItem->handleMeasure(m_hWnd, lpMeasure);
}

LRESULT SMainWind::onDrawItem(WPARAM wParam, DRAWITEMSTRUCT* lpDraw) {
  KVX_CALLSTACK_TRACK;
  if ((lpDraw->itemID & 0x8000) != 0)
    return relayToContextMenu(WM_DRAWITEM, wParam, reinterpret_cast<LPARAM>(lpDraw));
  CMenuItem* lpItem = reinterpret_cast<CMenuItem*>(lpDraw->itemData);
  if (lpDraw->CtlType != ODT_MENU || lpItem == NULL) return FALSE;
  return lpItem->handleDraw(m_hWnd, lpDraw);
}

// The shell context menu host comes with the controller; until then no
// entry in its id range exists, and nothing draws one.
LRESULT SMainWind::relayToContextMenu(UINT, WPARAM, LPARAM) {
  KVX_CALLSTACK_TRACK;
  return FALSE;
}

LRESULT CALLBACK MainWindProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  SMainWind* lpMain = SMainWind::S_getSingleton();
  switch (uMsg) {
    case WM_DESTROY:
      return lpMain->onDestroy();
    case WM_MEASUREITEM:
      return lpMain->onMeasureItem(wParam, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM:
      return lpMain->onDrawItem(wParam, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    default:
      return DefWindowProcA(hwnd, uMsg, wParam, lParam);
  }
}
