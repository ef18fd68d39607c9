// Test tool: the shell context menu as the Folder Menu's right-click shows
// it, for the end-to-end test e2e/context_menu.sh.
//   ctxshow WORKDIR show PATH X Y
//     Shows the context menu of PATH at (X, Y) for a hidden owner window
//     that hands the menu's messages on to HandleMenuMsg, as the program's
//     window does. Once the menu is on screen it writes WORKDIR\menu.txt:
//       version N                          (the interface held while it is up)
//       entry POS LEFT TOP RIGHT BOTTOM ID TEXT
//     Then WORKDIR\result.txt, when displayContextMenu has returned:
//       relay MESSAGE HRESULT              (each message handed on while up)
//       idle VERSION HRESULT               (afterwards: no interface, and 0)
//       result 0|1
//   ctxshow WORKDIR repeat PATH N
//     Calls displayContextMenu N times for a PATH that cannot be shown,
//     answering every "Error" box with OK from a second thread, and writes
//     WORKDIR\result.txt:
//       probe MENUS_BEFORE MENUS_WITH_ONE_MORE
//       menus BEFORE AFTER
//       boxes COUNT
//       failures COUNT
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "diag/log.h"
#include "menus/contextmenu.h"

namespace {

const UINT_PTR kReportTimer = 1;

std::string g_strWork;
CContextMenu g_ContextMenu;
HMENU g_hShown = NULL;
bool g_bReported = false;
std::vector<std::string> g_Relayed;

std::string workFile(const char* lpszName) { return g_strWork + "\\" + lpszName; }

void relay(const char* lpszName, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* lpResult) {
  const HRESULT hr = g_ContextMenu.HandleMenuMsg(uMsg, wParam, lParam, lpResult);
  char szLine[128];
  snprintf(szLine, sizeof(szLine), "relay %s 0x%08lX", lpszName, static_cast<unsigned long>(hr));
  g_Relayed.push_back(szLine);
}

// The entries' screen rectangles, once the menu window exists.
void reportEntries() {
  RECT first;
  if (g_bReported || g_hShown == NULL || !GetMenuItemRect(NULL, g_hShown, 0, &first)) return;
  FILE* lpFile = fopen(workFile("menu.txt.part").c_str(), "w");
  if (lpFile == NULL) return;
  fprintf(lpFile, "version %d\n", g_ContextMenu.getInterfaceVersion());
  const int nCount = GetMenuItemCount(g_hShown);
  for (int i = 0; i < nCount; ++i) {
    RECT rc;
    GetMenuItemRect(NULL, g_hShown, i, &rc);
    char szText[256] = {0};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = szText;
    info.cch = sizeof(szText);
    GetMenuItemInfoA(g_hShown, i, TRUE, &info);
    fprintf(lpFile, "entry %d %ld %ld %ld %ld 0x%X %s\n", i, rc.left, rc.top, rc.right, rc.bottom,
            info.wID, (info.fType & MFT_SEPARATOR) ? "-" : szText);
  }
  fclose(lpFile);
  MoveFileA(workFile("menu.txt.part").c_str(), workFile("menu.txt").c_str());
  g_bReported = true;
}

// What the program's window procedure does with the context menu's messages.
LRESULT CALLBACK OwnerProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = 0;
  switch (uMsg) {
    case WM_INITMENUPOPUP:
      if (g_hShown == NULL) g_hShown = reinterpret_cast<HMENU>(wParam);
      relay("WM_INITMENUPOPUP", uMsg, wParam, lParam, &lResult);
      return 0;
    case WM_MEASUREITEM:
      if (reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemID & 0x8000)
        relay("WM_MEASUREITEM", uMsg, wParam, lParam, &lResult);
      return TRUE;
    case WM_DRAWITEM:
      if (reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->itemID & 0x8000)
        relay("WM_DRAWITEM", uMsg, wParam, lParam, &lResult);
      return TRUE;
    case WM_MENUCHAR:
      relay("WM_MENUCHAR", uMsg, wParam, lParam, &lResult);
      return lResult;
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
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = hInstance;
  wc.lpszClassName = "PathwickContextShow";
  RegisterClassExA(&wc);
  return CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                         hInstance, NULL);
}

