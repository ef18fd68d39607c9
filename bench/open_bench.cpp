// Folder Menu open benchmark: the live path. The navigation controller
// tracks a root menu for a hidden window, as the program does; keys posted
// before tracking select the root entry and open its submenu. Timed is the
// span from that submenu's WM_INITMENUPOPUP (its fill included) to the
// first WM_ENTERIDLE after it: the menu shown, drawn and waiting for input.
//
//   open_bench [--runs K]
//   open_bench --first              only the first open of the process
//   open_bench --first-unwarmed     the same without the start-up warm-up
//                                   the program does
//
// Prints, in this order:
//   startup warmup types=T warm_ms=W
//       what the program's start-up now does ahead of the first click: the
//       shell's first icon query and the file types of the roots' listings
//   first entries=1000 mode=plain open_ms=O later_ms=L ratio=R shell_queries=Q
//       the first open of the process, after that warm-up (or without it:
//       warmup=none), as the user's first click meets it, beside the
//       median of K later opens of the same folder
//   cold entries=1000 exts=100 open_ms=O warm_ms=W ratio=R shell_queries=Q
//       a folder of 100 file types no menu has shown yet, beside the median
//       of K opens of it once they are cached
//   open entries=40|1000 mode=system open_ms=O
//       a popup of the system's own strings, opened the same way
//   open entries=N mode=plain|abc|ext enum_ms=E open_ms=O ratio=R
//       medians of K runs beside the bare enumeration of the same folder
// The folders of 1,000 entries and up are fill_bench's (scripts/bench.sh
// makes them); the 40-entry and the 100-type folders are made here.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "diag/log.h"
#include "diag/pathtext.h"
#include "menus/iconmgr.h"
#include "menus/menuitem.h"
#include "menus/navmenu.h"
#include "menus/rootmenu.h"
#include "resources/resource.h"

namespace {

double nowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double timeEnumeration(const std::string& rFolder) {
  const double fStart = nowMs();
  WIN32_FIND_DATAA data;
  const HANDLE hFind = FindFirstFileA((rFolder + "*").c_str(), &data);
  if (hFind != INVALID_HANDLE_VALUE) {
    while (FindNextFileA(hFind, &data)) {
    }
    FindClose(hFind);
  }
  return nowMs() - fStart;
}

void makeFile(const std::string& rPath) {
  const HANDLE hFile = CreateFileA(rPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (hFile != INVALID_HANDLE_VALUE) CloseHandle(hFile);
}

// nEntries files and folders, or nEntries files over nTypes extensions.
std::string makeFolder(const char* lpszName, int nEntries, int nTypes) {
  const std::string strFolder = programFolder() + "open_bench_data\\" + lpszName + "\\";
  CreateDirectoryA((programFolder() + "open_bench_data").c_str(), NULL);
  CreateDirectoryA(strFolder.c_str(), NULL);
  char szName[64];
  for (int i = 0; i < nEntries; ++i) {
    if (nTypes > 0) {
      snprintf(szName, sizeof(szName), "file %04d.t%03d", i, i % nTypes);
      makeFile(strFolder + szName);
    } else if (i % 8 == 0) {
      snprintf(szName, sizeof(szName), "%c folder %02d", 'a' + i % 26, i);
      CreateDirectoryA((strFolder + szName).c_str(), NULL);
    } else {
      snprintf(szName, sizeof(szName), "%c file %02d.txt", 'a' + i % 26, i);
      makeFile(strFolder + szName);
    }
  }
  return strFolder;
}

// The window the menus report to, as the program's main window hands the
// messages on. One open is timed at a time.
struct OPENTIMING {
  CNavMenu* lpNav;
  HMENU hTimedPopup;
  double fStart;
  double fEnd;
  int nIdleWithoutOpen;
};
OPENTIMING g_Timing = {NULL, NULL, 0.0, 0.0, 0};

void onEnterIdle() {
  if (g_Timing.fStart == 0.0) {
    // The keys have been used up without opening the submenu.
    if (++g_Timing.nIdleWithoutOpen > 50) EndMenu();
    return;
  }
  if (g_Timing.fEnd == 0.0) g_Timing.fEnd = nowMs();
  EndMenu();
}

LRESULT CALLBACK benchWindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  CNavMenu* lpNav = g_Timing.lpNav;
  switch (uMsg) {
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wParam) == g_Timing.hTimedPopup && g_Timing.fStart == 0.0)
        g_Timing.fStart = nowMs();
      return lpNav != NULL ? lpNav->handleInitPopup(wParam, lParam) : 0;
    case WM_UNINITMENUPOPUP:
      if (lpNav != NULL) lpNav->handleUnInitPopup(wParam, lParam);
      return 0;
    case WM_MENUSELECT:
      return lpNav != NULL ? lpNav->handleMenuSelect(wParam, lParam) : 0;
    case WM_ENTERIDLE:
      onEnterIdle();
      return 0;
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
    default:
      return DefWindowProcA(hwnd, uMsg, wParam, lParam);
  }
}

