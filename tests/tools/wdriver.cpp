// Test driver: a console program that the end-to-end scripts run inside the
// test prefix to see and touch the program's windows the way the desktop
// does (find windows, read their texts, press buttons, post messages).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* nullIfDash(const char* lpsz) { return strcmp(lpsz, "-") == 0 ? NULL : lpsz; }

HWND findWindow(const char* lpszClass, const char* lpszTitle) {
  return FindWindowA(nullIfDash(lpszClass), nullIfDash(lpszTitle));
}

ULONG_PTR parseNumber(const char* lpsz) { return static_cast<ULONG_PTR>(strtoull(lpsz, NULL, 0)); }

// Asks isDone every 20 ms until it says yes or the time is up.
template <class F>
bool pollUntil(DWORD dwTimeoutMs, F isDone) {
  const DWORD dwStart = GetTickCount();
  while (!isDone()) {
    if (GetTickCount() - dwStart > dwTimeoutMs) return false;
    Sleep(20);
  }
  return true;
}

HWND waitForWindow(const char* lpszClass, const char* lpszTitle, DWORD dwTimeoutMs) {
  HWND hwnd = NULL;
  pollUntil(dwTimeoutMs, [&] { return (hwnd = findWindow(lpszClass, lpszTitle)) != NULL; });
  return hwnd;
}

std::string windowText(HWND hwnd) {
  char szText[4096] = {0};
  SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof(szText), reinterpret_cast<LPARAM>(szText),
                      SMTO_ABORTIFHUNG, 2000, NULL);
  return szText;
}

// Line breaks become "\n" so that each window is one line of output.
std::string escaped(const std::string& strText) {
  std::string strOut;
  for (char c : strText) {
    if (c == '\n') strOut += "\\n";
    else if (c != '\r') strOut += c;
  }
  return strOut;
}

BOOL CALLBACK printChild(HWND hwnd, LPARAM) {
  char szClass[256] = {0};
  GetClassNameA(hwnd, szClass, sizeof(szClass));
  printf("%d\t%s\t%s\n", GetDlgCtrlID(hwnd), szClass, escaped(windowText(hwnd)).c_str());
  return TRUE;
}

// ---- Dialog controls: where they are, what they show -----------------------

// The control ID of the dialog CLASS/TITLE, or the dialog itself for ID 0.
HWND findControl(const char* lpszClass, const char* lpszTitle, const char* lpszId) {
  HWND hDlg = findWindow(lpszClass, lpszTitle);
  if (hDlg == NULL) return NULL;
  const int nId = static_cast<int>(parseNumber(lpszId));
  return nId == 0 ? hDlg : GetDlgItem(hDlg, nId);
}

// "x y w h" on the screen, for a real mouse click on it.
int printControlRect(HWND hwnd) {
  RECT rc;
  if (hwnd == NULL || !GetWindowRect(hwnd, &rc)) return 1;
  printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
  return 0;
}

// "enabled checked text": what a user sees of a button or a field.
int printControlState(HWND hwnd) {
  if (hwnd == NULL) return 1;
  const LRESULT lCheck = SendMessageA(hwnd, BM_GETCHECK, 0, 0);
  printf("%d\t%d\t%s\n", IsWindowEnabled(hwnd) ? 1 : 0, lCheck == BST_CHECKED ? 1 : 0,
         escaped(windowText(hwnd)).c_str());
  return 0;
}

