#include "mainwind.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>

#include "../diag/log.h"
#include "../diag/pathtext.h"
#include "../diag/signals.h"
#include "../dialogs/aboutdlg.h"
#include "../dialogs/addeditdlg.h"
#include "../dialogs/editrootdlg.h"
#include "../dialogs/optionsdlg.h"
#include "../dialogs/splashdlg.h"
#include "../dialogs/trayhelpdlg.h"
#include "../menus/folderlister.h"
#include "../menus/iconmgr.h"
#include "../menus/menuitem.h"
#include "../menus/menukeys.h"
#include "../resources/resource.h"
#include "appicon.h"

namespace {

struct CONFIGMENUENTRY {
  UINT uFlags;
  UINT_PTR uID;
  const char* lpszText;
};

const CONFIGMENUENTRY kConfigMenuEntries[] = {
    {MF_STRING, IDM_PROGRAM_HELP, "Program Help..."},
    {MF_STRING, IDM_ABOUT, "About..."},
    {MF_SEPARATOR, 0, NULL},
    {MF_STRING, IDM_EDIT_FOLDER_MENU, "Edit Folder Menu..."},
    {MF_STRING, IDM_PROGRAM_OPTIONS, "Program Options..."},
    {MF_SEPARATOR, 0, NULL},
    {MF_STRING, IDM_EXIT, "Exit"},
};

// "docs\index.html" in the program's folder.
std::string helpFilePath() {
  KVX_CALLSTACK_TRACK;
  return programFolder() + "docs\\index.html";
}

}  // namespace

// m_Options starts with the defaults of a first start; loadOptions overwrites
// what it can read.
SMainWind::SMainWind()
    : m_hInstance(NULL),
      m_hWnd(NULL),
      m_hConfigMenu(NULL),
      m_bMenuTracked(false),
      m_uTaskbarCreatedMsg(0),
      m_hNoticeMenu(NULL),
      m_bExitChosen(false) {}

// The tray icon takes itself out of the notification area as it goes.
SMainWind::~SMainWind() {}

void SMainWind::init(HINSTANCE hInstance) {
  m_hInstance = hInstance;
  // Known before the window exists, so no broadcast can slip past.
  m_uTaskbarCreatedMsg = RegisterWindowMessageA("TaskbarCreated");
  registerWindowClass();
  createMainWindow();
  allowTaskbarCreated();
  // The window only owns menus and receives callbacks; it is never shown.
  ShowWindow(m_hWnd, SW_HIDE);
  // The Folder Menu is ready before the tray icon makes it reachable.
  CNavMenu::S_loadDrawingResources(m_hInstance, m_hWnd);
  SIconMgr::S_getSingleton()->watchAssociationChanges(PATHWICK_ASSOC_CHANGED);
  initNavMenu();
  addTrayIcon();
  if (!buildConfigMenu()) return;
  loadOptions(m_Options);
  // A combination another program holds is logged and stays stored.
  m_HotKey.setWindow(m_hWnd);
  m_HotKey.use(m_Options.HotKey);
  loadRootItems();
  giveRootItemsToRootMenu();
  createDialogs();
  showStartupGreetings();
}

// The icon answers while these are up, so "Exit" can be chosen from any of
// them: the dialog's own loop ends on the quit and passes it on, and
// nothing after it is shown, as the notice's menu loop would swallow it.
void SMainWind::showStartupGreetings() {
  KVX_CALLSTACK_TRACK;
  // Owned by the hidden window, the splash gets no taskbar button: it is
  // no window to switch to.
  if (m_Options.SplashScreenAtStartup) SSplashDlg::S_showAtStartup(m_hInstance, m_hWnd);
  if (m_bExitChosen) return;
  STrayHelpDlg::S_showAtStartup(m_hInstance, m_hWnd, m_Options);
  if (m_bExitChosen) return;
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
    SLog::S_getSingleton()->writeLastError(
        0, "SMainWind::init() failed: RegisterClassEx() failed with error: %i");
    exit(0);
  }
}