HWND createBenchWindow() {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = benchWindowProc;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.lpszClassName = "PathwickOpenBench";
  RegisterClassExA(&wc);
  return CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                         wc.hInstance, NULL);
}

void setUpMenus(HWND hWnd) { CNavMenu::S_loadDrawingResources(GetModuleHandleA(NULL), hWnd); }

// The first entry of the root, then its submenu, as the keyboard opens them.
void postOpeningKeys(HWND hWnd) {
  PostMessageA(hWnd, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(hWnd, WM_KEYDOWN, VK_RIGHT, 0);
}

void startTiming(HMENU hPopup) {
  g_Timing.hTimedPopup = hPopup;
  g_Timing.fStart = 0.0;
  g_Timing.fEnd = 0.0;
  g_Timing.nIdleWithoutOpen = 0;
}

double finishTiming() {
  if (g_Timing.fStart == 0.0 || g_Timing.fEnd == 0.0) {
    fprintf(stderr, "the submenu did not open\n");
    return -1.0;
  }
  return g_Timing.fEnd - g_Timing.fStart;
}

class Opener {
 public:
  explicit Opener(HWND hWnd) : m_hWnd(hWnd) {
    m_Nav.init(hWnd);
    g_Timing.lpNav = &m_Nav;
  }
  ~Opener() { g_Timing.lpNav = NULL; }

  // One open of the folder as the only root, with the program's default
  // threshold of 25.
  double open(const std::string& rFolder, int nSortType) {
    setRoot(rFolder, nSortType);
    startTiming(m_Nav.getRootMenu().getSubFolderMenu()->getHMENU());
    postOpeningKeys(m_hWnd);
    m_Nav.display(200, 200);
    drainMessages();
    return finishTiming();
  }

  size_t warmRoot(const std::string& rFolder) {
    setRoot(rFolder, SORT_NONE);
    return m_Nav.warmRootListingIcons();
  }

  // A popup of the system's own strings below a one-entry root.
  double openSystem(int nEntries) {
    const HMENU hRoot = CreatePopupMenu();
    const HMENU hPopup = CreatePopupMenu();
    char szText[32];
    for (int i = 0; i < nEntries; ++i) {
      snprintf(szText, sizeof(szText), "system entry %04d", i);
      AppendMenuA(hPopup, MF_STRING, static_cast<UINT_PTR>(i + 1), szText);
    }
    AppendMenuA(hRoot, MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), "Bench");
    g_Timing.lpNav = NULL;
    startTiming(hPopup);
    postOpeningKeys(m_hWnd);
    TrackPopupMenuEx(hRoot, 0, 200, 200, m_hWnd, NULL);
    drainMessages();
    g_Timing.lpNav = &m_Nav;
    DestroyMenu(hRoot);
    return finishTiming();
  }

 private:
  void setRoot(const std::string& rFolder, int nSortType) {
    ROOTITEM root;
    root.str_name = "Bench";
    root.str_path = rFolder;
    root.sort_type = nSortType;
    root.max_no_sort = 25;
    std::vector<ROOTITEM> roots(1, root);
    m_Nav.getRootMenu().setRootItemList(roots);
  }

  void drainMessages() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

  HWND m_hWnd;
  CNavMenu m_Nav;
};

struct Mode {
  const char* lpszName;
  int nSortType;
};

void benchmarkFolder(Opener& rOpener, int nEntries, const std::string& rFolder, int nRuns) {
  std::vector<Mode> modes;
  if (nEntries <= 10000) modes.push_back(Mode{"plain", SORT_NONE});
  modes.push_back(Mode{"abc", SORT_ABC});
  modes.push_back(Mode{"ext", SORT_EXT});
  // Warm-up: file cache and the heap the menus grow in.
  timeEnumeration(rFolder);
  for (size_t m = 0; m < modes.size(); ++m) rOpener.open(rFolder, modes[m].nSortType);
  std::vector<double> enumTimes;
  std::vector<std::vector<double>> openTimes(modes.size());
  for (int nRun = 0; nRun < nRuns; ++nRun) {
    enumTimes.push_back(timeEnumeration(rFolder));
    for (size_t m = 0; m < modes.size(); ++m)
      openTimes[m].push_back(rOpener.open(rFolder, modes[m].nSortType));
  }
  const double fEnum = median(enumTimes);
  for (size_t m = 0; m < modes.size(); ++m) {
    const double fOpen = median(openTimes[m]);
    printf("open entries=%d mode=%s enum_ms=%.1f open_ms=%.1f ratio=%.2f\n", nEntries,
           modes[m].lpszName, fEnum, fOpen, fOpen / fEnum);
    fflush(stdout);
  }
}

