// Test tool for e2e/context_menu.sh: the shell context menu as the Folder
// Menu's right-click shows it, for a hidden owner window.
//   ctxshow WORKDIR show PATH X Y
//     Shows the menu of PATH at (X, Y), relaying WM_INITMENUPOPUP as the
//     program's window does. While it is up, writes WORKDIR\menu.txt:
//     "version N" and "entry POS LEFT TOP RIGHT BOTTOM ID TEXT" lines. When
//     it has returned, WORKDIR\result.txt: "relay HRESULT" per relayed
//     message, "idle VERSION HRESULT" (a relay afterwards), "result 0|1".
//   ctxshow WORKDIR repeat PATH N
//     N calls for a PATH that cannot be shown, a second thread answering
//     every "Error" box; WORKDIR\result.txt: "probe MENUS MENUS_WITH_ONE_MORE",
//     "menus BEFORE AFTER", "boxes COUNT", "failures COUNT".
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "diag/log.h"
#include "menus/contextmenu.h"
#include "support/handlecount.h"

namespace {

std::string g_strWork;
CContextMenu g_ContextMenu;
HMENU g_hShown = NULL;
std::string g_strRelayed;

FILE* openWorkFile(const char* lpszName) {
  return fopen((g_strWork + "\\" + lpszName).c_str(), "w");
}

// Written once the menu window exists, then renamed: the script sees it whole.
void reportEntries() {
  RECT rc;
  if (g_hShown == NULL || !GetMenuItemRect(NULL, g_hShown, 0, &rc)) return;
  FILE* lpFile = openWorkFile("menu.part");
  fprintf(lpFile, "version %d\n", g_ContextMenu.getInterfaceVersion());
  for (int i = 0; i < GetMenuItemCount(g_hShown); ++i) {
    char szText[256] = {0};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = szText;
    info.cch = sizeof(szText);
    GetMenuItemInfoA(g_hShown, i, TRUE, &info);
    GetMenuItemRect(NULL, g_hShown, i, &rc);
    fprintf(lpFile, "entry %d %ld %ld %ld %ld 0x%X %s\n", i, rc.left, rc.top, rc.right, rc.bottom,
            info.wID, (info.fType & MFT_SEPARATOR) ? "-" : szText);
  }
  fclose(lpFile);
  MoveFileA((g_strWork + "\\menu.part").c_str(), (g_strWork + "\\menu.txt").c_str());
  g_hShown = NULL;
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg == WM_TIMER) reportEntries();
  if (uMsg != WM_INITMENUPOPUP) return DefWindowProcA(hwnd, uMsg, wParam, lParam);
  if (g_strRelayed.empty()) g_hShown = reinterpret_cast<HMENU>(wParam);
  LRESULT lResult = 0;
  char szLine[32];
  snprintf(szLine, sizeof(szLine), "relay 0x%08lX\n",
           static_cast<unsigned long>(g_ContextMenu.HandleMenuMsg(uMsg, wParam, lParam, &lResult)));
  g_strRelayed += szLine;
  return 0;
}

int show(HWND hOwner, std::string strPath, LONG x, LONG y) {
  SetTimer(hOwner, 1, 100, NULL);
  SetForegroundWindow(hOwner);
  const bool bShown = g_ContextMenu.displayContextMenu(hOwner, strPath, x, y);
  PostMessageA(hOwner, WM_NULL, 0, 0);
  LRESULT lResult = 0;
  const HRESULT hrIdle = g_ContextMenu.HandleMenuMsg(WM_INITMENUPOPUP, 0, 0, &lResult);
  FILE* lpFile = openWorkFile("result.txt");
  fprintf(lpFile, "%sidle %d 0x%08lX\nresult %d\n", g_strRelayed.c_str(),
          g_ContextMenu.getInterfaceVersion(), static_cast<unsigned long>(hrIdle), bShown ? 1 : 0);
  fclose(lpFile);
  return bShown ? 0 : 1;
}

void answerBoxes(std::atomic<bool>& rbStop, std::atomic<int>& rnBoxes) {
  while (!rbStop) {
    const HWND hBox = FindWindowA("#32770", "Error");
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
  const unsigned long nProbe = testsupport::countMenus();
  const HMENU hProbe = CreatePopupMenu();
  const unsigned long nProbeWithOne = testsupport::countMenus();
  DestroyMenu(hProbe);
  std::atomic<bool> bStop(false);
  std::atomic<int> nBoxes(0);
  std::thread answerer(answerBoxes, std::ref(bStop), std::ref(nBoxes));
  const unsigned long nBefore = testsupport::countMenus();
  int nFailures = 0;
  for (int i = 0; i < nTimes; ++i) {
    std::string strPath = rPath;
    if (!g_ContextMenu.displayContextMenu(hOwner, strPath, 100, 100)) ++nFailures;
  }
  const unsigned long nAfter = testsupport::countMenus();
  bStop = true;
  answerer.join();
  FILE* lpFile = openWorkFile("result.txt");
  fprintf(lpFile, "probe %lu %lu\nmenus %lu %lu\nboxes %d\nfailures %d\n", nProbe, nProbeWithOne,
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
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = OwnerProc;
  wc.lpszClassName = "PathwickContextShow";
  RegisterClassExA(&wc);
  const HWND hOwner =
      CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
  const int nCode = strMode == "show" ? show(hOwner, argv[3], atol(argv[4]), atol(argv[5]))
                                      : repeat(hOwner, argv[3], atoi(argv[4]));
  DestroyWindow(hOwner);
  SLog::S_destroySingleton();
  OleUninitialize();
  return nCode;
}