// A list view of another process only answers with pointers into its own
// memory: the item record and the text buffer live there while asked.
class CRemoteBuffer {
 public:
  CRemoteBuffer(HWND hwnd, SIZE_T nSize) : m_hProcess(NULL), m_lpMem(NULL), m_nSize(nSize) {
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hwnd, &dwPid);
    m_hProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, dwPid);
    if (m_hProcess != NULL)
      m_lpMem = VirtualAllocEx(m_hProcess, NULL, nSize, MEM_COMMIT, PAGE_READWRITE);
  }
  ~CRemoteBuffer() {
    if (m_lpMem != NULL) VirtualFreeEx(m_hProcess, m_lpMem, 0, MEM_RELEASE);
    if (m_hProcess != NULL) CloseHandle(m_hProcess);
  }
  CRemoteBuffer(const CRemoteBuffer&) = delete;
  CRemoteBuffer& operator=(const CRemoteBuffer&) = delete;
  bool ok() const { return m_lpMem != NULL; }
  char* at(SIZE_T nOffset) const { return static_cast<char*>(m_lpMem) + nOffset; }
  bool write(SIZE_T nOffset, const void* lpData, SIZE_T nSize) const {
    return WriteProcessMemory(m_hProcess, at(nOffset), lpData, nSize, NULL) != 0;
  }
  bool read(SIZE_T nOffset, void* lpData, SIZE_T nSize) const {
    return ReadProcessMemory(m_hProcess, at(nOffset), lpData, nSize, NULL) != 0;
  }

 private:
  HANDLE m_hProcess;
  void* m_lpMem;
  SIZE_T m_nSize;
};

const SIZE_T kRemoteText = 512;
const SIZE_T kRemoteTextSize = 1024;

std::string listCellText(HWND hList, const CRemoteBuffer& rMem, int nRow, int nColumn) {
  LVITEMA item = {};
  item.iSubItem = nColumn;
  item.pszText = rMem.at(kRemoteText);
  item.cchTextMax = static_cast<int>(kRemoteTextSize - 1);
  if (!rMem.write(0, &item, sizeof(item))) return std::string();
  SendMessageA(hList, LVM_GETITEMTEXTA, nRow, reinterpret_cast<LPARAM>(rMem.at(0)));
  char szText[kRemoteTextSize] = {0};
  rMem.read(kRemoteText, szText, kRemoteTextSize - 1);
  return szText;
}

// One line per row: "row selected col0 col1 ..." separated by tabs.
int printListRows(HWND hList) {
  if (hList == NULL) return 1;
  CRemoteBuffer mem(hList, kRemoteText + kRemoteTextSize);
  if (!mem.ok()) return 1;
  HWND hHeader = reinterpret_cast<HWND>(SendMessageA(hList, LVM_GETHEADER, 0, 0));
  const int nColumns = hHeader ? static_cast<int>(SendMessageA(hHeader, HDM_GETITEMCOUNT, 0, 0)) : 1;
  const int nRows = static_cast<int>(SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
  for (int nRow = 0; nRow < nRows; ++nRow) {
    const LRESULT lState = SendMessageA(hList, LVM_GETITEMSTATE, nRow, LVIS_SELECTED);
    printf("%d\t%d", nRow, (lState & LVIS_SELECTED) ? 1 : 0);
    for (int nColumn = 0; nColumn < nColumns; ++nColumn)
      printf("\t%s", listCellText(hList, mem, nRow, nColumn).c_str());
    printf("\n");
  }
  return 0;
}

// "x y w h" of one row on the screen.
int printListRowRect(HWND hList, int nRow) {
  if (hList == NULL) return 1;
  CRemoteBuffer mem(hList, sizeof(RECT));
  RECT rc = {};
  rc.left = LVIR_BOUNDS;
  if (!mem.ok() || !mem.write(0, &rc, sizeof(rc))) return 1;
  if (!SendMessageA(hList, LVM_GETITEMRECT, nRow, reinterpret_cast<LPARAM>(mem.at(0)))) return 1;
  mem.read(0, &rc, sizeof(rc));
  MapWindowPoints(hList, NULL, reinterpret_cast<POINT*>(&rc), 2);
  printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
  return 0;
}

// The window that has the keyboard focus in the foreground window's thread.
// The window with the keyboard focus on hwnd's thread, through rhFocus
// (NULL when none has it); false when the thread cannot be asked.
bool getThreadFocus(HWND hwnd, HWND& rhFocus) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (hwnd == NULL || !GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, NULL), &info)) return false;
  rhFocus = info.hwndFocus;
  return true;
}

int printFocus() {
  HWND hForeground = GetForegroundWindow();
  HWND hFocus = NULL;
  if (!getThreadFocus(hForeground, hFocus)) return 1;
  printf("%d\t%s\n", hFocus ? GetDlgCtrlID(hFocus) : 0, escaped(windowText(hForeground)).c_str());
  return 0;
}

