#include "navmenu.h"

#include <shellapi.h>

#include <set>

#include "../diag/log.h"
#include "../resources/resource.h"
#include "iconmgr.h"
#include "menuitem.h"
#include "menukeys.h"

CNavMenu* CNavMenu::S_lpHookOwner = NULL;

CNavMenu::CNavMenu()
    : m_hWnd(NULL),
      m_bInContextMenu(false),
      m_nRootSel(-1),
      m_bItemsEnabled(true),
      m_nDisabledSelects(0),
      m_bWineRoad(false),
      m_nRightClicksNoted(0),
      m_nRightClicksHandled(0),
      m_bWarmFirstQuery(false),
      m_nWarmNextRoot(0),
      m_dwWarmListingStart(0),
      m_nWarmQueried(0) {
  KVX_CALLSTACK_TRACK;
  // Below this range lie the folder menus' own positions.
  m_ContextMenu.setShellIDRange(0x8000, 0xFFFF);
}

CNavMenu::~CNavMenu() {
  KVX_CALLSTACK_TRACK;
  if (m_hWnd != NULL) KillTimer(m_hWnd, kWarmUpTimer);
  removeRightClickHook();
  deleteLentAndPooledMenus();
}

// The open levels, the child each of them has borrowed (opened or not) and
// the pool; each once. The two member menus are not ours to delete.
void CNavMenu::deleteLentAndPooledMenus() {
  KVX_CALLSTACK_TRACK;
  std::set<CFolderMenu*> owned(m_TempMenus.begin(), m_TempMenus.end());
  for (CFolderMenu* lpMenu : m_MenuStack) {
    owned.insert(lpMenu);
    owned.insert(lpMenu->getSubFolderMenu());
  }
  owned.erase(NULL);
  owned.erase(&m_RootMenu);
  owned.erase(&m_RootTempMenu);
  for (CFolderMenu* lpMenu : owned) delete lpMenu;
  m_TempMenus.clear();
  m_MenuStack.clear();
}

namespace {

struct SEEDEDICON {
  const char* lpszExt;
  HICON hIcon;
};

// Program files, shortcuts and icon files get one fixed icon each instead
// of asking the shell about every single file.
void seedIconCache(HINSTANCE hInstance) {
  KVX_CALLSTACK_TRACK;
  const int nWidth = GetSystemMetrics(SM_CXICON);
  const int nHeight = GetSystemMetrics(SM_CYICON);
  const HICON hShortcut = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_SHORTCUT));
  const SEEDEDICON seeded[] = {{"exe", LoadIconA(NULL, IDI_APPLICATION)},
                               {"lnk", hShortcut},
                               {"url", hShortcut},
                               {"ico", LoadIconA(NULL, IDI_QUESTION)}};
  for (const SEEDEDICON& rSeeded : seeded) {
    std::string strExt(rSeeded.lpszExt);
    SIconMgr::S_getSingleton()->setBmpIconForExt(strExt, rSeeded.hIcon, nWidth, nHeight);
  }
}


}  // namespace

// The icon cache starts at the icon size of the system's DPI, which the
// first menu changes where it opens on a monitor of another scale.
void CNavMenu::S_loadDrawingResources(HINSTANCE hInstance, HWND hIconWindow) {
  KVX_CALLSTACK_TRACK;
  CMenuItem::S_loadFont();
  SIconMgr::S_createSingleton();
  const int nIconSize = CMenuItem::S_iconSize();
  SIconMgr::S_getSingleton()->setupInfo(hIconWindow, nIconSize, nIconSize);
  SFolderLister::S_createSingleton();
  seedIconCache(hInstance);
  CFolderMenu::S_loadFolderPictures(hInstance);
  CRootMenu::S_loadRootFolderPictures(hInstance);
}

bool CNavMenu::init(HWND hWnd) {
  KVX_CALLSTACK_TRACK;
  m_hWnd = hWnd;
  m_bWineRoad = S_isWine();
  if (!m_RootMenu.init()) {
    SLog::S_getSingleton()->write(0, "CNavMenu::init() failed: m_RootMenu.init() failed");
    return false;
  }
  if (!m_RootTempMenu.init()) {
    SLog::S_getSingleton()->write(0, "CNavMenu::init() failed: m_RootTempMenu.init() failed");
    return false;
  }
  // Every root entry opens this one popup; it is refilled for whichever
  // root is opened.
  m_RootMenu.setSubFolderMenu(&m_RootTempMenu);
  return true;
}

