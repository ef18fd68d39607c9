#include "navmenu.h"

#include "../diag/log.h"

CNavMenu::CNavMenu()
    : m_hWnd(NULL), m_bInContextMenu(false), m_nRootSel(-1), m_bItemsEnabled(true) {
  KVX_CALLSTACK_TRACK;
}

CNavMenu::~CNavMenu() { KVX_CALLSTACK_TRACK; }

bool CNavMenu::init(HWND hWnd) {
  KVX_CALLSTACK_TRACK;
  m_hWnd = hWnd;
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
bool CNavMenu::display(LONG x, LONG y) {
  KVX_CALLSTACK_TRACK;
  if (m_nRootSel >= 0) return false;
  m_bInContextMenu = false;
  m_RootMenu.enableItems(true);
  m_RootTempMenu.enableItems(true);
  m_bItemsEnabled = true;
  m_nRootSel = 0;

  SetCapture(m_hWnd);
  if (!TrackPopupMenuEx(m_RootMenu.getHMENU(), 0, x, y, m_hWnd, NULL)) {
    SLog::S_getSingleton()->writeLastError(
        0, "CNavMenu::display() Failed: TrackPopupMenuEx() failed with error: %i");
    m_nRootSel = -1;
    ReleaseCapture();
    return false;
  }
  ReleaseCapture();
  m_nRootSel = -1;
  return true;
}
