#ifndef PATHWICK_MENUS_NAVMENU_H
#define PATHWICK_MENUS_NAVMENU_H

#include <windows.h>

#include <list>
#include <map>
#include <string>
#include <vector>

#include "../diag/callstack.h"
#include "../diag/scoped.h"
#include "../settings/rootitem.h"
#include "contextmenu.h"
#include "folderlister.h"
#include "foldermenu.h"
#include "rootmenu.h"

// A right-button release the menu loop saw, noted for the owner window;
// wParam numbers it.
#define PATHWICK_MENU_RIGHTCLICK (WM_APP + 1)
// The id of the icon warm-up's timer on the owner window.
const UINT_PTR kWarmUpTimer = 0x5057;

// Drives the Folder Menu from the tray click until it closes. Every folder
// and group entry of a menu opens that menu's one child popup, which is
// filled in the instant before it shows, from the position of the entry
// that opened it, and emptied when it closes. Filling takes an empty popup
// from a pool to become the new level's own child, so the cascade goes as
// deep as the folders do while only the open levels hold entries.
class CNavMenu {
 public:
  CNavMenu();
  ~CNavMenu();

  // What every Folder Menu draws and lists with, kept until the process
  // ends: the menu font, the arrow and folder bitmaps from the program's
  // resources, the icon cache, whose bitmaps are made for hIconWindow, with
  // its seeded file types, and the folder lister with its thread.
  static void S_loadDrawingResources(HINSTANCE hInstance, HWND hIconWindow);
  // Remembers the owner window and creates the two member menus.
  bool init(HWND hWnd);
  // Shows the Folder Menu at a screen point; returns when it closes. False
  // at once while a Folder Menu is already up. bSelectFirst: opened by a
  // key, it opens with its first entry selected, so the arrow keys and
  // typed letters work at once.
  bool display(LONG x, LONG y, bool bSelectFirst = false);
  // The menu that has just closed left a choice to open: its WM_MENUCOMMAND
  // waits in the queue.
  bool hasChoiceWaiting() const;
  // WM_MENUCHAR: type-ahead in an open level. False for any other menu, and
  // while the shell's context menu is up: its relay answers then.
  bool handleMenuChar(WPARAM wParam, LPARAM lParam, LRESULT& rResult);

  // The menu messages of the Folder Menu, each to its handler below.
  LRESULT handleMenuMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  LRESULT handleInitPopup(WPARAM wParam, LPARAM lParam);
  void handleUnInitPopup(WPARAM wParam, LPARAM lParam);
  // Opens the entry last selected; the message's own position is not used.
  void handleMenuCommand(WPARAM wParam, LPARAM lParam);
  // Disabled entries keep their look: see CFolderMenu::enableItems.
  void enableAllItems(bool bEnable);
  CFolderMenu* getTempMenu();
  void putTempMenu(CFolderMenu* lpMenu);
  void getRootItemList(std::vector<ROOTITEM>& rList);
  // The root list the Folder Menu shows; the icons of its listings are
  // fetched again, ahead of the first click (see startIconWarmUp).
  bool setRootItems(std::vector<ROOTITEM>& rList);