// The taskbar's shown buttons, its start button and one per window it
// lists, a line each.
BOOL CALLBACK printShownButton(HWND hwnd, LPARAM) {
  char szClass[64] = {0};
  GetClassNameA(hwnd, szClass, sizeof(szClass));
  if (IsWindowVisible(hwnd) && lstrcmpiA(szClass, "Button") == 0)
    printf("%p\n", static_cast<void*>(hwnd));
  return TRUE;
}

struct SHOWNWINDOWS {
  const char* lpszClass;
  const char* lpszTitle;
  std::vector<HWND> windows;
};

BOOL CALLBACK collectShownWindow(HWND hwnd, LPARAM lParam) {
  SHOWNWINDOWS* lpShown = reinterpret_cast<SHOWNWINDOWS*>(lParam);
  char szClass[256] = {0};
  GetClassNameA(hwnd, szClass, sizeof(szClass));
  if (lpShown->lpszClass != NULL && strcmp(szClass, lpShown->lpszClass) != 0) return TRUE;
  if (lpShown->lpszTitle != NULL && windowText(hwnd) != lpShown->lpszTitle) return TRUE;
  if (IsWindowVisible(hwnd)) lpShown->windows.push_back(hwnd);
  return TRUE;
}

// The visible top-level windows of this class and title, topmost first.
std::vector<HWND> shownWindows(const char* lpszClass, const char* lpszTitle) {
  SHOWNWINDOWS shown = {nullIfDash(lpszClass), nullIfDash(lpszTitle), {}};
  EnumWindows(collectShownWindow, reinterpret_cast<LPARAM>(&shown));
  return shown.windows;
}

BOOL CALLBACK findPendingPaint(HWND hwnd, LPARAM lParam) {
  if (!IsWindowVisible(hwnd) || !GetUpdateRect(hwnd, NULL, FALSE)) return TRUE;
  *reinterpret_cast<bool*>(lParam) = true;
  return FALSE;
}

// Visible, and neither the window nor a visible child has a part left to
// paint. Its thread then answers twice: Wine hands what was painted to the
// screen each time the thread goes idle.
bool isDrawn(HWND hwnd) {
  bool bPending = GetUpdateRect(hwnd, NULL, FALSE) != 0;
  if (!bPending) EnumChildWindows(hwnd, findPendingPaint, reinterpret_cast<LPARAM>(&bPending));
  for (int i = 0; i < 2 && !bPending; ++i)
    bPending = !SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, NULL);
  return !bPending;
}

// The open menus as "x y w h" lines.
std::string menuLines(const std::vector<HWND>& rMenus) {
  std::string strLines;
  for (HWND hwnd : rMenus) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    char szLine[64];
    snprintf(szLine, sizeof(szLine), "%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left,
             rc.bottom - rc.top);
    strLines += szLine;
  }
  return strLines;
}

// Waits until nLeast to nMost menus are open, each drawn to the end (a
// screenshot taken earlier may hold half its entries), and prints them; on
// a timeout prints the last ones seen and fails.
int waitMenus(int nLeast, int nMost, DWORD dwTimeoutMs) {
  std::vector<HWND> menus;
  const bool bDone = pollUntil(dwTimeoutMs, [&] {
    menus = shownWindows("#32768", "-");
    if (static_cast<int>(menus.size()) < nLeast || static_cast<int>(menus.size()) > nMost)
      return false;
    for (HWND hwnd : menus)
      if (!isDrawn(hwnd)) return false;
    return true;
  });
  fputs(menuLines(menus).c_str(), stdout);
  return bDone ? 0 : 1;
}

// The foreground window, once its thread's focus is on it or inside it. A
// window becomes the foreground a moment before its thread moves the focus
// into it, and a key pressed in that moment goes to the window that had the
// focus (for a dialog opened from a menu: the program's hidden window).
bool getsTheKeys(HWND hwnd) {
  HWND hFocus = NULL;
  if (hwnd != GetForegroundWindow() || !getThreadFocus(hwnd, hFocus)) return false;
  return hFocus == hwnd || IsChild(hwnd, hFocus);
}

