// Linked into the probe build of the program only. It lets a test make the
// running program fail in each way the crash handlers must report, count its
// resources, or take the menu road Windows takes: the registered message
// "PathwickProbeFault" posted to the main window, with the kind in wParam.
#include <windows.h>

#include <malloc.h>

#include <cstring>
#include <string>

#include "app/mainwind.h"
#include "diag/callstack.h"
#include "diag/log.h"
#include "diag/signals.h"
#include "support/handlecount.h"

namespace {

enum ProbeFault {
  PROBE_ASSERT = 1,
  PROBE_ACCESS_VIOLATION = 2,
  PROBE_DIVIDE_BY_ZERO = 3,
  PROBE_LONG_LOG_LINE = 4,
  PROBE_DEEP_ACCESS_VIOLATION = 5,
  PROBE_FOREIGN_MENU_ENTRY = 6,
  PROBE_THREAD_ACCESS_VIOLATION = 7,
  PROBE_RESOURCES = 8,
  PROBE_WINDOWS_MENU_ROAD = 9,
  PROBE_FAULT_UNDER_CRASH_BOX = 10,
  PROBE_FAULT_IN_CRASH_HANDLING = 11,
  PROBE_FAULT_UNDER_HEAP_LOCK = 12,
  PROBE_FAULT_ON_CRASH_BOX_THREAD = 13,
};

UINT g_uProbeMessage = 0;
WNDPROC g_lpfnMainProc = NULL;
HHOOK g_hHook = NULL;

void failAssertion() {
  KVX_CALLSTACK_TRACK;
  const char* lpszNoFormat = NULL;
  SLog::S_getSingleton()->write(0, lpszNoFormat);
}

void violateAccess() {
  KVX_CALLSTACK_TRACK;
  volatile int* lpNowhere = NULL;
  *lpNowhere = 1;
}

void divideByZero() {
  KVX_CALLSTACK_TRACK;
  volatile int nZero = 0;
  volatile int nResult = 1 / nZero;
  (void)nResult;
  // Some virtual machines do not trap an integer division by zero at all;
  // there the probe raises the exception the processor would have raised.
  RaiseException(EXCEPTION_INT_DIVIDE_BY_ZERO, 0, 0, NULL);
}

void writeLongLine() {
  KVX_CALLSTACK_TRACK;
  const std::string strLong(5000, 'L');
  SLog::S_getSingleton()->write(0, "probe long line: %s", strLong.c_str());
  SLog::S_getSingleton()->write(0, "probe after long line");
}

void descendAndViolate(int nDepth) {
  KVX_CALLSTACK_TRACK;
  if (nDepth > 0) return descendAndViolate(nDepth - 1);
  violateAccess();
}

// A measure and a draw request for an owner-drawn entry another module
// made, handed to the program's own window procedure as the menu loop
// would: a shell extension's submenu entry carries its submenu's handle as
// its id (no bit 0x8000) and data of its own, here pointing nowhere.
void drawForeignMenuEntry(HWND hwnd) {
  KVX_CALLSTACK_TRACK;
  MEASUREITEMSTRUCT measure = {};
  measure.CtlType = ODT_MENU;
  measure.itemID = 0x1234;
  measure.itemData = 0x10;
  CallWindowProcA(g_lpfnMainProc, hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_MENU;
  draw.itemID = 0x1234;
  draw.itemData = 0x10;
  draw.hDC = GetDC(hwnd);
  CallWindowProcA(g_lpfnMainProc, hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  ReleaseDC(hwnd, draw.hDC);
  SLog::S_getSingleton()->write(0, "probe foreign entry answered");
}

// A thread of its own, as a shell extension might start, that faults.
DWORD WINAPI violateAccessOnThread(LPVOID) {
  volatile int* lpNowhere = NULL;
  *lpNowhere = 1;
  return 0;
}

void violateAccessOnAnotherThread() {
  KVX_CALLSTACK_TRACK;
  HANDLE hThread = CreateThread(NULL, 0, violateAccessOnThread, NULL, 0, NULL);
  if (hThread != NULL) CloseHandle(hThread);
}

// This process's crash box, once it is up.
HWND waitForCrashBox() {
  for (;;) {
    const HWND hBox = FindWindowA("#32770", "Error");
    DWORD dwProcessId = 0;
    if (hBox != NULL) GetWindowThreadProcessId(hBox, &dwProcessId);
    if (dwProcessId == GetCurrentProcessId()) return hBox;
    Sleep(50);
  }
}

// A second fault while the crash box of a first one is up: a thread that
// waits for this process's box, then faults.
DWORD WINAPI violateAccessUnderCrashBox(LPVOID) {
  waitForCrashBox();
  return violateAccessOnThread(NULL);
}

void faultTwice() {
  KVX_CALLSTACK_TRACK;
  HANDLE hThread = CreateThread(NULL, 0, violateAccessUnderCrashBox, NULL, 0, NULL);
  if (hThread != NULL) CloseHandle(hThread);
  violateAccess();
}

// The crash handling's own work faults: the program's cleanup is swapped for
// one that does.
void faultInCrashHandling() {
  KVX_CALLSTACK_TRACK;
  setCrashCleanup(violateAccess);
  violateAccess();
}

// The fault comes while this thread holds the locks of the process heap
// and of the runtime's heap, as one inside malloc or free would: whatever
// the crash handling then takes from a heap waits for ever.
void violateAccessUnderHeapLock() {
  KVX_CALLSTACK_TRACK;
  HeapLock(GetProcessHeap());
  HeapLock(reinterpret_cast<HANDLE>(_get_heap_handle()));
  violateAccess();
}

// The crash box's own thread faults while the box is up: a probe thread
// finds the box, subclasses it across threads and posts it a message on
// which the new procedure faults, in the box's own message loop.
const UINT kFaultBoxMessage = WM_APP + 0x5A;
WNDPROC g_lpfnBoxProc = NULL;

LRESULT CALLBACK faultingBoxProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg == kFaultBoxMessage) violateAccessOnThread(NULL);
  return CallWindowProcA(g_lpfnBoxProc, hwnd, uMsg, wParam, lParam);
}

// The box's procedure is read before it is replaced, so that no message
// reaches the new one before it knows where to pass it on.
DWORD WINAPI faultOnCrashBoxThread(LPVOID) {
  const HWND hBox = waitForCrashBox();
  g_lpfnBoxProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hBox, GWLP_WNDPROC));
  SetWindowLongPtrA(hBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(faultingBoxProc));
  SLog::S_getSingleton()->write(0, "probe makes the crash box's thread fault");
  PostMessageA(hBox, kFaultBoxMessage, 0, 0);
  return 0;
}