void SMainWind::createMainWindow() {
  KVX_CALLSTACK_TRACK;
  m_hWnd = CreateWindowExA(0, PATHWICK_WINDOW_CLASS, "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 100, 100, NULL, NULL, m_hInstance, NULL);
  if (m_hWnd == NULL) {
    SLog::S_getSingleton()->writeLastError(
        0, "SMainWind::init() failed: CreateWindowEx() failed with error: %i");
    exit(0);
  }
}

// A copy started elevated would never hear of a new taskbar: the system
// drops messages from the unelevated shell unless the window lets them in.
// The call exists from Windows 7 on, so it is looked up at run time.
void SMainWind::allowTaskbarCreated() {
  KVX_CALLSTACK_TRACK;
  typedef BOOL(WINAPI * FilterFn)(HWND, UINT, DWORD, void*);
  const HMODULE hUser = GetModuleHandleA("user32.dll");
  const FilterFn lpFilter = hUser == NULL ? NULL
                                          : reinterpret_cast<FilterFn>(reinterpret_cast<void*>(
                                                GetProcAddress(hUser, "ChangeWindowMessageFilterEx")));
  if (lpFilter == NULL || m_uTaskbarCreatedMsg == 0) return;
  if (!lpFilter(m_hWnd, m_uTaskbarCreatedMsg, MSGFLT_ALLOW, NULL))
    SLog::S_getSingleton()->writeLastError(
        0, "SMainWind::init() failed: ChangeWindowMessageFilterEx() failed with error: %i");
}

void SMainWind::addTrayIcon() {
  KVX_CALLSTACK_TRACK;
  m_TrayIconImage.reset(appicon::load(m_hInstance, IDI_PATHWICK_SM, appicon::SMALL));
  m_TrayIcon.setInfo(m_hWnd, m_TrayIconImage.get(), 0, "Pathwick Pro");
  m_TrayIcon.add();
}

void SMainWind::removeTrayIcon() {
  KVX_CALLSTACK_TRACK;
  m_TrayIcon.remove();
}

// False when an entry could not be added: a menu with entries missing would
// run the wrong commands, so start-up stops short.
bool SMainWind::buildConfigMenu() {
  KVX_CALLSTACK_TRACK;
  m_hConfigMenu = CreatePopupMenu();
  if (m_hConfigMenu == NULL)
    SLog::S_getSingleton()->writeLastError(
        0, "SMainWind::init() failed: CreatePopupMenu() failed with error: %i");
  for (const CONFIGMENUENTRY& rEntry : kConfigMenuEntries) {
    if (!AppendMenuA(m_hConfigMenu, rEntry.uFlags, rEntry.uID, rEntry.lpszText)) {
      SLog::S_getSingleton()->writeLastError(
          0, "SMainWind::init() failed: InsertMenuItem() failed with error: %i");
      return false;
    }
  }
  return true;
}

// With nothing stored the user still gets one root to browse. It is not
// written back: the list is stored only when the user saves it.
void SMainWind::loadRootItems() {
  KVX_CALLSTACK_TRACK;
  loadMenuItems(m_StartupRootItems);
  if (!m_StartupRootItems.empty()) return;
  ROOTITEM defaultRoot;
  defaultRoot.str_name = "C Drive";
  defaultRoot.str_path = "C:\\";
  defaultRoot.sort_type = SORT_ABC;
  defaultRoot.max_no_sort = 25;
  m_StartupRootItems.push_back(defaultRoot);
}

void SMainWind::initNavMenu() {
  KVX_CALLSTACK_TRACK;
  if (!m_NavMenu.init(m_hWnd))
    SLog::S_getSingleton()->write(0, "SMainWind::init() failed: m_NavMenu.init() failed.");
}

// The root menu is built once, here, and again only when the user applies
// an edited list; the paths gain their trailing backslash on the way. The
// icons of the first listing the user will open are fetched once the
// program waits for input, not during that first click.
void SMainWind::giveRootItemsToRootMenu() {
  KVX_CALLSTACK_TRACK;
  m_NavMenu.setRootItems(m_StartupRootItems);
}

// The dialogs of the Configuration Menu live until the process ends.
void SMainWind::createDialogs() {
  KVX_CALLSTACK_TRACK;
  SEditRootDlg::S_createSingleton();
  SAddEditDlg::S_createSingleton();
  SOptionsDlg::S_createSingleton();
  SAboutDlg::S_createSingleton();
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
  m_hNoticeMenu = hNotice;
  TrackPopupMenuEx(hNotice, 0, 0, 0, m_hWnd, NULL);
  m_hNoticeMenu = NULL;
  DestroyMenu(hNotice);
  PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

// The Configuration Menu and the start-up notice are the window's own: the
// Folder Menu's controller has nothing to do with them. A null handle is
// neither: the closing WM_MENUSELECT names no menu and belongs to whichever
// menu was open.
bool SMainWind::isOwnMenu(HMENU hMenu) const {
  KVX_CALLSTACK_TRACK;
  return hMenu != NULL && (hMenu == m_hConfigMenu || hMenu == m_hNoticeMenu);
}

// Only one menu can be tracked at a time. A request while one from here is
// up is dropped: a second click, or the second NIN_KEYSELECT the shell sends
// for one Enter. One while the start-up notice is up closes the notice and
// comes back through the queue, once the notice's menu loop has ended. A
// dialog a command opens runs after the menu has gone, so the icon still
// answers while it is up.
void SMainWind::openMenu(bool bFolderMenu, MENUOPENING nOpening) {
  KVX_CALLSTACK_TRACK;
  if (m_bMenuTracked) return;
  if (m_hNoticeMenu != NULL) {
    EndMenu();
    PostMessageA(m_hWnd, PATHWICK_OPEN_MENU, bFolderMenu ? 1 : 0, nOpening);
    return;
  }
  const bool bByKey = nOpening != OPENED_BY_MOUSE;
  POINT ptAt = {0, 0};
  if (nOpening == OPENED_BY_ICON_KEY)
    ptAt = m_TrayIcon.keyboardAnchor();
  else
    GetCursorPos(&ptAt);
  const HWND hForegroundBefore = GetForegroundWindow();
  // A menu tracked for a background window would not close when the user
  // clicks elsewhere, nor get the keys.
  SetForegroundWindow(m_hWnd);
  m_bMenuTracked = true;
  UINT uCommand = 0;
  const bool bChosen = bFolderMenu ? openFolderMenu(ptAt, bByKey)
                                   : openConfigMenu(ptAt, bByKey, uCommand);
  m_bMenuTracked = false;
  if (bByKey && !bChosen) giveFocusBack(nOpening, hForegroundBefore);
  // Without it the next tray click may find the menu state stale.
  PostMessageA(m_hWnd, WM_NULL, 0, 0);
  // Sent, not posted as the menu would post it: a dialog's modal loop that
  // was told to end while the menu was up (the splash's, whose time ran
  // out) takes the next message from the queue and drops it, and "Exit"
  // with it.
  if (uCommand != 0) SendMessageA(m_hWnd, WM_COMMAND, uCommand, 0);
}

// Returns when the menu has closed; its choice follows as WM_MENUCOMMAND.
bool SMainWind::openFolderMenu(const POINT& rAt, bool bSelectFirst) {
  KVX_CALLSTACK_TRACK;
  m_NavMenu.display(rAt.x, rAt.y, bSelectFirst);
  return m_NavMenu.hasChoiceWaiting();
}

bool SMainWind::openConfigMenu(const POINT& rAt, bool bSelectFirst, UINT& ruCommand) {
  KVX_CALLSTACK_TRACK;
  if (bSelectFirst) selectFirstEntryOnOpen(m_hWnd);
  ruCommand = static_cast<UINT>(
      TrackPopupMenuEx(m_hConfigMenu, TPM_RETURNCMD, rAt.x, rAt.y, m_hWnd, NULL));
  return ruCommand != 0;
}

// Only where nobody else took the foreground meanwhile: a window that a
// shell command of the Folder Menu opened keeps it.
void SMainWind::giveFocusBack(MENUOPENING nOpening, HWND hForegroundBefore) {
  KVX_CALLSTACK_TRACK;
  const HWND hForeground = GetForegroundWindow();
  if (hForeground != NULL && hForeground != m_hWnd && hForeground != hForegroundBefore) return;
  if (nOpening == OPENED_BY_ICON_KEY)
    m_TrayIcon.giveFocusBack();
  else if (hForegroundBefore != NULL && hForegroundBefore != m_hWnd)
    SetForegroundWindow(hForegroundBefore);
}

// Messages for the shell's context menu, shown from inside the Folder Menu.
HRESULT SMainWind::relayContextMenuMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* lpResult) {
  KVX_CALLSTACK_TRACK;
  return m_NavMenu.handleContextMenuMsg(uMsg, wParam, lParam, lpResult);
}

bool SMainWind::isTaskbarCreated(UINT uMsg) const {
  KVX_CALLSTACK_TRACK;
  return m_uTaskbarCreatedMsg != 0 && uMsg == m_uTaskbarCreatedMsg;
}

// A new taskbar (the shell restarted) knows nothing of our icon; without it
// the program could not be reached any more.
LRESULT SMainWind::onTaskbarCreated() {
  KVX_CALLSTACK_TRACK;
  m_TrayIcon.restore();
  return 0;
}

// The installer and the uninstaller end a running copy this way: as "Exit"
// does, an open edit dialog asks about its changes first. Left to the
// default handler, the window would go and the changes with it.
LRESULT SMainWind::onClose() {
  KVX_CALLSTACK_TRACK;
  onExit();
  return 0;
}

LRESULT SMainWind::onDestroy() {
  KVX_CALLSTACK_TRACK;
  PostQuitMessage(0);
  return 0;
}

// An entry is the Folder Menu's only when its item data is one of its own
// CMenuItems; the id says nothing, as a shell extension's submenu entry
// carries its submenu's handle there. Every other entry is the shell's,
// answered through its context menu while that is up and left alone
// otherwise.
LRESULT SMainWind::onDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  DRAWITEMSTRUCT* lpDraw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  CMenuItem* lpItem =
      lpDraw->CtlType == ODT_MENU ? CMenuItem::S_fromItemData(lpDraw->itemData) : NULL;
  if (lpItem != NULL) return lpItem->handleDraw(hwnd, lpDraw);
  return relayContextMenuMsg(WM_DRAWITEM, wParam, lParam, NULL);
}