// Every visible top-level window of this class and title drawn, at least
// one; with bActive, one of them is also the window that gets the keys.
bool waitDrawn(const char* lpszClass, const char* lpszTitle, DWORD dwTimeoutMs, bool bActive) {
  return pollUntil(dwTimeoutMs, [&] {
    const std::vector<HWND> windows = shownWindows(lpszClass, lpszTitle);
    bool bForeground = !bActive;
    for (HWND hwnd : windows) {
      if (!isDrawn(hwnd)) return false;
      bForeground = bForeground || getsTheKeys(hwnd);
    }
    return !windows.empty() && bForeground;
  });
}

std::wstring wide(const char* lpszText) {
  std::wstring strWide(MultiByteToWideChar(CP_ACP, 0, lpszText, -1, NULL, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, lpszText, -1, &strWide[0], static_cast<int>(strWide.size()));
  return strWide;
}

// A text value under HKEY_CURRENT_USER as the registry holds it, in UTF-8
// whatever its script; fails where there is none.
int printRegistryText(const char* lpszKey, const char* lpszName) {
  HKEY hKey = NULL;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(lpszKey).c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
    return 1;
  DWORD dwType = 0;
  DWORD dwBytes = 0;
  const std::wstring strName = wide(lpszName);
  LONG lResult = RegQueryValueExW(hKey, strName.c_str(), NULL, &dwType, NULL, &dwBytes);
  std::wstring strValue(dwBytes / sizeof(wchar_t) + 1, L'\0');
  if (lResult == ERROR_SUCCESS)
    lResult = RegQueryValueExW(hKey, strName.c_str(), NULL, &dwType,
                               reinterpret_cast<BYTE*>(&strValue[0]), &dwBytes);
  RegCloseKey(hKey);
  if (lResult != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ)) return 1;
  char szUtf8[4096] = {0};
  WideCharToMultiByte(CP_UTF8, 0, strValue.c_str(), -1, szUtf8, sizeof(szUtf8) - 1, NULL, NULL);
  printf("%s\n", szUtf8);
  return 0;
}

// "CLASS<tab>TITLE" of a window; fails for none.
int printClassOf(HWND hwnd) {
  if (hwnd == NULL) return 1;
  char szClass[256] = {0};
  GetClassNameA(hwnd, szClass, sizeof(szClass));
  printf("%s\t%s\n", szClass, escaped(windowText(hwnd)).c_str());
  return 0;
}

// WM_MENUCHAR for the topmost open menu, sent to the program's window as
// the menu loop sends it: "KIND POSITION" of the answer (KIND 3 is
// MNC_SELECT, 0 MNC_IGNORE).
int printMenuCharAnswer(UINT nChar) {
  const std::vector<HWND> menus = shownWindows("#32768", "-");
  const HWND hOwner = FindWindowA("PathwickDummyWindow", NULL);
  if (menus.empty() || hOwner == NULL) return 1;
  const LRESULT lMenu = SendMessageA(menus.front(), MN_GETHMENU, 0, 0);
  DWORD_PTR nAnswer = 0;
  if (!SendMessageTimeoutA(hOwner, WM_MENUCHAR, MAKEWPARAM(nChar, MF_POPUP), lMenu,
                           SMTO_ABORTIFHUNG, 5000, &nAnswer))
    return 1;
  printf("%u %u\n", HIWORD(nAnswer), LOWORD(nAnswer));
  return 0;
}

// Holds a hotkey (RegisterHotKey's MOD_ flags and key) for MS milliseconds,
// as another program that took it would; says "held" once it does.
int holdHotKey(UINT uMods, UINT uKey, DWORD dwMs) {
  if (!RegisterHotKey(NULL, 1, uMods, uKey)) return 1;
  printf("held\n");
  fflush(stdout);
  Sleep(dwMs);
  return 0;
}

// ---- Dialogs at a scale: pictures, texts, places -----------------------------

