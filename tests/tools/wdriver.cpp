// Test driver: a console program that the end-to-end scripts run inside the
// test prefix to see and touch the program's windows the way the desktop
// does (find windows, read their texts, press buttons, post messages).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* nullIfDash(const char* lpsz) { return strcmp(lpsz, "-") == 0 ? NULL : lpsz; }

HWND findWindow(const char* lpszClass, const char* lpszTitle) {
  return FindWindowA(nullIfDash(lpszClass), nullIfDash(lpszTitle));
}

ULONG_PTR parseNumber(const char* lpsz) { return static_cast<ULONG_PTR>(strtoull(lpsz, NULL, 0)); }

HWND waitForWindow(const char* lpszClass, const char* lpszTitle, DWORD dwTimeoutMs) {
  const DWORD dwStart = GetTickCount();
  for (;;) {
    HWND hwnd = findWindow(lpszClass, lpszTitle);
    if (hwnd != NULL) return hwnd;
    if (GetTickCount() - dwStart > dwTimeoutMs) return NULL;
    Sleep(50);
  }
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

BOOL CALLBACK printMenuWindow(HWND hwnd, LPARAM lpCount) {
  char szClass[64] = {0};
  GetClassNameA(hwnd, szClass, sizeof(szClass));
  if (strcmp(szClass, "#32768") != 0 || !IsWindowVisible(hwnd)) return TRUE;
  RECT rc;
  GetWindowRect(hwnd, &rc);
  printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
  ++*reinterpret_cast<int*>(lpCount);
  return TRUE;
}

int usage() {
  fprintf(stderr,
          "usage: wdriver wait-desktop MS | wait-window CLASS TITLE MS | wait-gone CLASS TITLE MS |\n"
          "               texts CLASS TITLE | press CLASS TITLE ID |\n"
          "               post CLASS MSG WPARAM LPARAM | post-registered CLASS NAME WPARAM |\n"
          "               menus   (CLASS or TITLE may be - for any)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string strCommand = argv[1];
  if (strCommand == "wait-window" && argc == 5) {
    HWND hwnd = waitForWindow(argv[2], argv[3], static_cast<DWORD>(parseNumber(argv[4])));
    if (hwnd == NULL) return 1;
    printf("%p\n", static_cast<void*>(hwnd));
    return 0;
  }
  if (strCommand == "wait-desktop" && argc == 3) {
    // Asking for the desktop window is what starts the desktop and its taskbar.
    GetDesktopWindow();
    return waitForWindow("Shell_TrayWnd", "-", static_cast<DWORD>(parseNumber(argv[2]))) ? 0 : 1;
  }
  if (strCommand == "wait-gone" && argc == 5) {
    const DWORD dwStart = GetTickCount();
    while (findWindow(argv[2], argv[3]) != NULL) {
      if (GetTickCount() - dwStart > parseNumber(argv[4])) return 1;
      Sleep(50);
    }
    return 0;
  }
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
    int nCount = 0;
    EnumWindows(printMenuWindow, reinterpret_cast<LPARAM>(&nCount));
    return 0;
  }
  return usage();
}
