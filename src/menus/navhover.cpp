// The navigation menu's hover tracking and right-click road: which entry is
// under the mouse, its highlight, and the shell's context menu for it.
#include "../diag/log.h"
#include "../diag/scoped.h"
#include "navmenu.h"

namespace {

const char kMenuWindowClass[] = "#32768";

struct MENUWINDOWSEARCH {
  HMENU hMenu;
  HWND hFound;
};

HMENU menuOfWindow(HWND hWnd) {
  KVX_CALLSTACK_TRACK;
  return reinterpret_cast<HMENU>(SendMessageA(hWnd, MN_GETHMENU, 0, 0));
}

BOOL CALLBACK findMenuWindow(HWND hWnd, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  MENUWINDOWSEARCH* lpSearch = reinterpret_cast<MENUWINDOWSEARCH*>(lParam);
  char szClass[16] = {0};
  GetClassNameA(hWnd, szClass, sizeof(szClass));
  if (lstrcmpA(szClass, kMenuWindowClass) != 0 || menuOfWindow(hWnd) != lpSearch->hMenu)
    return TRUE;
  lpSearch->hFound = hWnd;
  return FALSE;
}

}  // namespace

// Selections inside the shell's context menu are not ours. The report the
// system sends as the menu closes names no menu: the path of the clicked
// entry must survive it.
LRESULT CNavMenu::handleMenuSelect(WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  if (m_bInContextMenu) return 0;
  const int nItem = LOWORD(wParam);
  const UINT uFlags = HIWORD(wParam);
  const HMENU hMenu = reinterpret_cast<HMENU>(lParam);
  if (hMenu == NULL) return 0;
  if (hMenu == m_RootMenu.getHMENU()) m_nRootSel = nItem;
  reenableAfterContextMenu(uFlags);
  rememberMenuWindow(hMenu);
  CFolderMenu* lpMenu = findOpenMenu(hMenu);
  if (lpMenu != NULL) {
    lpMenu->getItemPath(nItem, m_SelectedPath);
    m_SelectedUnreachable =
        m_SelectedPath.empty() ? lpMenu->getItemSpelledPath(nItem) : std::string();
  }
  redrawHighlight(hMenu, nItem);
  return 0;
}

// After a context menu the entries stay disabled: the first plain entry the
// mouse reaches is let be, the second enables everything, and an entry that
// opens a submenu does so at once, or its submenu could not open.
void CNavMenu::reenableAfterContextMenu(UINT uFlags) {
  KVX_CALLSTACK_TRACK;
  if ((uFlags & MF_DISABLED) == 0 || (uFlags & MF_GRAYED) != 0) return;
  ++m_nDisabledSelects;
  if (m_nDisabledSelects > 1 || (uFlags & MF_POPUP) != 0) {
    enableAllItems(true);
    m_nDisabledSelects = 0;
  }
}

// The first selection in a menu comes just after its window came up, on top
// of the others. Where the topmost window shows another menu, the menu
// windows are asked which one shows this menu.
void CNavMenu::rememberMenuWindow(HMENU hMenu) {
  KVX_CALLSTACK_TRACK;
  if (m_MenuWindows.find(hMenu) != m_MenuWindows.end()) return;
  HWND hWnd = FindWindowA(kMenuWindowClass, NULL);
  if (hWnd != NULL && menuOfWindow(hWnd) != hMenu) {
    const HWND hShowing = S_findMenuWindow(hMenu);
    if (hShowing != NULL) hWnd = hShowing;
  }
  m_MenuWindows[hMenu] = hWnd;
}

// This thread's menu window that shows hMenu, or null.
HWND CNavMenu::S_findMenuWindow(HMENU hMenu) {
  KVX_CALLSTACK_TRACK;
  MENUWINDOWSEARCH search = {hMenu, NULL};
  EnumThreadWindows(GetCurrentThreadId(), findMenuWindow, reinterpret_cast<LPARAM>(&search));
  return search.hFound;
}

HWND CNavMenu::getMenuWindow(HMENU hMenu) const {
  KVX_CALLSTACK_TRACK;
  const std::map<HMENU, HWND>::const_iterator it = m_MenuWindows.find(hMenu);
  return it == m_MenuWindows.end() ? NULL : it->second;
}

// The topmost level wins: a popup may be open at two depths over time, but
// only its latest opening is on the stack.
CFolderMenu* CNavMenu::findOpenMenu(HMENU hMenu) const {
  KVX_CALLSTACK_TRACK;
  for (std::vector<CFolderMenu*>::const_reverse_iterator it = m_MenuStack.rbegin();
       it != m_MenuStack.rend(); ++it)
    if ((*it)->getHMENU() == hMenu) return *it;
  return NULL;
}