LRESULT SMainWind::onMeasureItem(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  MEASUREITEMSTRUCT* lpMeasure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  CMenuItem* lpItem =
      lpMeasure->CtlType == ODT_MENU ? CMenuItem::S_fromItemData(lpMeasure->itemData) : NULL;
  if (lpItem != NULL) return lpItem->handleMeasure(hwnd, lpMeasure);
  return relayContextMenuMsg(WM_MEASUREITEM, wParam, lParam, NULL);
}

// The high word (the notification code) is of no interest: every command
// comes from the Configuration Menu.
LRESULT SMainWind::onCommand(WPARAM wParam) {
  KVX_CALLSTACK_TRACK;
  switch (LOWORD(wParam)) {
    case IDM_EDIT_FOLDER_MENU:
      onEditFolderMenu();
      break;
    case IDM_PROGRAM_OPTIONS:
      onProgramOptions();
      break;
    case IDM_EXIT:
      onExit();
      break;
    case IDM_ABOUT:
      onAbout();
      break;
    case IDM_PROGRAM_HELP:
      onProgramHelp();
      break;
    default:
      break;
  }
  return 0;
}

// The Configuration Menu and the notice are static: only the Folder Menu
// fills its submenus as they open, and the Configuration Menu reports its
// choices as WM_COMMAND, where the Folder Menu notifies by position.
LRESULT SMainWind::onMenuMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  const bool bMenuInWParam = uMsg == WM_INITMENUPOPUP || uMsg == WM_UNINITMENUPOPUP;
  if (isOwnMenu(reinterpret_cast<HMENU>(bMenuInWParam ? wParam : lParam))) return 0;
  return m_NavMenu.handleMenuMessage(uMsg, wParam, lParam);
}

