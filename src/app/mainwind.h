#ifndef PATHWICK_APP_MAINWIND_H
#define PATHWICK_APP_MAINWIND_H

#include <windows.h>

#include <cassert>

#include "../diag/callstack.h"
#include "../menus/navmenu.h"

// Class of the hidden main window; a window of this class marks a running copy.
#define PATHWICK_WINDOW_CLASS "PathwickDummyWindow"

LRESULT CALLBACK MainWindProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The hidden main window and everything that hangs off it. It owns menus,
// receives the tray callbacks and identifies the running copy; it is never shown.
class SMainWind {
 public:
  static void S_createSingleton();
  static void S_destroySingleton();
  static SMainWind* S_getSingleton() {
    KVX_CALLSTACK_TRACK;
    assert(S_lpSingleton != NULL);
    return S_lpSingleton;
  }

  void init(HINSTANCE hInstance);

  HINSTANCE getInstance() const { return m_hInstance; }
  HWND getHWND() const { return m_hWnd; }

  // Message handlers of MainWindProc.
  LRESULT onDestroy();
  LRESULT onMeasureItem(WPARAM wParam, MEASUREITEMSTRUCT* lpMeasure);
  LRESULT onDrawItem(WPARAM wParam, DRAWITEMSTRUCT* lpDraw);

 private:
  SMainWind();
  ~SMainWind();
  SMainWind(const SMainWind&) = delete;
  SMainWind& operator=(const SMainWind&) = delete;

  void registerWindowClass();
  void createMainWindow();
  void showLoadedNotice();

  // Folder Menu start-up: drawing resources, icon cache, folder bitmaps,
  // the navigation menu and its root list.
  void loadMenuDrawing();
  void setupIconCache();
  void loadFolderBitmaps();
  void initNavMenu();
  void loadRootList();
  LRESULT relayToContextMenu(UINT uMsg, WPARAM wParam, LPARAM lParam);

  static SMainWind* S_lpSingleton;

  HINSTANCE m_hInstance;
  HWND m_hWnd;
  HMENU m_hConfigMenu;
  CNavMenu m_NavMenu;
};

#endif