int show(HWND hOwner, std::string strPath, LONG x, LONG y) {
  SetTimer(hOwner, kReportTimer, 100, NULL);
  SetForegroundWindow(hOwner);
  const bool bShown = g_ContextMenu.displayContextMenu(hOwner, strPath, x, y);
  PostMessageA(hOwner, WM_NULL, 0, 0);
  LRESULT lResult = 0;
  const HRESULT hrIdle = g_ContextMenu.HandleMenuMsg(WM_INITMENUPOPUP, 0, 0, &lResult);
  FILE* lpFile = fopen(workFile("result.txt.part").c_str(), "w");
  if (lpFile == NULL) return 3;
  for (size_t i = 0; i < g_Relayed.size(); ++i) fprintf(lpFile, "%s\n", g_Relayed[i].c_str());
  fprintf(lpFile, "idle %d 0x%08lX\n", g_ContextMenu.getInterfaceVersion(),
          static_cast<unsigned long>(hrIdle));
  fprintf(lpFile, "result %d\n", bShown ? 1 : 0);
  fclose(lpFile);
  MoveFileA(workFile("result.txt.part").c_str(), workFile("result.txt").c_str());
  return bShown ? 0 : 1;
}

// Live menus of this process. Wine has no count of USER objects
// (GetGuiResources answers 0), so every handle slot is probed: it accepts a
// handle with a zero high word for the live object in that slot.
unsigned long countMenus() {
  unsigned long nMenus = 0;
  for (ULONG_PTR nSlot = 1; nSlot < 0x10000; ++nSlot)
    if (IsMenu(reinterpret_cast<HMENU>(nSlot))) ++nMenus;
  return nMenus;
}

// Answers every "Error" box of this process with OK until told to stop.
void answerBoxes(std::atomic<bool>& rbStop, std::atomic<int>& rnBoxes) {
  while (!rbStop) {
    HWND hBox = FindWindowA("#32770", "Error");
    if (hBox == NULL) {
      Sleep(5);
      continue;
    }
    PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    while (IsWindow(hBox)) Sleep(5);
    ++rnBoxes;
  }
}

int repeat(HWND hOwner, const std::string& rPath, int nTimes) {
  const unsigned long nProbeBefore = countMenus();
  const HMENU hProbe = CreatePopupMenu();
  const unsigned long nProbeWith = countMenus();
  DestroyMenu(hProbe);

  std::atomic<bool> bStop(false);
  std::atomic<int> nBoxes(0);
  std::thread answerer(answerBoxes, std::ref(bStop), std::ref(nBoxes));
  const unsigned long nBefore = countMenus();
  int nFailures = 0;
  for (int i = 0; i < nTimes; ++i) {
    std::string strPath = rPath;
    if (!g_ContextMenu.displayContextMenu(hOwner, strPath, 100, 100)) ++nFailures;
  }
  const unsigned long nAfter = countMenus();
  bStop = true;
  answerer.join();

  FILE* lpFile = fopen(workFile("result.txt").c_str(), "w");
  if (lpFile == NULL) return 3;
  fprintf(lpFile, "probe %lu %lu\nmenus %lu %lu\nboxes %d\nfailures %d\n", nProbeBefore, nProbeWith,
          nBefore, nAfter, nBoxes.load(), nFailures);
  fclose(lpFile);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string strMode = argc > 2 ? argv[2] : "";
  if (!((strMode == "show" && argc == 6) || (strMode == "repeat" && argc == 5))) {
    fprintf(stderr, "usage: ctxshow WORKDIR show PATH X Y | ctxshow WORKDIR repeat PATH N\n");
    return 2;
  }
  g_strWork = argv[1];
  OleInitialize(NULL);
  SLog::S_createSingleton();
  g_ContextMenu.setShellIDRange(0x8000, 0xFFFF);
  const HWND hOwner = createOwner(GetModuleHandleA(NULL));
  const int nCode = strMode == "show" ? show(hOwner, argv[3], atol(argv[4]), atol(argv[5]))
                                      : repeat(hOwner, argv[3], atoi(argv[4]));
  DestroyWindow(hOwner);
  SLog::S_destroySingleton();
  OleUninitialize();
  return nCode;
}
