#ifndef PATHWICK_MENUS_NAVMENU_H
#define PATHWICK_MENUS_NAVMENU_H

#include <windows.h>

#include <vector>

#include "../diag/callstack.h"
#include "foldermenu.h"
#include "rootmenu.h"

// Drives the Folder Menu from the tray click until it closes: owns the root
// menu and the popup that every root entry opens, and tracks the root menu
// for the owner window, which receives every menu message.
class CNavMenu {
 public:
  CNavMenu();
  ~CNavMenu();

  // Remembers the owner window and creates the two member menus.
  bool init(HWND hWnd);
  // Shows the Folder Menu at a screen point; returns when it closes. False
  // at once while a Folder Menu is already up.
  bool display(LONG x, LONG y);

  CRootMenu& getRootMenu() {
    KVX_CALLSTACK_TRACK;
    return m_RootMenu;
  }
  // A copy of the roots the Folder Menu shows, in menu order.
  void getRootItemList(std::vector<ROOTITEM>& rList) const {
    KVX_CALLSTACK_TRACK;
    rList = m_RootMenu.getRootItems();
  }

  CNavMenu(const CNavMenu&) = delete;
  CNavMenu& operator=(const CNavMenu&) = delete;

 private:
  HWND m_hWnd;
  CRootMenu m_RootMenu;
  CFolderMenu m_RootTempMenu;
  bool m_bInContextMenu;
  // -1 while no Folder Menu is shown; only its sign is consulted.
  int m_nRootSel;
  bool m_bItemsEnabled;
};

#endif