// A Folder Menu level finds the entry typed; every other menu's keys go to
// the shell's context menu, which answers while it is up.
LRESULT SMainWind::onMenuChar(WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  LRESULT lResult = 0;
  if (m_NavMenu.handleMenuChar(wParam, lParam, lResult)) return lResult;
  relayContextMenuMsg(WM_MENUCHAR, wParam, lParam, &lResult);
  return lResult;
}

// A right-button release inside a tracked menu can arrive at the owner window
// itself; it goes the same way as WM_MENURBUTTONUP, with no menu to test.
LRESULT SMainWind::onRButtonUp(WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  m_NavMenu.handleMenuRightClick(wParam, lParam);
  return 0;
}

LRESULT SMainWind::onTimer(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  if (m_NavMenu.handleTimer(wParam)) return 0;
  return DefWindowProcA(hwnd, WM_TIMER, wParam, lParam);
}

LRESULT SMainWind::onAssociationsChanged(LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  if ((lParam & SHCNE_ASSOCCHANGED) != 0) SIconMgr::S_getSingleton()->forgetSharedPictures();
  return 0;
}

LRESULT SMainWind::onNotedRightClick(WPARAM wParam) {
  KVX_CALLSTACK_TRACK;
  m_NavMenu.handleNotedRightClick(wParam);
  return 0;
}

// Only button releases and keys open a menu, so a double click adds
// nothing. The options' swap of the buttons applies to the keys too.
LRESULT SMainWind::onTrayNotify(LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  const TRAYREQUEST request = m_TrayIcon.readCallback(lParam);
  if (request.button == TRAYREQUEST::NONE) return 0;
  const bool bFolderMenu = (request.button == TRAYREQUEST::LEFT) == m_Options.LeftClickRoot;
  openMenu(bFolderMenu, request.b_keyboard ? OPENED_BY_ICON_KEY : OPENED_BY_MOUSE);
  return 0;
}

// Pressed in whatever program has the focus: the Folder Menu opens at the
// mouse pointer.
LRESULT SMainWind::onHotKey(WPARAM wParam) {
  KVX_CALLSTACK_TRACK;
  if (wParam == CHotKey::ID) openMenu(true, OPENED_BY_HOTKEY);
  return 0;
}