// "HANDLE W H": the bitmap a picture control shows (STM_GETIMAGE) and the
// control's size, which a bitmap control takes from its bitmap. The
// bitmap itself cannot be measured from here: a GDI handle means nothing
// outside the process that made it.
int printPicture(HWND hwnd) {
  if (hwnd == NULL) return 1;
  const LRESULT lBitmap = SendMessageA(hwnd, STM_GETIMAGE, IMAGE_BITMAP, 0);
  RECT rc;
  if (lBitmap == 0 || !GetClientRect(hwnd, &rc)) return 1;
  printf("%p %ld %ld\n", reinterpret_cast<void*>(lBitmap), rc.right, rc.bottom);
  return 0;
}

// WM_DPICHANGED as Windows sends it when a window is moved onto a monitor
// of another scale: the new DPI twice in wParam, and in lParam the place
// suggested for the window, its size scaled and its corner kept (the
// record lives in the window's process while the message is handled).
int sendDpiChanged(HWND hwnd, UINT nDpi) {
  if (hwnd == NULL) return 1;
  RECT rc;
  GetWindowRect(hwnd, &rc);
  const HDC hScreen = GetDC(NULL);
  const int nOld = GetDeviceCaps(hScreen, LOGPIXELSY);
  ReleaseDC(NULL, hScreen);
  rc.right = rc.left + MulDiv(rc.right - rc.left, static_cast<int>(nDpi), nOld);
  rc.bottom = rc.top + MulDiv(rc.bottom - rc.top, static_cast<int>(nDpi), nOld);
  CRemoteBuffer mem(hwnd, sizeof(RECT));
  if (!mem.ok() || !mem.write(0, &rc, sizeof(rc))) return 1;
  DWORD_PTR dwResult = 0;
  return SendMessageTimeoutA(hwnd, WM_DPICHANGED, MAKEWPARAM(nDpi, nDpi),
                             reinterpret_cast<LPARAM>(mem.at(0)), SMTO_ABORTIFHUNG, 5000, &dwResult)
             ? 0
             : 1;
}

// The font a dialog's controls are drawn with: its template's face and
// size, made at the screen's DPI as the dialog manager makes it. The
// dialog's own font cannot be used from here (a GDI handle means nothing
// outside its process).
struct DIALOGFONT {
  const char* lpszFace;
  int nPoints;
};

HFONT createDialogFont(HDC hDC, const DIALOGFONT& rFont) {
  return CreateFontA(-MulDiv(rFont.nPoints, GetDeviceCaps(hDC, LOGPIXELSY), 72), 0, 0, 0, FW_DONTCARE,
                     FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     PROOF_QUALITY, FF_DONTCARE, rFont.lpszFace);
}

// A static text of a dialog that needs more room than its control gives,
// as a line "ID<tab>needed WxH<tab>given WxH<tab>text": measured as the
// control draws it, word-wrapped at its width, on its own device context.
BOOL CALLBACK printUnfitText(HWND hwnd, LPARAM lParam) {
  char szClass[64] = {0};
  GetClassNameA(hwnd, szClass, sizeof(szClass));
  const LONG lStyle = GetWindowLongA(hwnd, GWL_STYLE);
  const LONG lType = lStyle & SS_TYPEMASK;
  const std::string strText = windowText(hwnd);
  if (lstrcmpiA(szClass, "Static") != 0 || !IsWindowVisible(hwnd) || strText.empty() ||
      (lType != SS_LEFT && lType != SS_CENTER && lType != SS_RIGHT))
    return TRUE;
  RECT rcClient;
  GetClientRect(hwnd, &rcClient);
  RECT rcNeeded = {0, 0, rcClient.right, 0};
  const HDC hDC = GetDC(hwnd);
  const HFONT hFont = createDialogFont(hDC, *reinterpret_cast<const DIALOGFONT*>(lParam));
  const HGDIOBJ hOld = SelectObject(hDC, hFont);
  const UINT uNoPrefix = (lStyle & SS_NOPREFIX) ? DT_NOPREFIX : 0;
  DrawTextA(hDC, strText.c_str(), -1, &rcNeeded, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | uNoPrefix);
  SelectObject(hDC, hOld);
  DeleteObject(hFont);
  ReleaseDC(hwnd, hDC);
  if (rcNeeded.right > rcClient.right || rcNeeded.bottom > rcClient.bottom)
    printf("%d\t%ldx%ld\t%ldx%ld\t%s\n", GetDlgCtrlID(hwnd), rcNeeded.right, rcNeeded.bottom,
           rcClient.right, rcClient.bottom, escaped(strText).c_str());
  return TRUE;
}

