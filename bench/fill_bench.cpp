// Folder menu fill benchmark. For folders of 1,000, 10,000 and 50,000
// entries it times the bare FindFirstFileA/FindNextFileA enumeration of the
// folder against fillFolderMenu + clear as a plain listing (1,000 and 10,000
// only), as letter groups and as file-type groups, each the median of
// several runs with a warm icon cache, and counts the shell icon queries.
//
//   fill_bench [--runs K]      runs the benchmark (scripts/bench.sh)
//   fill_bench --manifest N    prints the entries of the N-entry folder,
//                              "D name" or "F name", one a line
//
// The folders live in fill_bench_data\<N>\ beside this program. Missing
// entries are created here, which Wine makes slow for big folders (it
// scans the folder for a name differing only in case before creating
// one); scripts/bench.sh creates them from the manifest instead.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "diag/log.h"
#include "diag/pathtext.h"
#include "menus/folderlister.h"
#include "menus/foldermenu.h"
#include "menus/navmenu.h"
#include "menus/iconmgr.h"
#include "menus/menuitem.h"
#include "resources/resource.h"

namespace {

struct Entry {
  bool bFolder;
  std::string strName;
};

// A deterministic mix like a download or documents folder: about one
// entry in eight a folder, common document, picture, music, archive,
// program and source types, some files without extension, names starting
// with letters of both cases, digits and a few symbols.
std::vector<Entry> makeManifest(int nEntries) {
  KVX_CALLSTACK_TRACK;
  static const char* const S_Extensions[] = {
      ".txt",  ".txt",  ".txt", ".jpg", ".jpg", ".jpg",    ".pdf", ".pdf", ".docx", ".docx",
      ".xlsx", ".png",  ".png", ".mp3", ".mp3", ".zip",    ".exe", ".lnk", ".cpp",  ".cpp",
      ".h",    ".html", ".log", ".JPG", "",     ".tar.gz", ".ini", ".csv"};
  static const char S_FirstChars[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnoprstw0123456789_~";
  const int nExtensions = sizeof(S_Extensions) / sizeof(S_Extensions[0]);
  const int nFirstChars = sizeof(S_FirstChars) - 1;
  unsigned int nSeed = 12345u + static_cast<unsigned int>(nEntries);
  std::vector<Entry> entries;
  entries.reserve(nEntries);
  char szName[64];
  for (int i = 0; i < nEntries; ++i) {
    nSeed = nSeed * 1103515245u + 12345u;
    const unsigned int r = nSeed >> 8;
    Entry entry;
    entry.bFolder = (r % 8) == 0;
    const char cFirst = S_FirstChars[(r / 8) % nFirstChars];
    snprintf(szName, sizeof(szName), "%c%s %06d%s", cFirst, entry.bFolder ? "older" : "ile", i,
             entry.bFolder ? "" : S_Extensions[(r / 1024) % nExtensions]);
    entry.strName = szName;
    entries.push_back(entry);
  }
  return entries;
}

double nowMs() {
  KVX_CALLSTACK_TRACK;
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
  KVX_CALLSTACK_TRACK;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

int countEntries(const std::string& rFolder) {
  KVX_CALLSTACK_TRACK;
  WIN32_FIND_DATAA data;
  const HANDLE hFind = FindFirstFileA((rFolder + "*").c_str(), &data);
  if (hFind == INVALID_HANDLE_VALUE) return 0;
  int nCount = 0;
  do {
    if (strcmp(data.cFileName, ".") != 0 && strcmp(data.cFileName, "..") != 0) ++nCount;
  } while (FindNextFileA(hFind, &data));
  FindClose(hFind);
  return nCount;
}

// The folder of nEntries, created or completed when it is not whole.
std::string ensureFolder(int nEntries) {
  KVX_CALLSTACK_TRACK;
  const std::string strData = programFolder() + "fill_bench_data\\";
  char szCount[32];
  snprintf(szCount, sizeof(szCount), "%d\\", nEntries);
  const std::string strFolder = strData + szCount;
  if (countEntries(strFolder) == nEntries) return strFolder;
  fprintf(stderr, "creating %s (slow under Wine; scripts/bench.sh makes it faster)\n",
          strFolder.c_str());
  CreateDirectoryA(strData.c_str(), NULL);
  CreateDirectoryA(strFolder.c_str(), NULL);
  const std::vector<Entry> entries = makeManifest(nEntries);
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string strPath = strFolder + entries[i].strName;
    if (entries[i].bFolder) {
      CreateDirectoryA(strPath.c_str(), NULL);
    } else {
      const HANDLE hFile =
          CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
      if (hFile != INVALID_HANDLE_VALUE) CloseHandle(hFile);
    }
  }
  return strFolder;
}

// What the fill competes with: the same search, names only.
double timeEnumeration(const std::string& rFolder) {
  KVX_CALLSTACK_TRACK;
  const double fStart = nowMs();
  WIN32_FIND_DATAA data;
  const HANDLE hFind = FindFirstFileA((rFolder + "*").c_str(), &data);
  int nCount = 0;
  if (hFind != INVALID_HANDLE_VALUE) {
    do {
      ++nCount;
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
  }
  const double fElapsed = nowMs() - fStart;
  if (nCount == 0) fprintf(stderr, "nothing found in %s\n", rFolder.c_str());
  return fElapsed;
}

struct Mode {
  const char* lpszName;
  int nSortType;
};

class FillTimer {
 public:
  FillTimer() {
    KVX_CALLSTACK_TRACK;
    m_Menu.init();
    m_Sub.init();
  }
  // One fill as the controller makes it below a root (parent type 0), and
  // the clear that follows when the popup closes.
  double time(const std::string& rFolder, int nSortType) {
    KVX_CALLSTACK_TRACK;
    FILLINFO info;
    info.str_path = rFolder;
    info.str_search = "*";
    info.sort_type = nSortType;
    info.max_no_sort = 25;
    const double fStart = nowMs();
    m_Menu.fillFolderMenu(&m_Sub, info, 0);
    m_Menu.clear();
    return nowMs() - fStart;
  }

 private:
  CFolderMenu m_Menu;
  CFolderMenu m_Sub;
};

HWND createHiddenWindow() {
  KVX_CALLSTACK_TRACK;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.lpszClassName = "PathwickFillBench";
  RegisterClassExA(&wc);
  return CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                         wc.hInstance, NULL);
}

// The start-up steps a fill relies on.
void setUpMenus() {
  KVX_CALLSTACK_TRACK;
  CNavMenu::S_loadDrawingResources(GetModuleHandleA(NULL), createHiddenWindow());
}

void benchmarkFolder(int nEntries, int nRuns) {
  KVX_CALLSTACK_TRACK;
  const std::string strFolder = ensureFolder(nEntries);
  std::vector<Mode> modes;
  if (nEntries <= 10000) modes.push_back(Mode{"plain", SORT_NONE});
  modes.push_back(Mode{"abc", SORT_ABC});
  modes.push_back(Mode{"ext", SORT_EXT});

  FillTimer timer;
  // Warm-up: file cache, icon cache, and the heap the menu grows in.
  timeEnumeration(strFolder);
  for (size_t m = 0; m < modes.size(); ++m) {
    const double fFirst = timer.time(strFolder, modes[m].nSortType);
    printf("# first fill entries=%d mode=%s fill_ms=%.1f\n", nEntries, modes[m].lpszName, fFirst);
  }

  std::vector<double> enumTimes;
  std::vector<std::vector<double>> fillTimes(modes.size());
  std::vector<unsigned long> queries(modes.size(), 0);
  SIconMgr* lpIcons = SIconMgr::S_getSingleton();
  for (int nRun = 0; nRun < nRuns; ++nRun) {
    enumTimes.push_back(timeEnumeration(strFolder));
    for (size_t m = 0; m < modes.size(); ++m) {
      const unsigned long nBefore = lpIcons->getShellQueryCount();
      fillTimes[m].push_back(timer.time(strFolder, modes[m].nSortType));
      queries[m] += lpIcons->getShellQueryCount() - nBefore;
    }
  }
  const double fEnum = median(enumTimes);
  for (size_t m = 0; m < modes.size(); ++m) {
    const double fFill = median(fillTimes[m]);
    printf("fill entries=%d mode=%s enum_ms=%.1f fill_ms=%.1f ratio=%.2f shell_queries=%lu\n",
           nEntries, modes[m].lpszName, fEnum, fFill, fFill / fEnum, queries[m]);
    fflush(stdout);
  }
}

// What the listing thread adds to a listing: the same small folder listed
// through the lister and by the search itself on this thread, as medians
// of many, so that the hand-off shows apart from the search.
void benchmarkHandOff(int nRuns) {
  KVX_CALLSTACK_TRACK;
  FILLINFO info;
  info.str_path = ensureFolder(1000);
  info.str_search = "a*";
  std::vector<FOUNDNAME> folders;
  std::vector<FOUNDNAME> files;
  std::vector<double> direct;
  std::vector<double> handedOff;
  SFolderLister* lpLister = SFolderLister::S_getSingleton();
  for (int nRun = 0; nRun < nRuns * 40; ++nRun) {
    double fStart = nowMs();
    CFolderMenu::S_searchFolder(info, folders, files);
    direct.push_back(nowMs() - fStart);
    fStart = nowMs();
    lpLister->list(info, folders, files);
    handedOff.push_back(nowMs() - fStart);
  }
  const double fDirect = median(direct);
  const double fHandedOff = median(handedOff);
  printf("handoff entries=%lu direct_ms=%.3f lister_ms=%.3f added_ms=%.3f\n",
         static_cast<unsigned long>(folders.size() + files.size()), fDirect, fHandedOff,
         fHandedOff - fDirect);
  fflush(stdout);
}

int printManifest(int nEntries) {
  KVX_CALLSTACK_TRACK;
  const std::vector<Entry> entries = makeManifest(nEntries);
  for (size_t i = 0; i < entries.size(); ++i)
    printf("%c %s\n", entries[i].bFolder ? 'D' : 'F', entries[i].strName.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  KVX_CALLSTACK_TRACK;
  if (argc == 3 && strcmp(argv[1], "--manifest") == 0) return printManifest(atoi(argv[2]));
  int nRuns = 5;
  if (argc == 3 && strcmp(argv[1], "--runs") == 0) nRuns = std::max(1, atoi(argv[2]));
  SLog::S_createSingleton();
  setUpMenus();
  const int sizes[] = {1000, 10000, 50000};
  for (int nEntries : sizes) benchmarkFolder(nEntries, nRuns);
  benchmarkHandOff(nRuns);
  SIconMgr::S_destroySingleton();
  SLog::S_destroySingleton();
  return 0;
}