LRESULT SMainWind::onOpenMenu(WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  openMenu(wParam != 0, static_cast<MENUOPENING>(lParam));
  return 0;
}

void SMainWind::onEditFolderMenu() {
  KVX_CALLSTACK_TRACK;
  SEditRootDlg::S_getSingleton()->display(m_hInstance, NULL, &m_NavMenu);
}

// The options in force change only when the dialog ends with OK.
void SMainWind::onProgramOptions() {
  KVX_CALLSTACK_TRACK;
  SOptionsDlg::S_getSingleton()->editOptions(m_hInstance, NULL, m_Options, m_HotKey);
}

// An open edit dialog first asks whether to keep its changes.
void SMainWind::onExit() {
  KVX_CALLSTACK_TRACK;
  m_bExitChosen = true;
  SEditRootDlg::S_getSingleton()->close();
  PostQuitMessage(0);
}

// Log-off and shutdown ask first, as "Exit" does: an open edit dialog's
// question about its changes comes now, while the session still waits.
LRESULT SMainWind::onQueryEndSession(LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  SEditRootDlg::S_getSingleton()->closeForSessionEnd((lParam & ENDSESSION_CRITICAL) != 0);
  return TRUE;
}

// Once this returns the system may end the process at any moment, so the
// program ends here as it ends after its message loop: icon, stop banner,
// exit code 0.
LRESULT SMainWind::onEndSession(WPARAM wParam) {
  KVX_CALLSTACK_TRACK;
  if (!wParam) return 0;
  S_endProgram();
  ExitProcess(0);
}

void SMainWind::S_endProgram() {
  KVX_CALLSTACK_TRACK;
  // A crash from here on finds no window whose icon it could remove.
  setCrashCleanup(NULL);
  // The tray icon goes with the main window, before the log's stop banner.
  S_destroySingleton();
  SFolderLister::S_destroySingleton();
  SIconMgr::S_destroySingleton();
  SLog::S_destroySingleton();
  OleUninitialize();
}

void SMainWind::onAbout() {
  KVX_CALLSTACK_TRACK;
  SAboutDlg::S_getSingleton()->display(m_hInstance, NULL);
}

// A missing help file opens nothing; the shell's answer is not looked at.
void SMainWind::onProgramHelp() {
  KVX_CALLSTACK_TRACK;
  ShellExecuteA(GetDesktopWindow(), "open", helpFilePath().c_str(), NULL, NULL, SW_SHOWNORMAL);
}

LRESULT CALLBACK MainWindProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  SMainWind* lpMain = SMainWind::S_getSingleton();
  // A registered message has no fixed number, so it cannot be a case label.
  if (lpMain->isTaskbarCreated(uMsg)) return lpMain->onTaskbarCreated();
  switch (uMsg) {
    case WM_CLOSE:
      return lpMain->onClose();
    case WM_DESTROY:
      return lpMain->onDestroy();
    case WM_QUERYENDSESSION:
      return lpMain->onQueryEndSession(lParam);
    case WM_ENDSESSION:
      return lpMain->onEndSession(wParam);
    case WM_DRAWITEM:
      return lpMain->onDrawItem(hwnd, wParam, lParam);
    case WM_MEASUREITEM:
      return lpMain->onMeasureItem(hwnd, wParam, lParam);
    case WM_COMMAND:
      return lpMain->onCommand(wParam);
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
    case WM_MENUSELECT:
    case WM_MENURBUTTONUP:
    case WM_MENUCOMMAND:
      return lpMain->onMenuMessage(uMsg, wParam, lParam);
    case WM_MENUCHAR:
      return lpMain->onMenuChar(wParam, lParam);
    case WM_RBUTTONUP:
      return lpMain->onRButtonUp(wParam, lParam);
    case WM_TIMER:
      return lpMain->onTimer(hwnd, wParam, lParam);
    case PATHWICK_MENU_RIGHTCLICK:
      return lpMain->onNotedRightClick(wParam);
    case PATHWICK_ASSOC_CHANGED:
      return lpMain->onAssociationsChanged(lParam);
    case PATHWICK_TRAY_CALLBACK:
      return lpMain->onTrayNotify(lParam);
    case WM_HOTKEY:
      return lpMain->onHotKey(wParam);
    case PATHWICK_OPEN_MENU:
      return lpMain->onOpenMenu(wParam, lParam);
    default:
      return DefWindowProcA(hwnd, uMsg, wParam, lParam);
  }
}