int printUnfitTexts(HWND hDlg, const DIALOGFONT& rFont) {
  if (hDlg == NULL) return 1;
  EnumChildWindows(hDlg, printUnfitText, reinterpret_cast<LPARAM>(&rFont));
  return 0;
}

// "x y w h" of the work area of the monitor a window is on.
int printWorkArea(HWND hwnd) {
  if (hwnd == NULL) return 1;
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info)) return 1;
  const RECT& rc = info.rcWork;
  printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
  return 0;
}

int moveWindow(HWND hwnd, int x, int y) {
  if (hwnd == NULL) return 1;
  return SetWindowPos(hwnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
}

// Dialog commands: true when argv named one of them; rnResult is its result.
bool runDialogCommand(int argc, char** argv, int& rnResult) {
  const std::string strCommand = argv[1];
  if (strCommand == "rect" && argc == 5) {
    rnResult = printControlRect(findControl(argv[2], argv[3], argv[4]));
  } else if (strCommand == "control" && argc == 5) {
    rnResult = printControlState(findControl(argv[2], argv[3], argv[4]));
  } else if (strCommand == "list" && argc == 5) {
    rnResult = printListRows(findControl(argv[2], argv[3], argv[4]));
  } else if (strCommand == "list-row-rect" && argc == 6) {
    rnResult = printListRowRect(findControl(argv[2], argv[3], argv[4]),
                                static_cast<int>(parseNumber(argv[5])));
  } else if (strCommand == "count" && argc == 4) {
    printf("%u\n", static_cast<unsigned>(shownWindows(argv[2], argv[3]).size()));
  } else if (strCommand == "taskbar" && argc == 2) {
    EnumChildWindows(FindWindowA("Shell_TrayWnd", NULL), printShownButton, 0);
  } else if (strCommand == "focus" && argc == 2) {
    rnResult = printFocus();
  } else if (strCommand == "reg" && argc == 4) {
    rnResult = printRegistryText(argv[2], argv[3]);
  } else if (strCommand == "owner" && argc == 4) {
    rnResult = printClassOf(GetWindow(findWindow(argv[2], argv[3]), GW_OWNER));
  } else if (strCommand == "foreground" && argc == 2) {
    rnResult = printClassOf(GetForegroundWindow());
  } else if (strCommand == "menu-char" && argc == 3) {
    rnResult = printMenuCharAnswer(static_cast<UINT>(parseNumber(argv[2])));
  } else if (strCommand == "hold-hotkey" && argc == 5) {
    rnResult = holdHotKey(static_cast<UINT>(parseNumber(argv[2])),
                          static_cast<UINT>(parseNumber(argv[3])),
                          static_cast<DWORD>(parseNumber(argv[4])));
  } else if (strCommand == "picture" && argc == 5) {
    rnResult = printPicture(findControl(argv[2], argv[3], argv[4]));
  } else if (strCommand == "dpi-changed" && argc == 5) {
    rnResult = sendDpiChanged(findWindow(argv[2], argv[3]), static_cast<UINT>(parseNumber(argv[4])));
  } else if (strCommand == "unfit-texts" && argc == 6) {
    const DIALOGFONT font = {argv[4], static_cast<int>(parseNumber(argv[5]))};
    rnResult = printUnfitTexts(findWindow(argv[2], argv[3]), font);
  } else if (strCommand == "work-area" && argc == 4) {
    rnResult = printWorkArea(findWindow(argv[2], argv[3]));
  } else if (strCommand == "move" && argc == 6) {
    rnResult = moveWindow(findWindow(argv[2], argv[3]), static_cast<int>(parseNumber(argv[4])),
                          static_cast<int>(parseNumber(argv[5])));
  } else {
    return false;
  }
  return true;
}

int usage() {
  fprintf(stderr,
          "usage: wdriver wait-desktop MS | wait-window CLASS TITLE MS | wait-gone CLASS TITLE MS |\n"
          "               wait-drawn|wait-active CLASS TITLE MS | wait-menus LEAST MOST MS |\n"
          "               texts CLASS TITLE | press CLASS TITLE ID |\n"
          "               post CLASS MSG WPARAM LPARAM | post-registered CLASS NAME WPARAM |\n"
          "               menus | focus | foreground | owner CLASS TITLE | taskbar |\n"
          "               menu-char CODE | hold-hotkey MODS KEY MS |\n"
          "               reg KEY NAME (a text value of HKEY_CURRENT_USER, in UTF-8) |\n"
          "               count CLASS TITLE | rect CLASS TITLE ID |\n"
          "               control CLASS TITLE ID |\n"
          "               list CLASS TITLE ID | list-row-rect CLASS TITLE ID ROW |\n"
          "               picture CLASS TITLE ID | dpi-changed CLASS TITLE DPI |\n"
          "               unfit-texts CLASS TITLE FACE POINTS | work-area CLASS TITLE | move CLASS TITLE X Y\n"
          "               (CLASS or TITLE may be - for any; ID 0 is the window itself)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string strCommand = argv[1];
  int nDialogResult = 0;
  if (runDialogCommand(argc, argv, nDialogResult)) return nDialogResult;
  if (strCommand == "wait-window" && argc == 5) {
    HWND hwnd = waitForWindow(argv[2], argv[3], static_cast<DWORD>(parseNumber(argv[4])));
    if (hwnd == NULL) return 1;
    printf("%p\n", static_cast<void*>(hwnd));
    return 0;
  }
  if ((strCommand == "wait-drawn" || strCommand == "wait-active") && argc == 5)
    return waitDrawn(argv[2], argv[3], static_cast<DWORD>(parseNumber(argv[4])),
                     strCommand == "wait-active")
               ? 0
               : 1;
  if (strCommand == "wait-desktop" && argc == 3) {
    // Asking for the desktop window is what starts the desktop and its taskbar.
    GetDesktopWindow();
    return waitForWindow("Shell_TrayWnd", "-", static_cast<DWORD>(parseNumber(argv[2]))) ? 0 : 1;
  }
  if (strCommand == "wait-gone" && argc == 5)
    return pollUntil(static_cast<DWORD>(parseNumber(argv[4])),
                     [&] { return findWindow(argv[2], argv[3]) == NULL; })
               ? 0
               : 1;
  if (strCommand == "texts" && argc == 4) {
    HWND hwnd = findWindow(argv[2], argv[3]);
    if (hwnd == NULL) return 1;
    printf("title\t%s\n", escaped(windowText(hwnd)).c_str());
    EnumChildWindows(hwnd, printChild, 0);
    return 0;
  }
  if (strCommand == "press" && argc == 5) {
    HWND hwnd = findWindow(argv[2], argv[3]);
    if (hwnd == NULL) return 1;
    const int nId = static_cast<int>(parseNumber(argv[4]));
    HWND hButton = GetDlgItem(hwnd, nId);
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(hButton));
    return 0;
  }
  if (strCommand == "post" && argc == 6) {
    HWND hwnd = findWindow(argv[2], "-");
    if (hwnd == NULL) return 1;
    return PostMessageA(hwnd, static_cast<UINT>(parseNumber(argv[3])), parseNumber(argv[4]),
                        static_cast<LPARAM>(parseNumber(argv[5])))
               ? 0
               : 1;
  }
  if (strCommand == "post-registered" && argc == 5) {
    HWND hwnd = findWindow(argv[2], "-");
    if (hwnd == NULL) return 1;
    const UINT uMsg = RegisterWindowMessageA(argv[3]);
    return PostMessageA(hwnd, uMsg, parseNumber(argv[4]), 0) ? 0 : 1;
  }
  if (strCommand == "menus" && argc == 2) {
    fputs(menuLines(shownWindows("#32768", "-")).c_str(), stdout);
    return 0;
  }
  if (strCommand == "wait-menus" && argc == 5)
    return waitMenus(static_cast<int>(parseNumber(argv[2])), static_cast<int>(parseNumber(argv[3])),
                     static_cast<DWORD>(parseNumber(argv[4])));
  return usage();
}
