#ifndef PATHWICK_APP_MAINWIND_H
#define PATHWICK_APP_MAINWIND_H

#include <windows.h>

#include <cassert>
#include <string>
#include <vector>

#include "../diag/callstack.h"
#include "../diag/scoped.h"
#include "../diag/singleton.h"
#include "../menus/navmenu.h"
#include "../settings/saveload.h"
#include "hotkey.h"
#include "trayicon.h"

// Class of the hidden main window; a window of this class marks a running copy.
#define PATHWICK_WINDOW_CLASS "PathwickDummyWindow"
// A menu asked for while the start-up notice was up, opened once the
// notice's menu loop has ended: wParam 1 for the Folder Menu, 0 for the
// Configuration Menu, lParam how it was asked for (SMainWind::MENUOPENING).
#define PATHWICK_OPEN_MENU (WM_APP + 3)

LRESULT CALLBACK MainWindProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The hidden main window and everything that hangs off it. It owns menus,
// receives the tray callbacks and identifies the running copy; it is never shown.
class SMainWind : public SSingleton<SMainWind> {
 public:

  void init(HINSTANCE hInstance);
  // Everything the program made, in the order it goes; the main window's
  // singleton with it.
  static void S_endProgram();

  CNavMenu& getNavMenu() {
    KVX_CALLSTACK_TRACK;
    return m_NavMenu;
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

  // Takes the icon out of the notification area for good: a crashed
  // program's icon would stay there until the mouse passes over it.
  void removeTrayIcon();

  // Message handlers of MainWindProc.
  bool isTaskbarCreated(UINT uMsg) const;
  LRESULT onTaskbarCreated();
  LRESULT onClose();
  LRESULT onDestroy();
  LRESULT onQueryEndSession(LPARAM lParam);
  LRESULT onEndSession(WPARAM wParam);
  LRESULT onDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam);
  LRESULT onMeasureItem(HWND hwnd, WPARAM wParam, LPARAM lParam);
  LRESULT onCommand(WPARAM wParam);
  // WM_INITMENUPOPUP, WM_UNINITMENUPOPUP, WM_MENUSELECT, WM_MENURBUTTONUP
  // and WM_MENUCOMMAND: the Folder Menu's controller takes every one that
  // is not about the window's own menus.
  LRESULT onMenuMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  LRESULT onMenuChar(WPARAM wParam, LPARAM lParam);
  LRESULT onRButtonUp(WPARAM wParam, LPARAM lParam);
  LRESULT onTimer(HWND hwnd, WPARAM wParam, LPARAM lParam);
  LRESULT onNotedRightClick(WPARAM wParam);
  LRESULT onAssociationsChanged(LPARAM lParam);
  LRESULT onTrayNotify(LPARAM lParam);
  LRESULT onHotKey(WPARAM wParam);
  LRESULT onOpenMenu(WPARAM wParam, LPARAM lParam);

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
  void showStartupGreetings();
  void showLoadedNotice();

  // Folder Menu start-up: the navigation menu, and the root list handed to
  // its root menu.
  void initNavMenu();
  void giveRootItemsToRootMenu();

  // How a menu was asked for. A key opens it with its first entry
  // selected, and where it closes without a choice the focus goes back
  // where it was: to the notification area, or to the program that had it
  // when the hotkey was pressed.
  enum MENUOPENING { OPENED_BY_MOUSE, OPENED_BY_ICON_KEY, OPENED_BY_HOTKEY };
  void openMenu(bool bFolderMenu, MENUOPENING nOpening);
  bool isOwnMenu(HMENU hMenu) const;
  // Each returns whether a choice was made; the Configuration Menu's
  // command comes back in ruCommand, to be run once the menu has gone.
  bool openFolderMenu(const POINT& rAt, bool bSelectFirst);
  bool openConfigMenu(const POINT& rAt, bool bSelectFirst, UINT& ruCommand);
  void giveFocusBack(MENUOPENING nOpening, HWND hForegroundBefore);
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
  // Declared before the tray icon, so that it outlives the icon's removal.
  CIconHandle m_TrayIconImage;
  CTrayIcon m_TrayIcon;
  PROGRAMOPTIONS m_Options;
  CHotKey m_HotKey;
  // A menu asked for from the icon or by the hotkey is being tracked.
  bool m_bMenuTracked;
  // The shell broadcasts this when a new taskbar comes up, empty.
  UINT m_uTaskbarCreatedMsg;
  std::vector<ROOTITEM> m_StartupRootItems;
  // The start-up notice while it is tracked, else NULL.
  HMENU m_hNoticeMenu;
  // "Exit" was chosen: start-up shows nothing more.
  bool m_bExitChosen;
};

#endif