void faultThenOnCrashBoxThread() {
  KVX_CALLSTACK_TRACK;
  HANDLE hThread = CreateThread(NULL, 0, faultOnCrashBoxThread, NULL, 0, NULL);
  if (hThread != NULL) CloseHandle(hThread);
  violateAccess();
}

void writeResources() {
  KVX_CALLSTACK_TRACK;
  SLog::S_getSingleton()->write(0, "probe resources gdi=%lu user=%lu handles=%lu",
                                testsupport::countGdiObjects(), testsupport::countUserObjects(),
                                testsupport::countKernelHandles());
}

// What Windows delivers and Wine does not: the menu loop's right-button
// release on an entry, reported to the owner as a sent WM_MENURBUTTONUP
// while the loop handles it. The release itself goes on to the loop. The
// program's own Wine detours are turned off, so it takes Windows' road.
HWND g_hMenuOwner = NULL;
HHOOK g_hMenuHook = NULL;

// Who holds the mouse: the program's main window, another window, nobody.
const char* captureHolder() {
  const HWND hCapture = GetCapture();
  if (hCapture == NULL) return "none";
  return hCapture == g_hMenuOwner ? "owner" : "other";
}

LRESULT CALLBACK probeMenuFilterHook(int nCode, WPARAM wParam, LPARAM lParam) {
  const MSG* lpMsg = reinterpret_cast<const MSG*>(lParam);
  if (nCode != MSGF_MENU || lpMsg == NULL || lpMsg->message != WM_RBUTTONUP)
    return CallNextHookEx(g_hMenuHook, nCode, wParam, lParam);
  POINT pt = {0, 0};
  GetCursorPos(&pt);
  const HWND hMenuWnd = WindowFromPoint(pt);
  const HMENU hMenu = reinterpret_cast<HMENU>(SendMessageA(hMenuWnd, MN_GETHMENU, 0, 0));
  const int nItem = hMenu != NULL ? MenuItemFromPoint(hMenuWnd, hMenu, pt) : -1;
  if (nItem >= 0) {
    SLog::S_getSingleton()->write(0, "probe sent WM_MENURBUTTONUP %d", nItem);
    const char* lpszBefore = captureHolder();
    SendMessageA(g_hMenuOwner, WM_MENURBUTTONUP, static_cast<WPARAM>(nItem),
                 reinterpret_cast<LPARAM>(hMenu));
    SLog::S_getSingleton()->write(0, "probe capture before=%s after=%s", lpszBefore,
                                  captureHolder());
  }
  return CallNextHookEx(g_hMenuHook, nCode, wParam, lParam);
}

