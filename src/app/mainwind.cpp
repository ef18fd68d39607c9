#include "mainwind.h"

#include <cstdlib>

#include "../diag/log.h"

SMainWind* SMainWind::S_lpSingleton = NULL;

void SMainWind::S_createSingleton() {
  KVX_CALLSTACK_TRACK;
  if (S_lpSingleton == NULL) S_lpSingleton = new SMainWind();
}

void SMainWind::S_destroySingleton() {
  KVX_CALLSTACK_TRACK;
  if (S_lpSingleton != NULL) {
    delete S_lpSingleton;
    S_lpSingleton = NULL;
  }
}

SMainWind::SMainWind() : m_hInstance(NULL), m_hWnd(NULL), m_hConfigMenu(NULL) {}

SMainWind::~SMainWind() {}

void SMainWind::init(HINSTANCE hInstance) {
  m_hInstance = hInstance;
  registerWindowClass();
  createMainWindow();
  // The window only owns menus and receives callbacks; it is never shown.
  ShowWindow(m_hWnd, SW_HIDE);
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
    SLog::S_getSingleton()->write(
        0, "SMainWind::init() failed: RegisterClassEx() failed with error: %i",
        static_cast<int>(GetLastError()));
    exit(0);
  }
}

void SMainWind::createMainWindow() {
  KVX_CALLSTACK_TRACK;
  m_hWnd = CreateWindowExA(0, PATHWICK_WINDOW_CLASS, "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 100, 100, NULL, NULL, m_hInstance, NULL);
  if (m_hWnd == NULL) {
    SLog::S_getSingleton()->write(
        0, "SMainWind::init() failed: CreateWindowEx() failed with error: %i",
        static_cast<int>(GetLastError()));
    exit(0);
  }
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
  TrackPopupMenuEx(hNotice, 0, 0, 0, m_hWnd, NULL);
  DestroyMenu(hNotice);
  PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

LRESULT SMainWind::onDestroy() {
  KVX_CALLSTACK_TRACK;
  PostQuitMessage(0);
  return 0;
}

LRESULT CALLBACK MainWindProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  SMainWind* lpMain = SMainWind::S_getSingleton();
  switch (uMsg) {
    case WM_DESTROY:
      return lpMain->onDestroy();
    default:
      return DefWindowProcA(hwnd, uMsg, wParam, lParam);
  }
}