// What the program does at start-up: one icon query, which pays the shell's
// first-query set-up, then the file types of the roots' own listings.
// Reported apart: it is start-up time now.
void warmUpLikeTheProgram(Opener& rOpener, const std::string& rRootFolder) {
  const double fStart = nowMs();
  const size_t nTypes = rOpener.warmRoot(rRootFolder);
  printf("startup warmup types=%lu warm_ms=%.1f\n", static_cast<unsigned long>(nTypes),
         nowMs() - fStart);
}

// The same folder opened again, its icons cached: what a later click meets.
double medianOpen(Opener& rOpener, const std::string& rFolder, int nRuns) {
  std::vector<double> times;
  for (int nRun = 0; nRun < nRuns; ++nRun) times.push_back(rOpener.open(rFolder, SORT_NONE));
  return median(times);
}

void benchmarkSystem(Opener& rOpener, int nEntries, int nRuns) {
  std::vector<double> times;
  rOpener.openSystem(nEntries);
  for (int nRun = 0; nRun < nRuns; ++nRun) times.push_back(rOpener.openSystem(nEntries));
  printf("open entries=%d mode=system open_ms=%.1f\n", nEntries, median(times));
  fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  int nRuns = 5;
  if (argc == 3 && strcmp(argv[1], "--runs") == 0) nRuns = std::max(1, atoi(argv[2]));
  const bool bFirstUnwarmed = argc == 2 && strcmp(argv[1], "--first-unwarmed") == 0;
  const bool bFirstOnly = bFirstUnwarmed || (argc == 2 && strcmp(argv[1], "--first") == 0);
  SLog::S_createSingleton();
  const HWND hWnd = createBenchWindow();
  setUpMenus(hWnd);
  const std::string strData = programFolder() + "fill_bench_data\\";
  const std::string strSmall = makeFolder("40", 40, 0);
  const std::string strCold = makeFolder("cold", 1000, 100);
  SIconMgr* lpIcons = SIconMgr::S_getSingleton();
  {
    Opener opener(hWnd);
    if (!bFirstUnwarmed) warmUpLikeTheProgram(opener, strData + "1000\\");
    unsigned long nQueries = lpIcons->getShellQueryCount();
    const double fFirst = opener.open(strData + "1000\\", SORT_NONE);
    const unsigned long nFirstQueries = lpIcons->getShellQueryCount() - nQueries;
    const double fLater = medianOpen(opener, strData + "1000\\", nRuns);
    printf("first entries=1000 mode=plain%s open_ms=%.1f later_ms=%.1f ratio=%.2f shell_queries=%lu\n",
           bFirstUnwarmed ? " warmup=none" : "", fFirst, fLater, fFirst / fLater, nFirstQueries);
    if (bFirstOnly) return 0;
    nQueries = lpIcons->getShellQueryCount();
    const double fCold = opener.open(strCold, SORT_NONE);
    const unsigned long nColdQueries = lpIcons->getShellQueryCount() - nQueries;
    const double fWarm = medianOpen(opener, strCold, nRuns);
    printf("cold entries=1000 exts=100 open_ms=%.1f warm_ms=%.1f ratio=%.2f shell_queries=%lu\n",
           fCold, fWarm, fCold / fWarm, nColdQueries);
    fflush(stdout);

    benchmarkSystem(opener, 40, nRuns);
    benchmarkFolder(opener, 40, strSmall, nRuns);
    benchmarkSystem(opener, 1000, nRuns);
    const int sizes[] = {1000, 10000, 50000};
    char szCount[32];
    for (int nEntries : sizes) {
      snprintf(szCount, sizeof(szCount), "%d\\", nEntries);
      benchmarkFolder(opener, nEntries, strData + szCount, nRuns);
    }
  }
  SIconMgr::S_destroySingleton();
  SLog::S_destroySingleton();
  return 0;
}