  // Icon warm-up (navwarm.cpp): the icon cache is asked, ahead of time, for
  // the file types that the roots' own listings show, roots on fixed local
  // drives only. startIconWarmUp begins it anew on a timer, one step per
  // tick; a timer comes only when no input or other message waits, so the
  // program answers throughout.
  void startIconWarmUp();
  // One listing or one shell query; false when nothing was left to do.
  bool stepIconWarmUp();
  // The warm-up's ticks; false for any other timer.
  bool handleTimer(WPARAM nTimerId);
  // The whole warm-up at once; returns how many types it asked for, past
  // the first query that every process pays.
  size_t warmRootListingIcons();
  HRESULT handleContextMenuMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* lpResult);

  // Hover tracking and right-click (navhover.cpp).
  LRESULT handleMenuSelect(WPARAM wParam, LPARAM lParam);
  bool drawItemChange(HMENU hMenu, int nItem, bool bSelected);
  bool getMouseItem(CFolderMenu** lplpMenu, int& rnPos);
  // WM_MENURBUTTONUP and WM_RBUTTONUP; the entry is found from the cursor.
  void handleMenuRightClick(WPARAM wParam, LPARAM lParam);
  // PATHWICK_MENU_RIGHTCLICK: a release the system reported as
  // WM_MENURBUTTONUP already is not handled again.
  void handleNotedRightClick(WPARAM wParam);
  // Where the system differs from Windows: decided at init, changed only by
  // a test build that delivers what Windows delivers.
  void setWineRoad(bool bWineRoad) {
    KVX_CALLSTACK_TRACK;
    m_bWineRoad = bWineRoad;
  }

  CRootMenu& getRootMenu() {
    KVX_CALLSTACK_TRACK;
    return m_RootMenu;
  }
  // Idle menus in the pool and levels open now.
  size_t getTempMenuCount() const {
    KVX_CALLSTACK_TRACK;
    return m_TempMenus.size();
  }
  size_t getOpenMenuCount() const {
    KVX_CALLSTACK_TRACK;
    return m_MenuStack.size();
  }

  CNavMenu(const CNavMenu&) = delete;
  CNavMenu& operator=(const CNavMenu&) = delete;

 private:
  bool fillOpeningPopup(CFolderMenu* lpTopMenu, CFolderMenu* lpChild, LPARAM lParam);
  void abandonFill(CFolderMenu* lpChild, CFolderMenu* lpTempMenu);
  CFolderMenu* findOpenMenu(HMENU hMenu) const;
  void openWithChooser(const std::string& rPath);
  static void S_logUnreachable(const char* lpszWhere, const std::string& rSpelledPath);
  static bool S_isAnswering(const char* lpszWhere, const std::string& rPath);
  // The warm-up from its first step again, its timer left as it is.
  void resetIconWarmUp();
  void stepWarmListing();
  void deleteLentAndPooledMenus();
  void closeTopLevel();
  void prepareAt(const POINT& rPoint);
  void closeLeftOverLevels();

  void reenableAfterContextMenu(UINT uFlags);
  void rememberMenuWindow(HMENU hMenu);
  void redrawHighlight(HMENU hMenu, int nItem);
  HWND getMenuWindow(HMENU hMenu) const;
  static HWND S_findMenuWindow(HMENU hMenu);
  void showContextMenuAtCursor();
  void takeMouseBackOnWine(HWND hForegroundBefore);
  static bool S_isWine();
  void installRightClickHook();
  void removeRightClickHook();
  static LRESULT CALLBACK S_MenuMsgFilterProc(int nCode, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd;
  CContextMenu m_ContextMenu;
  std::vector<CFolderMenu*> m_MenuStack;  // the open popups, bottom to top
  std::list<CFolderMenu*> m_TempMenus;    // idle, cleared; last in, first out
  std::map<HMENU, HWND> m_MenuWindows;    // the on-screen window of each open popup
  std::vector<HMENU> m_LeftOverMenus;     // closed unasked while tracked
  std::string m_SelectedPath;
  // The selected entry as its label spells it, where no name of this code
  // page leads to it: its click has nothing to open, only this to log.
  std::string m_SelectedUnreachable;
  CRootMenu m_RootMenu;
  CFolderMenu m_RootTempMenu;
  bool m_bInContextMenu;
  // -1 while no Folder Menu is shown; only its sign is consulted.
  int m_nRootSel;
  bool m_bItemsEnabled;
  int m_nDisabledSelects;

  // Wine never sends WM_MENURBUTTONUP: there the menu loop's right-button
  // releases are seen through a message filter and posted as notes. Where
  // a release is reported both ways, the count of the last one handled
  // keeps it from being handled twice.
  bool m_bWineRoad;
  CHookHandle m_MsgFilterHook;
  unsigned long m_nRightClicksNoted;
  unsigned long m_nRightClicksHandled;

  // Where the warm-up stands: the first query still to make, the next root
  // to list, the root being listed and since when, one file of each type
  // found and not asked for yet, and how many types were asked for.
  bool m_bWarmFirstQuery;
  size_t m_nWarmNextRoot;
  FILLINFO m_WarmFillInfo;
  FOLDERWORKREF m_WarmListing;
  DWORD m_dwWarmListingStart;
  std::vector<std::string> m_WarmPaths;
  size_t m_nWarmQueried;
  static CNavMenu* S_lpHookOwner;
};

#endif