// Capture keeps the mouse messages with the owner while the menu is up.
bool CNavMenu::display(LONG x, LONG y, bool bSelectFirst) {
  KVX_CALLSTACK_TRACK;
  if (m_nRootSel >= 0) return false;
  m_bInContextMenu = false;
  m_RootMenu.enableItems(true);
  m_RootTempMenu.enableItems(true);
  m_bItemsEnabled = true;
  m_nDisabledSelects = 0;
  m_nRootSel = 0;
  if (!m_MenuStack.empty())
    SLog::S_getSingleton()->write(0, "CNavMenu::display() Failed: Stack not empty");

  const POINT ptOpen = {x, y};
  prepareAt(ptOpen);
  installRightClickHook();
  m_ContextMenu.holdBoxes(true);
  SetCapture(m_hWnd);
  if (bSelectFirst) selectFirstEntryOnOpen(m_hWnd);
  const BOOL bTracked = TrackPopupMenuEx(m_RootMenu.getHMENU(), 0, x, y, m_hWnd, NULL);
  if (!bTracked)
    SLog::S_getSingleton()->writeLastError(
        0, "CNavMenu::display() Failed: TrackPopupMenuEx() failed with error: %i");
  ReleaseCapture();
  removeRightClickHook();
  if (bTracked) enableAllItems(true);
  closeLeftOverLevels();
  m_nRootSel = -1;
  m_ContextMenu.holdBoxes(false);
  m_ContextMenu.showHeldBoxes();
  return bTracked != FALSE;
}

// The menu posts its choice as it closes, before tracking returns.
bool CNavMenu::hasChoiceWaiting() const {
  KVX_CALLSTACK_TRACK;
  MSG msg;
  return PeekMessageA(&msg, m_hWnd, WM_MENUCOMMAND, WM_MENUCOMMAND, PM_NOREMOVE) != FALSE;
}

// Owner-drawn entries give the menu loop no text to find a typed character
// in, so it asks the owner.
bool CNavMenu::handleMenuChar(WPARAM wParam, LPARAM lParam, LRESULT& rResult) {
  KVX_CALLSTACK_TRACK;
  if (m_bInContextMenu) return false;
  CFolderMenu* lpMenu = findOpenMenu(reinterpret_cast<HMENU>(lParam));
  if (lpMenu == NULL) return false;
  rResult = lpMenu->answerTypedCharacter(LOWORD(wParam));
  return true;
}

// Every measure of the menu, its pictures and icons, for the monitor the
// menu opens on.
void CNavMenu::prepareAt(const POINT& rPoint) {
  KVX_CALLSTACK_TRACK;
  CMenuItem::S_prepareAt(rPoint);
  SIconMgr::S_getSingleton()->setIconSize(CMenuItem::S_iconSize());
  m_RootMenu.useIconSize();
}

// Once tracking has ended every level is closed, whether or not the system
// said so: a level left filled would be refilled on top of its old entries
// at the next display. Only now, with no menu tracked any more, are the
// windows Wine left on screen destroyed: while the loop runs, a menu window
// may still be the system's.
void CNavMenu::closeLeftOverLevels() {
  KVX_CALLSTACK_TRACK;
  while (!m_MenuStack.empty()) {
    m_LeftOverMenus.push_back(m_MenuStack.back()->getHMENU());
    closeTopLevel();
  }
  for (HMENU hMenu : m_LeftOverMenus) {
    const HWND hMenuWnd = S_findMenuWindow(hMenu);
    if (hMenuWnd != NULL) DestroyWindow(hMenuWnd);
  }
  m_LeftOverMenus.clear();
  m_MenuWindows.clear();
}

LRESULT CNavMenu::handleMenuMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  switch (uMsg) {
    case WM_INITMENUPOPUP:
      return handleInitPopup(wParam, lParam);
    case WM_UNINITMENUPOPUP:
      handleUnInitPopup(wParam, lParam);
      return 0;
    case WM_MENUSELECT:
      return handleMenuSelect(wParam, lParam);
    case WM_MENURBUTTONUP:
      handleMenuRightClick(wParam, lParam);
      return 0;
    case WM_MENUCOMMAND:
      handleMenuCommand(wParam, lParam);
      return 0;
    default:
      return 0;
  }
}

