// Test tool: shows a real folder menu in the desktop, as the Folder Menu
// will show one, so that a test can look at how its entries are drawn.
//   menushow WORKDIR
// Makes WORKDIR\shown\ with two folders and some files, fills a folder menu
// from it, and tracks it at (100, 100) for a hidden window that hands
// WM_MEASUREITEM and WM_DRAWITEM to the entries' CMenuItem and fills the
// submenu of a folder entry as it opens. Once the menu is on screen it
// writes WORKDIR\entries.txt:
//   colors MENU HIGHLIGHT MENUTEXT HIGHLIGHTTEXT  (GetSysColor, as RRGGBB)
//   metrics DPI ICONSIZE               (the entries' DPI and icon side)
//   entry POS LEFT TOP RIGHT BOTTOM TEXT   (screen rectangle of each entry)
// and ends when the menu closes.
#include <windows.h>

#include <cstdio>
#include <string>

#include "diag/dpi.h"
#include "diag/log.h"
#include "menus/foldermenu.h"
#include "menus/navmenu.h"
#include "menus/iconmgr.h"
#include "menus/menuitem.h"
#include "resources/resource.h"

namespace {

const UINT_PTR kReportTimer = 1;

std::string g_strWork;
CFolderMenu g_Menu;
CFolderMenu g_Sub;
CFolderMenu g_Child;
bool g_bReported = false;

void makeFile(const std::string& rPath) {
  const HANDLE hFile = CreateFileA(rPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (hFile != INVALID_HANDLE_VALUE) CloseHandle(hFile);
}

std::string makeFolder() {
  const std::string strFolder = g_strWork + "\\shown\\";
  CreateDirectoryA(strFolder.c_str(), NULL);
  CreateDirectoryA((strFolder + "Documents").c_str(), NULL);
  CreateDirectoryA((strFolder + "Music").c_str(), NULL);
  makeFile(strFolder + "Documents\\letter.txt");
  makeFile(strFolder + "notes.txt");
  makeFile(strFolder + "setup.exe");
  makeFile(strFolder + "shortcut.lnk");
  makeFile(strFolder + "readme");
  return strFolder;
}

std::string hex(COLORREF colour) {
  char sz[8];
  snprintf(sz, sizeof(sz), "%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  return sz;
}

// The entries' screen rectangles, once the menu window exists.
void reportEntries() {
  RECT first;
  if (g_bReported || !GetMenuItemRect(NULL, g_Menu.getHMENU(), 0, &first)) return;
  const std::string strPath = g_strWork + "\\entries.txt";
  FILE* lpFile = fopen(strPath.c_str(), "w");
  if (lpFile == NULL) return;
  fprintf(lpFile, "colors %s %s %s %s\n", hex(GetSysColor(COLOR_MENU)).c_str(),
          hex(GetSysColor(COLOR_HIGHLIGHT)).c_str(), hex(GetSysColor(COLOR_MENUTEXT)).c_str(),
          hex(GetSysColor(COLOR_HIGHLIGHTTEXT)).c_str());
  fprintf(lpFile, "metrics %u %d\n", dpi::system(), CMenuItem::S_iconSize());
  const int nCount = GetMenuItemCount(g_Menu.getHMENU());
  for (int i = 0; i < nCount; ++i) {
    RECT rc;
    GetMenuItemRect(NULL, g_Menu.getHMENU(), i, &rc);
    std::string strText;
    g_Menu.getMenuItemText(i, strText);
    fprintf(lpFile, "entry %d %ld %ld %ld %ld %s\n", i, rc.left, rc.top, rc.right, rc.bottom,
            strText.c_str());
  }
  fclose(lpFile);
  g_bReported = true;
}

// What the navigation controller will do for the shared submenu.
void fillSubmenu(int nPos) {
  g_Sub.clear();
  FILLINFO info;
  if (g_Menu.getItemFillInfo(nPos, info)) g_Sub.fillFolderMenu(&g_Child, info, g_Menu.getType());
}

LRESULT CALLBACK ShowWindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_MEASUREITEM: {
      MEASUREITEMSTRUCT* lpMeasure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      CMenuItem* lpItem = reinterpret_cast<CMenuItem*>(lpMeasure->itemData);
      return lpItem != NULL ? lpItem->handleMeasure(hwnd, lpMeasure) : FALSE;
    }
    case WM_DRAWITEM: {
      DRAWITEMSTRUCT* lpDraw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      CMenuItem* lpItem = reinterpret_cast<CMenuItem*>(lpDraw->itemData);
      return lpItem != NULL ? lpItem->handleDraw(hwnd, lpDraw) : FALSE;
    }
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wParam) == g_Sub.getHMENU()) fillSubmenu(LOWORD(lParam));
      return 0;
    case WM_TIMER:
      reportEntries();
      return 0;
    default:
      return DefWindowProcA(hwnd, uMsg, wParam, lParam);
  }
}

HWND createOwner(HINSTANCE hInstance) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ShowWindowProc;
  wc.hInstance = hInstance;
  wc.lpszClassName = "PathwickMenuShow";
  RegisterClassExA(&wc);
  return CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                         hInstance, NULL);
}

// The start-up steps of the program that the menu draws with.
void setUpMenus(HINSTANCE hInstance, HWND hOwner) {
  CNavMenu::S_loadDrawingResources(hInstance, hOwner);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: menushow WORKDIR\n");
    return 2;
  }
  g_strWork = argv[1];
  const HINSTANCE hInstance = GetModuleHandleA(NULL);
  SLog::S_createSingleton();
  const HWND hOwner = createOwner(hInstance);
  setUpMenus(hInstance, hOwner);
  g_Menu.init();
  g_Sub.init();
  g_Child.init();
  FILLINFO info;
  info.str_path = makeFolder();
  info.str_search = "*";
  info.sort_type = SORT_NONE;
  g_Menu.fillFolderMenu(&g_Sub, info, 0);

  SetTimer(hOwner, kReportTimer, 200, NULL);
  SetForegroundWindow(hOwner);
  TrackPopupMenuEx(g_Menu.getHMENU(), 0, 100, 100, hOwner, NULL);
  PostMessageA(hOwner, WM_NULL, 0, 0);
  SIconMgr::S_destroySingleton();
  SLog::S_destroySingleton();
  return 0;
}