// Disabled entries get no highlight from the system, so every entry is
// drawn again with exactly the hovered one selected. A menu taller than its
// monitor scrolls, and its rectangles would not match what is shown; the
// menu's own monitor counts, which on a second screen is not the primary.
void CNavMenu::redrawHighlight(HMENU hMenu, int nItem) {
  KVX_CALLSTACK_TRACK;
  const int nCount = GetMenuItemCount(hMenu);
  if (nCount <= 0) return;
  const HWND hMenuWnd = getMenuWindow(hMenu);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  RECT rcLast = {0, 0, 0, 0};
  if (!GetMonitorInfoA(MonitorFromWindow(hMenuWnd, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  if (!GetMenuItemRect(hMenuWnd, hMenu, nCount - 1, &rcLast)) return;
  if (rcLast.bottom >= monitor.rcMonitor.bottom) return;
  for (int k = 0; k < nCount; ++k) drawItemChange(hMenu, k, k == nItem);
}

// A draw request of our own, answered by the entry's CMenuItem through the
// owner window, as a request from the system would be.
bool CNavMenu::drawItemChange(HMENU hMenu, int nItem, bool bSelected) {
  KVX_CALLSTACK_TRACK;
  if (nItem < 0) return false;
  MENUITEMINFOA info;
  ZeroMemory(&info, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_DATA | MIIM_FTYPE;
  if (!GetMenuItemInfoA(hMenu, static_cast<UINT>(nItem), TRUE, &info)) return false;
  if ((info.fType & MFT_OWNERDRAW) == 0) return true;
  if (info.dwItemData == 0) return false;
  const HWND hMenuWnd = getMenuWindow(hMenu);
  if (hMenuWnd == NULL)
    SLog::S_getSingleton()->write(0, "CNavMenu::drawItemChange(): error getting menu_hwnd");

  // Without the window the screen's context takes screen coordinates.
  RECT rcItem = {0, 0, 0, 0};
  GetMenuItemRect(hMenuWnd, hMenu, static_cast<UINT>(nItem), &rcItem);
  MapWindowPoints(NULL, hMenuWnd, reinterpret_cast<POINT*>(&rcItem), 2);
  const CWindowDC menuDC(hMenuWnd);
  if (menuDC.get() == NULL) return false;
  DRAWITEMSTRUCT draw;
  ZeroMemory(&draw, sizeof(draw));
  draw.CtlType = ODT_MENU;
  draw.CtlID = 0;
  draw.itemID = static_cast<UINT>(nItem);
  draw.itemAction = ODA_SELECT;
  draw.itemState = bSelected ? ODS_SELECTED : 0;
  draw.hwndItem = reinterpret_cast<HWND>(hMenu);
  draw.hDC = menuDC.get();
  draw.rcItem = rcItem;
  draw.itemData = info.dwItemData;
  SendMessageA(m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  return true;
}

// The topmost open submenu wins where menus overlap.
bool CNavMenu::getMouseItem(CFolderMenu** lplpMenu, int& rnPos) {
  KVX_CALLSTACK_TRACK;
  POINT ptCursor = {0, 0};
  GetCursorPos(&ptCursor);
  for (std::vector<CFolderMenu*>::reverse_iterator it = m_MenuStack.rbegin();
       it != m_MenuStack.rend(); ++it) {
    const HWND hMenuWnd = getMenuWindow((*it)->getHMENU());
    if (hMenuWnd == NULL) continue;
    const int nPos = MenuItemFromPoint(hMenuWnd, (*it)->getHMENU(), ptCursor);
    if (nPos < 0) continue;
    *lplpMenu = *it;
    rnPos = nPos;
    return true;
  }
  SLog::S_getSingleton()->write(0, "getMouseItem() failed - unable to find the item.");
  return false;
}

// The system's own report of a right-button release on an entry. It comes
// while the menu loop handles the release, so the release the message
// filter noted last (if any) is this one: marked handled, its posted note
// does nothing. Releases inside the shell's menu are that menu's.
void CNavMenu::handleMenuRightClick(WPARAM, LPARAM) {
  KVX_CALLSTACK_TRACK;
  if (m_bInContextMenu) return;
  m_nRightClicksHandled = m_nRightClicksNoted;
  showContextMenuAtCursor();
}

void CNavMenu::handleNotedRightClick(WPARAM wParam) {
  KVX_CALLSTACK_TRACK;
  const unsigned long nClick = static_cast<unsigned long>(wParam);
  if (nClick <= m_nRightClicksHandled) return;
  m_nRightClicksHandled = nClick;
  showContextMenuAtCursor();
}

// The entries are disabled, not grayed, while the shell's menu is up, and
// stay so until the mouse moves on (handleMenuSelect): a right-click right
// after it closed does nothing.
void CNavMenu::showContextMenuAtCursor() {
  KVX_CALLSTACK_TRACK;
  POINT ptCursor = {0, 0};
  GetCursorPos(&ptCursor);
  CFolderMenu* lpMenu = NULL;
  int nPos = -1;
  if (!getMouseItem(&lpMenu, nPos)) {
    SLog::S_getSingleton()->write(
        0, "CNavMenu::handleMenuRightClick() failed - getMouseItem() failed");
    return;
  }
  std::string strPath;
  lpMenu->getItemPath(nPos, strPath);
  if (strPath.empty()) {
    const std::string strSpelled = lpMenu->getItemSpelledPath(nPos);
    if (!strSpelled.empty()) S_logUnreachable("handleMenuRightClick", strSpelled);
    return;
  }
  if (m_bInContextMenu || m_nRootSel < 0 || !m_bItemsEnabled) return;
  if (!S_isAnswering("handleMenuRightClick", strPath)) return;
  enableAllItems(false);
  m_bInContextMenu = true;
  const HWND hForeground = GetForegroundWindow();
  if (!m_ContextMenu.displayContextMenu(m_hWnd, strPath, ptCursor.x, ptCursor.y)) {
    SLog::S_getSingleton()->write(
        0, "CNavMenu::handleMenuRightClick() failed: displayContextMenu() failed %s",
        strPath.c_str());
    SLog::S_getSingleton()->write(0, "----cur obj = %s", strPath.c_str());
  }
  m_bInContextMenu = false;
  if (m_bWineRoad) takeMouseBackOnWine(hForeground);
}

// Wine's nested menu loop lets go of the mouse as it ends, which leaves the
// Folder Menu deaf to clicks outside it. The system's own menu loop keeps
// its capture, so this is done only under Wine, only where nobody holds the
// mouse, and the foreground is taken back only where no window (one the
// chosen command opened) has taken it meanwhile.
void CNavMenu::takeMouseBackOnWine(HWND hForegroundBefore) {
  KVX_CALLSTACK_TRACK;
  if (GetCapture() != NULL) return;
  const HWND hForeground = GetForegroundWindow();
  if (hForeground == NULL || hForeground == hForegroundBefore) SetForegroundWindow(m_hWnd);
  SetCapture(m_hWnd);
}

// Wine's ntdll names its version; the system's does not.
bool CNavMenu::S_isWine() {
  KVX_CALLSTACK_TRACK;
  const HMODULE hNtdll = GetModuleHandleA("ntdll.dll");
  return hNtdll != NULL && GetProcAddress(hNtdll, "wine_get_version") != NULL;
}

// Only for as long as the Folder Menu is tracked, and only under Wine,
// which never sends WM_MENURBUTTONUP.
void CNavMenu::installRightClickHook() {
  KVX_CALLSTACK_TRACK;
  if (!m_bWineRoad) return;
  S_lpHookOwner = this;
  m_MsgFilterHook.reset(
      SetWindowsHookExA(WH_MSGFILTER, S_MenuMsgFilterProc, NULL, GetCurrentThreadId()));
  if (!m_MsgFilterHook.valid())
    SLog::S_getSingleton()->writeLastError(
        0, "CNavMenu::display() failed: SetWindowsHookEx() failed with error: %i");
}

void CNavMenu::removeRightClickHook() {
  KVX_CALLSTACK_TRACK;
  m_MsgFilterHook.reset();
  if (S_lpHookOwner == this) S_lpHookOwner = NULL;
}

// Notes the menu loop's right-button release and leaves it to the loop: the
// shell's menu is not run from inside the filter, but from the note posted
// to the owner window, which the menu loop dispatches once it has handled
// the release. Inside the shell's menu the release is that menu's.
LRESULT CALLBACK CNavMenu::S_MenuMsgFilterProc(int nCode, WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  CNavMenu* lpOwner = S_lpHookOwner;
  const MSG* lpMsg = reinterpret_cast<const MSG*>(lParam);
  if (nCode == MSGF_MENU && lpOwner != NULL && lpMsg != NULL && lpMsg->message == WM_RBUTTONUP &&
      !lpOwner->m_bInContextMenu)
    PostMessageA(lpOwner->m_hWnd, PATHWICK_MENU_RIGHTCLICK, ++lpOwner->m_nRightClicksNoted, 0);
  return CallNextHookEx(NULL, nCode, wParam, lParam);
}