// wParam is the opening popup, LOWORD(lParam) the position of the entry
// that opens it in the menu below. The root menu was built in advance; every
// other folder popup is the shared child of the level on top of the stack.
LRESULT CNavMenu::handleInitPopup(WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  const HMENU hPopup = reinterpret_cast<HMENU>(wParam);
  LRESULT lResult = 0;
  if (m_MenuStack.empty()) {
    if (hPopup == m_RootMenu.getHMENU()) {
      m_MenuStack.push_back(&m_RootMenu);
      return 0;
    }
    if (m_bInContextMenu) return handleContextMenuMsg(WM_INITMENUPOPUP, wParam, lParam, &lResult);
    SLog::S_getSingleton()->write(0, "CNavMenu::handleInitPopup() alert: unhandled message.");
    return 0;
  }
  CFolderMenu* lpTopMenu = m_MenuStack.back();
  CFolderMenu* lpChild = lpTopMenu->getSubFolderMenu();
  if (lpChild == NULL) {
    SLog::S_getSingleton()->write(0,
                                  "CNavMenu::handleInitPopup() failed : NULL == lp_cur_temp_menu");
    return 0;
  }
  if (hPopup == lpChild->getHMENU()) {
    if (fillOpeningPopup(lpTopMenu, lpChild, lParam)) {
      DrawMenuBar(m_hWnd);
      m_MenuStack.push_back(lpChild);
    }
    return 0;
  }
  // A submenu of the shell's context menu is opening.
  if (m_bInContextMenu) return handleContextMenuMsg(WM_INITMENUPOPUP, wParam, lParam, &lResult);
  SLog::S_getSingleton()->write(0, "CNavMenu::handleInitPopup() alert: unhandled message.");
  return 0;
}

// The parent's type lets the fill refuse to group a group's own listing.
bool CNavMenu::fillOpeningPopup(CFolderMenu* lpTopMenu, CFolderMenu* lpChild, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  FILLINFO fillInfo;
  CFolderMenu* lpTempMenu = getTempMenu();
  if (lpTempMenu == NULL) {
    SLog::S_getSingleton()->write(0, "CNavMenu::handleInitPopup() failed : getTempMenu() failed");
    return false;
  }
  if (!lpTopMenu->getItemFillInfo(LOWORD(lParam), fillInfo)) {
    SLog::S_getSingleton()->write(
        0, "CNavMenu::handleInitPopup() failed : lp_top_menu->getItemFillInfo() failed");
    abandonFill(lpChild, lpTempMenu);
    return false;
  }
  if (!lpChild->fillFolderMenu(lpTempMenu, fillInfo, lpTopMenu->getType())) {
    SLog::S_getSingleton()->write(
        0,
        "CNavMenu::handleInitPopup() failed : lp_top_menu->lp_cur_temp_menu->fillFolderMenu() "
        "failed");
    abandonFill(lpChild, lpTempMenu);
    return false;
  }
  return true;
}

// A popup that never reached the stack is never emptied when it closes: the
// next opening would append to what this fill left. It opens empty instead,
// and the menu taken for its child goes back, so failures cost nothing.
void CNavMenu::abandonFill(CFolderMenu* lpChild, CFolderMenu* lpTempMenu) {
  KVX_CALLSTACK_TRACK;
  lpChild->clear();
  putTempMenu(lpTempMenu);
}

// Levels close from the top down. Wine, after a context menu tracked inside
// the Folder Menu, closes the root with its submenus still open and says
// nothing of them: they close with it, and their windows, which Wine leaves
// on screen, go once tracking has ended.
void CNavMenu::handleUnInitPopup(WPARAM wParam, LPARAM) {
  KVX_CALLSTACK_TRACK;
  const HMENU hPopup = reinterpret_cast<HMENU>(wParam);
  if (findOpenMenu(hPopup) != NULL) {
    while (m_MenuStack.back()->getHMENU() != hPopup) {
      m_LeftOverMenus.push_back(m_MenuStack.back()->getHMENU());
      closeTopLevel();
    }
    closeTopLevel();
  }
  m_MenuWindows.erase(hPopup);
}

// The closed level gives its own child back to the pool and loses its
// entries, but stays the child of the level below, ready to be refilled.
// The root menu keeps its entries for the next display.
void CNavMenu::closeTopLevel() {
  KVX_CALLSTACK_TRACK;
  CFolderMenu* lpTopMenu = m_MenuStack.back();
  const HMENU hMenu = lpTopMenu->getHMENU();
  if (lpTopMenu != &m_RootMenu) {
    putTempMenu(lpTopMenu->getSubFolderMenu());
    lpTopMenu->clear();
  }
  m_MenuStack.pop_back();
  m_MenuWindows.erase(hMenu);
}

CFolderMenu* CNavMenu::getTempMenu() {
  KVX_CALLSTACK_TRACK;
  CFolderMenu* lpMenu = NULL;
  if (!m_TempMenus.empty()) {
    lpMenu = m_TempMenus.back();
    m_TempMenus.pop_back();
  } else {
    lpMenu = new CFolderMenu();
    if (!lpMenu->init()) {
      SLog::S_getSingleton()->write(0,
                                    "CNavMenu::getTempMenu() falied: CFolderMenu::init() failed");
      delete lpMenu;
      lpMenu = NULL;
    }
  }
  if (lpMenu == NULL)
    SLog::S_getSingleton()->write(
        0, "CNavMenu::getTempMenu() failed: failed to create or recycle a temp menu.");
  return lpMenu;
}

