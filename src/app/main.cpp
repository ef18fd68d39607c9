#include <windows.h>
#include <ole2.h>

#include "../diag/log.h"
#include "../diag/scoped.h"
#include "../diag/signals.h"
#include "../dialogs/dlgcommon.h"
#include "../menus/iconmgr.h"
#include "../resources/resource.h"
#include "appicon.h"
#include "mainwind.h"

namespace {

// One name per log-on session: another user's copy on the same machine is
// no concern of this one.
const char kInstanceMutex[] = "Local\\Quillmere Pathwick Pro";

// Only one copy runs per session; a second start tells the user where the
// first one is. Two copies started at the same instant would both miss the
// other's window, which neither has made yet: the mutex is there before
// either window. The window test still finds a copy that holds no mutex.
bool isAlreadyRunning(CKernelHandle& rInstanceMutex) {
  KVX_CALLSTACK_TRACK;
  const HANDLE hMutex = CreateMutexA(NULL, FALSE, kInstanceMutex);
  const bool bMutexTaken = hMutex != NULL && GetLastError() == ERROR_ALREADY_EXISTS;
  rInstanceMutex.reset(hMutex);
  if (!bMutexTaken && FindWindowA(PATHWICK_WINDOW_CLASS, NULL) == NULL) return false;
  MessageBoxA(NULL, "Pathwick is already running.\nPlease check the system tray.", "Pathwick",
              MB_ICONWARNING);
  return true;
}

WPARAM runMessageLoop() {
  KVX_CALLSTACK_TRACK;
  MSG msg = {};
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return msg.wParam;
}

// Registered only while the main window exists: its accessor refuses a
// missing one.
void removeTrayIconOnCrash() {
  SMainWind::S_getSingleton()->removeTrayIcon();
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  impliment_sig_handlers();
  // An empty card reader or optical drive listed in a menu would otherwise
  // raise the system's "no disk" box inside the menu loop; the search fails
  // quietly instead and the drive shows as empty. Kept to this thread: a
  // process-wide mode would be inherited by every program the menu opens.
  SetThreadErrorMode(GetThreadErrorMode() | SEM_FAILCRITICALERRORS, NULL);
  OleInitialize(NULL);
  // Opened before the single-instance test, so a refused copy still leaves
  // its start banner in the shared log.
  SLog::S_createSingleton();
  CKernelHandle instanceMutex;
  if (isAlreadyRunning(instanceMutex)) return 0;

  const CIconHandle icon(appicon::load(hInstance, IDI_PATHWICK, appicon::LARGE));
  const CIconHandle smallIcon(appicon::load(hInstance, IDI_PATHWICK_SM, appicon::SMALL));
  G_hPathwickIcon = icon.get();
  G_hPathwickIconSm = smallIcon.get();

  SMainWind::S_createSingleton();
  setCrashCleanup(removeTrayIconOnCrash);
  SMainWind::S_getSingleton()->init(hInstance);
  const WPARAM nExitCode = runMessageLoop();

  SMainWind::S_endProgram();
  return static_cast<int>(nExitCode);
}