void takeWindowsMenuRoad(HWND hwnd) {
  KVX_CALLSTACK_TRACK;
  SMainWind::S_getSingleton()->getNavMenu().setWineRoad(false);
  g_hMenuOwner = hwnd;
  if (g_hMenuHook == NULL)
    g_hMenuHook = SetWindowsHookExA(WH_MSGFILTER, probeMenuFilterHook, NULL, GetCurrentThreadId());
  SLog::S_getSingleton()->write(0, "probe takes the Windows menu road");
}

void triggerFault(HWND hwnd, WPARAM nKind) {
  KVX_CALLSTACK_TRACK;
  switch (nKind) {
    case PROBE_ASSERT: failAssertion(); break;
    case PROBE_ACCESS_VIOLATION: violateAccess(); break;
    case PROBE_DIVIDE_BY_ZERO: divideByZero(); break;
    case PROBE_LONG_LOG_LINE: writeLongLine(); break;
    case PROBE_DEEP_ACCESS_VIOLATION: descendAndViolate(KVX_CALLSTACK_MAX + 50); break;
    case PROBE_FOREIGN_MENU_ENTRY: drawForeignMenuEntry(hwnd); break;
    case PROBE_THREAD_ACCESS_VIOLATION: violateAccessOnAnotherThread(); break;
    case PROBE_RESOURCES: writeResources(); break;
    case PROBE_WINDOWS_MENU_ROAD: takeWindowsMenuRoad(hwnd); break;
    case PROBE_FAULT_UNDER_CRASH_BOX: faultTwice(); break;
    case PROBE_FAULT_IN_CRASH_HANDLING: faultInCrashHandling(); break;
    case PROBE_FAULT_UNDER_HEAP_LOCK: violateAccessUnderHeapLock(); break;
    case PROBE_FAULT_ON_CRASH_BOX_THREAD: faultThenOnCrashBoxThread(); break;
  }
}

// Runs from DispatchMessage like the window procedure itself, so a fault here
// travels the same road as one in the program's own handlers.
LRESULT CALLBACK probeWindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  if (uMsg == g_uProbeMessage) {
    triggerFault(hwnd, wParam);
    return 0;
  }
  return CallWindowProcA(g_lpfnMainProc, hwnd, uMsg, wParam, lParam);
}

// Subclasses the main window the first time one of its messages is fetched.
LRESULT CALLBACK probeGetMessageHook(int nCode, WPARAM wParam, LPARAM lParam) {
  const MSG* lpMsg = reinterpret_cast<const MSG*>(lParam);
  if (nCode >= 0 && g_lpfnMainProc == NULL && lpMsg->hwnd != NULL) {
    char szClass[64] = {0};
    GetClassNameA(lpMsg->hwnd, szClass, sizeof(szClass));
    if (strcmp(szClass, PATHWICK_WINDOW_CLASS) == 0) {
      g_lpfnMainProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
          lpMsg->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(probeWindowProc)));
    }
  }
  return CallNextHookEx(g_hHook, nCode, wParam, lParam);
}

struct ProbeInstaller {
  ProbeInstaller() {
    g_uProbeMessage = RegisterWindowMessageA("PathwickProbeFault");
    g_hHook = SetWindowsHookExA(WH_GETMESSAGE, probeGetMessageHook, NULL, GetCurrentThreadId());
  }
} g_probeInstaller;

}  // namespace