void CNavMenu::putTempMenu(CFolderMenu* lpMenu) {
  KVX_CALLSTACK_TRACK;
  DrawMenuBar(m_hWnd);
  if (lpMenu == NULL) return;
  lpMenu->clear();
  m_TempMenus.push_back(lpMenu);
}

void CNavMenu::enableAllItems(bool bEnable) {
  KVX_CALLSTACK_TRACK;
  for (CFolderMenu* lpMenu : m_MenuStack) lpMenu->enableItems(bEnable);
  m_bItemsEnabled = bEnable;
}

void CNavMenu::getRootItemList(std::vector<ROOTITEM>& rList) {
  KVX_CALLSTACK_TRACK;
  rList = m_RootMenu.getRootItems();
}

HRESULT CNavMenu::handleContextMenuMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* lpResult) {
  KVX_CALLSTACK_TRACK;
  return m_ContextMenu.HandleMenuMsg(uMsg, wParam, lParam, lpResult);
}

// The submenu that held the clicked entry may be emptied before this
// arrives, so the path comes from the selection, kept here.
void CNavMenu::handleMenuCommand(WPARAM, LPARAM) {
  KVX_CALLSTACK_TRACK;
  if (m_SelectedPath.empty()) {
    if (!m_SelectedUnreachable.empty())
      S_logUnreachable("handleMenuCommand", m_SelectedUnreachable);
    return;
  }
  const std::string strPath = m_SelectedPath;
  if (!S_isAnswering("handleMenuCommand", strPath)) return;
  SLog* lpLog = SLog::S_getSingleton();
  lpLog->write(0, "open file: %s", strPath.c_str());
  const INT_PTR nResult = reinterpret_cast<INT_PTR>(
      ShellExecuteA(GetDesktopWindow(), NULL, strPath.c_str(), NULL, NULL, SW_SHOWNORMAL));
  if (nResult > 32) return;
  if (nResult == SE_ERR_NOASSOC) {
    lpLog->write(0,
                 "CNavMenu::handleMenuCommand() failed: (NOASSOC) ShellExecute() failed error: %i",
                 static_cast<int>(nResult));
    lpLog->write(0, "----Attempted to open: %s", strPath.c_str());
    openWithChooser(strPath);
    return;
  }
  lpLog->write(0, "CNavMenu::handleMenuCommand() failed: (OPEN) ShellExecute() failed error: %i",
               static_cast<int>(nResult));
  lpLog->write(0, "----Attempted to open: %s", strPath.c_str());
}

// Where the program's own look-up there has not come back, the shell's
// would hang as long, inside the menu loop: the entry is not opened.
bool CNavMenu::S_isAnswering(const char* lpszWhere, const std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  if (SFolderLister::S_getSingleton()->isAnswering(rPath)) return true;
  SLog::S_getSingleton()->write(0, "CNavMenu::%s() failed: %s is not answering", lpszWhere,
                                rPath.c_str());
  return false;
}

void CNavMenu::S_logUnreachable(const char* lpszWhere, const std::string& rSpelledPath) {
  KVX_CALLSTACK_TRACK;
  SLog::S_getSingleton()->write(
      0, "CNavMenu::%s() failed: (NAME) %s cannot be reached in this code page", lpszWhere,
      rSpelledPath.c_str());
}

// The system's open-with chooser takes the rest of its command line as the
// file name, spaces and all, so the path goes unquoted.
void CNavMenu::openWithChooser(const std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  char szSystem[MAX_PATH] = {0};
  const UINT nLength = GetSystemDirectoryA(szSystem, MAX_PATH);
  const char* lpszDirectory = (nLength > 0 && nLength < MAX_PATH) ? szSystem : NULL;
  const std::string strParameters = "shell32.dll,OpenAs_RunDLL " + rPath;
  const INT_PTR nResult =
      reinterpret_cast<INT_PTR>(ShellExecuteA(GetDesktopWindow(), "open", "RUNDLL32.EXE",
                                              strParameters.c_str(), lpszDirectory, SW_SHOWNORMAL));
  if (nResult <= 32)
    SLog::S_getSingleton()->write(
        0, "CNavMenu::handleMenuCommand() failed: (OPENWITH) ShellExecute() failed error: %i",
        static_cast<int>(nResult));
}
