#ifndef PATHWICK_APP_MAINWIND_H
#define PATHWICK_APP_MAINWIND_H

#include <windows.h>

#include <cassert>
#include <string>
#include <vector>

#include "../diag/callstack.h"
#include "../diag/singleton.h"
#include "../menus/navmenu.h"
#include "../settings/saveload.h"
#include "trayicon.h"

// Class of the hidden main window; a window of this class marks a running copy.
#define PATHWICK_WINDOW_CLASS "PathwickDummyWindow"

// Commands of the Configuration Menu. The range is its own: the Folder Menu's
// entries carry small positions and the shell's context menu 0x8000 and up.
enum {
  IDM_EDIT_FOLDER_MENU = 2000,
  IDM_PROGRAM_OPTIONS = 2001,
  IDM_EXIT = 2002,
  IDM_ABOUT = 2003,
  IDM_PROGRAM_HELP = 2004
};

LRESULT CALLBACK MainWindProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The hidden main window and everything that hangs off it. It owns menus,
// receives the tray callbacks and identifies the running copy; it is never shown.
class SMainWind : public SSingleton<SMainWind> {
 public:

  void init(HINSTANCE hInstance);

  HINSTANCE getInstance() const {
    KVX_CALLSTACK_TRACK;
    return m_hInstance;
  }
  HWND getHWND() const {
    KVX_CALLSTACK_TRACK;
    return m_hWnd;
  }
  const PROGRAMOPTIONS& getOptions() const {
    KVX_CALLSTACK_TRACK;
    return m_Options;
  }
  // The root list read at start-up ("C Drive" when none is stored), as it
  // was handed to the root menu.
  const std::vector<ROOTITEM>& getStartupRootItems() const {
    KVX_CALLSTACK_TRACK;
    return m_StartupRootItems;
  }

  // Message handlers of MainWindProc.
  bool isTaskbarCreated(UINT uMsg) const;
  LRESULT onTaskbarCreated();
  LRESULT onDestroy();
  LRESULT onDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam);
  LRESULT onMeasureItem(HWND hwnd, WPARAM wParam, LPARAM lParam);
  LRESULT onCommand(WPARAM wParam);
  LRESULT onInitMenuPopup(WPARAM wParam, LPARAM lParam);
  LRESULT onUnInitMenuPopup(WPARAM wParam, LPARAM lParam);
  LRESULT onMenuSelect(WPARAM wParam, LPARAM lParam);
  LRESULT onMenuChar(WPARAM wParam, LPARAM lParam);
  LRESULT onMenuRButtonUp(WPARAM wParam, LPARAM lParam);
  LRESULT onRButtonUp(WPARAM wParam, LPARAM lParam);
  LRESULT onMenuCommand(WPARAM wParam, LPARAM lParam);
  LRESULT onTrayNotify(LPARAM lParam);

 private:
  SMainWind();
  ~SMainWind();
  friend class SSingleton<SMainWind>;

  void registerWindowClass();
  void createMainWindow();
  void allowTaskbarCreated();
  void addTrayIcon();
  bool buildConfigMenu();
  void loadRootItems();
  void createDialogs();
  void showLoadedNotice();
  bool closeLoadedNotice(LPARAM lParam);

  // Folder Menu start-up: drawing resources, icon cache, folder bitmaps,
  // the navigation menu, and the root list handed to its root menu.
  void loadMenuDrawing();
  void setupIconCache();
  void loadFolderBitmaps();
  void initNavMenu();
  void giveRootItemsToRootMenu();

  bool isOwnMenu(HMENU hMenu) const;
  bool openFolderMenu(LONG x, LONG y);
  void openConfigMenu(LONG x, LONG y);
  HRESULT relayContextMenuMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* lpResult);

  void onEditFolderMenu();
  void onProgramOptions();
  void onExit();
  void onAbout();
  void onProgramHelp();

  HINSTANCE m_hInstance;
  HWND m_hWnd;
  HMENU m_hConfigMenu;
  CNavMenu m_NavMenu;
  CTrayIcon m_TrayIcon;
  PROGRAMOPTIONS m_Options;
  // The shell broadcasts this when a new taskbar comes up, empty.
  UINT m_uTaskbarCreatedMsg;
  std::vector<ROOTITEM> m_StartupRootItems;
  // The start-up notice while it is tracked, else NULL.
  HMENU m_hNoticeMenu;
};

#endif
