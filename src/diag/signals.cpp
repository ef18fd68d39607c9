#include "signals.h"

#include <windows.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "callstack.h"

namespace {

const char kCrashText[] =
    "The program has caused an exception and will be terminated.\nError information has been logged.";

// How long the handling has to write its block and put its box on screen.
// One that has not by then is stuck, most likely on a lock the faulting
// thread held (the heap's, the loader's), and the process ends without the
// box. Once the box is up the user reads it in their own time.
const DWORD kHandlingBoundMs = 10000;

CRASHCLEANUPPROC S_lpfnCleanup = NULL;

// One fault: where it was reported, and on which thread (0 while unset).
struct FAULTRECORD {
  const char* lpszFile;
  int nLine;
  const char* lpszMessage;
  volatile LONG lThreadId;
};

// The thread of the first fault, the thread that handles it, and the one
// showing its box: 0 until there is one. Faults on two threads can race.
volatile LONG S_lFaultingThread = 0;
volatile LONG S_lHandlingThread = 0;
volatile LONG S_lBoxThread = 0;
FAULTRECORD S_FirstFault;

// The handling thread and what it waits for, made with the handlers: a
// crash is no time to make anything, as making a thread takes from the heap
// and waits for the loader's lock. A crash only signals it; it tells the
// faulting thread once the box is up.
HANDLE S_hHandlingThread = NULL;
HANDLE S_hCrashEvent = NULL;
HANDLE S_hBoxUpEvent = NULL;

// Faults on other threads while the first is handled, left for the handling
// thread to log, so that the blocks do not mix. A slot counts once its
// thread id is set.
enum { MAX_LATER_FAULTS = 8 };
FAULTRECORD S_LaterFaultList[MAX_LATER_FAULTS];
volatile LONG S_lLaterFaultCount = 0;
LONG S_lLoggedLaterFaults = 0;
HANDLE S_hLaterFaultEvent = NULL;

void armSignalHandlers() {
  signal(SIGABRT, handle_sig_abort);
  signal(SIGFPE, handle_sig_fpe);
  signal(SIGILL, handle_sig_ill);
  signal(SIGSEGV, handle_sig_segv);
}

// Neither exit() nor ExitProcess(): they run the program's static
// destructors and the modules' detach code on the crashed state, and wait
// for locks (the heap's, the loader's) a stopped thread may hold. Each log
// line is in the file as soon as it is written; nothing is lost.
[[noreturn]] void endCrashedProcess() {
  TerminateProcess(GetCurrentProcess(), 0);
  // Only if the system refused to end its own caller.
  ExitProcess(0);
}

// A fault can also happen on a thread the system or a shell extension
// started inside the process; the tracked stack is not that thread's, so it
// is not reported as if it were. A user-interface thread that faulted stays
// stopped in its handler, so its tracked stack is still the one of the
// fault when another thread writes the block.
void logFault(const FAULTRECORD& rFault) {
  const DWORD dwThreadId = static_cast<DWORD>(rFault.lThreadId);
  if (KVX_CALLSTACK_THREAD == 0 || dwThreadId == KVX_CALLSTACK_THREAD)
    logStackTraceHelper(rFault.lpszFile, rFault.nLine, rFault.lpszMessage);
  else
    logUntrackedThreadHelper(rFault.lpszMessage, dwThreadId);
}

// Only the handling thread calls this.
void logLaterFaults() {
  while (S_lLoggedLaterFaults < MAX_LATER_FAULTS &&
         S_LaterFaultList[S_lLoggedLaterFaults].lThreadId != 0)
    logFault(S_LaterFaultList[S_lLoggedLaterFaults++]);
}

void recordFault(FAULTRECORD& rFault, const char* lpszFile, int nLine, const char* lpszMessage,
                 LONG lThreadId) {
  rFault.lpszFile = lpszFile;
  rFault.nLine = nLine;
  rFault.lpszMessage = lpszMessage;
  InterlockedExchange(&rFault.lThreadId, lThreadId);
}

// A fault while another is handled brings no second box: the thread leaves
// its report to the handling thread and stops for good. The process ends
// when the user closes the first box.
[[noreturn]] void parkLaterFault(const char* lpszFile, int nLine, const char* lpszMessage,
                                 LONG lThreadId) {
  const LONG lSlot = InterlockedIncrement(&S_lLaterFaultCount) - 1;
  if (lSlot < MAX_LATER_FAULTS) {
    recordFault(S_LaterFaultList[lSlot], lpszFile, nLine, lpszMessage, lThreadId);
    if (S_hLaterFaultEvent != NULL) SetEvent(S_hLaterFaultEvent);
  }
  for (;;) Sleep(INFINITE);
}

// lpfnProc runs suspended until its id is known, so that a fault of its own
// is recognised; NULL when no thread could be made.
HANDLE startThread(LPTHREAD_START_ROUTINE lpfnProc, volatile LONG& rlThreadId) {
  DWORD dwThreadId = 0;
  HANDLE hThread = CreateThread(NULL, 0, lpfnProc, NULL, CREATE_SUSPENDED, &dwThreadId);
  if (hThread == NULL) return NULL;
  InterlockedExchange(&rlThreadId, static_cast<LONG>(dwThreadId));
  ResumeThread(hThread);
  return hThread;
}

// Watches the box's thread: the box is up once a window of that thread is
// visible.
LRESULT CALLBACK boxShownHook(int nCode, WPARAM wParam, LPARAM lParam) {
  const CWPRETSTRUCT* lpCall = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (nCode == HC_ACTION && IsWindowVisible(lpCall->hwnd)) SetEvent(S_hBoxUpEvent);
  return CallNextHookEx(NULL, nCode, wParam, lParam);
}

// The box comes from a thread that has had no input of its own: it asks for
// the foreground the crashed program had. Without the watch there is no
// telling when the box is up, and it counts as up at once.
DWORD WINAPI crashBoxThreadProc(LPVOID) {
  const HHOOK hWatch =
      SetWindowsHookExA(WH_CALLWNDPROCRET, boxShownHook, NULL, GetCurrentThreadId());
  if (hWatch == NULL) SetEvent(S_hBoxUpEvent);
  MessageBoxA(NULL, kCrashText, "Error", MB_ICONERROR | MB_SETFOREGROUND);
  if (hWatch != NULL) UnhookWindowsHookEx(hWatch);
  return 0;
}

// The box's message loop runs on a thread of its own, so that faults on
// other threads are logged as they come while the box is up.
void showCrashBox() {
  HANDLE hBoxThread = startThread(crashBoxThreadProc, S_lBoxThread);
  if (hBoxThread == NULL) {
    crashBoxThreadProc(NULL);
    return;
  }
  const HANDLE waitList[2] = {hBoxThread, S_hLaterFaultEvent};
  const DWORD nWaits = S_hLaterFaultEvent != NULL ? 2 : 1;
  while (WaitForMultipleObjects(nWaits, waitList, FALSE, INFINITE) == WAIT_OBJECT_0 + 1)
    logLaterFaults();
  CloseHandle(hBoxThread);
}

// The block comes first: the cleanup and the box may need the heap, and
// whatever they do not get done by the bound is lost, the block is not.
[[noreturn]] void handleCrash() {
  logFault(S_FirstFault);
  if (S_lpfnCleanup != NULL) S_lpfnCleanup();
  showCrashBox();
  logLaterFaults();
  endCrashedProcess();
}

DWORD WINAPI crashHandlingThreadProc(LPVOID) {
  WaitForSingleObject(S_hCrashEvent, INFINITE);
  handleCrash();
}

// Without the events there is nothing to wait on: no thread, and a crash is
// handled on the faulting thread.
void startHandlingThread() {
  S_hCrashEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
  S_hBoxUpEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
  if (S_hCrashEvent != NULL && S_hBoxUpEvent != NULL)
    S_hHandlingThread = startThread(crashHandlingThreadProc, S_lHandlingThread);
}

// The faulting thread waits without pumping messages: none of the
// program's window procedures, timers or hooks runs on the damaged state
// while the box is up. It waits for the handling's progress, not for the
// user: a handling that has not put its box on screen by the bound is
// stuck, and the process ends; once the box is up, the wait is the user's.
[[noreturn]] void awaitHandling() {
  const HANDLE waitList[2] = {S_hBoxUpEvent, S_hHandlingThread};
  if (WaitForMultipleObjects(2, waitList, FALSE, kHandlingBoundMs) == WAIT_OBJECT_0)
    WaitForSingleObject(S_hHandlingThread, INFINITE);
  endCrashedProcess();
}

// The handling is another thread's: a fault in it is then a fault of that
// thread, which comes back to the handler; one on the faulting thread,
// inside the exception filter, would be taken for a nested exception and
// end the process without a word.
[[noreturn]] void handOverCrash() {
  // Without a thread of its own the handling runs here, as best it can.
  if (S_hHandlingThread == NULL) {
    InterlockedExchange(&S_lHandlingThread, static_cast<LONG>(GetCurrentThreadId()));
    handleCrash();
  }
  SetEvent(S_hCrashEvent);
  awaitHandling();
}

[[noreturn]] void reportCrashAndExit(const char* lpszFile, int nLine, const char* lpszMessage) {
  // The runtime puts a signal back to its default before calling its
  // handler; a second assertion would end the process its own way.
  armSignalHandlers();
  const LONG lThreadId = static_cast<LONG>(GetCurrentThreadId());
  // A fault in the handling itself, or in the box it waits for: what is
  // left of the handling can be trusted neither to finish nor to be waited
  // for, so the process ends at once as a crash does. The block comes first
  // of all: a fault while writing it means the log is what broke.
  if (lThreadId == S_lHandlingThread || lThreadId == S_lBoxThread) endCrashedProcess();
  if (InterlockedCompareExchange(&S_lFaultingThread, lThreadId, 0) != 0)
    parkLaterFault(lpszFile, nLine, lpszMessage, lThreadId);
  recordFault(S_FirstFault, lpszFile, nLine, lpszMessage, lThreadId);
  handOverCrash();
}

// Hardware faults reach the signal handlers through an unhandled-exception
// filter. The runtime's start-up code installs one that does this mapping;
// ours does the same explicitly so the behaviour does not hang on which
// runtime the program is linked with.
LONG WINAPI faultToSignalFilter(EXCEPTION_POINTERS* lpInfo) {
  switch (lpInfo->ExceptionRecord->ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_IN_PAGE_ERROR:
      handle_sig_segv(SIGSEGV);
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_STACK_CHECK:
      handle_sig_fpe(SIGFPE);
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
      handle_sig_ill(SIGILL);
    default:
      return EXCEPTION_CONTINUE_SEARCH;
  }
}

// 64-bit Windows swallows exceptions raised inside window procedures that the
// system calls back from kernel mode; asking for them to reach the filter
// keeps a crash in a menu handler from going unnoticed.
void keepCallbackExceptions() {
  typedef BOOL(WINAPI * GetPolicyFn)(LPDWORD);
  typedef BOOL(WINAPI * SetPolicyFn)(DWORD);
  const DWORD kCallbackFilterEnabled = 0x1;
  HMODULE hKernel = GetModuleHandleA("kernel32.dll");
  if (hKernel == NULL) return;
  GetPolicyFn lpGet =
      reinterpret_cast<GetPolicyFn>(reinterpret_cast<void*>(GetProcAddress(hKernel, "GetProcessUserModeExceptionPolicy")));
  SetPolicyFn lpSet =
      reinterpret_cast<SetPolicyFn>(reinterpret_cast<void*>(GetProcAddress(hKernel, "SetProcessUserModeExceptionPolicy")));
  DWORD dwFlags = 0;
  if (lpGet != NULL && lpSet != NULL && lpGet(&dwFlags))
    lpSet(dwFlags & ~kCallbackFilterEnabled);
}

}  // namespace

void impliment_sig_handlers() {
  // The thread that installs the handlers is the user-interface thread,
  // whose calls the tracked stack records.
  KVX::trackCallsOfThisThread();
  S_hLaterFaultEvent = CreateEventA(NULL, FALSE, FALSE, NULL);
  startHandlingThread();
  armSignalHandlers();
  // A failed assertion must end in the program's own crash box, not in the
  // runtime's "Assertion failed!" box: send the runtime's report to stderr.
  _set_error_mode(_OUT_TO_STDERR);
  // Unbuffered, so that the report is out before the crash ends the
  // process, which flushes none of the runtime's buffers.
  setvbuf(stderr, NULL, _IONBF, 0);
  SetUnhandledExceptionFilter(faultToSignalFilter);
  keepCallbackExceptions();
}

void setCrashCleanup(CRASHCLEANUPPROC lpfnCleanup) {
  S_lpfnCleanup = lpfnCleanup;
}

void handle_sig_abort(int) {
  reportCrashAndExit(__FILE_NAME__, __LINE__, "SIGABRT CAUGHT:  ASSERT FAILED");
}

void handle_sig_fpe(int) {
  reportCrashAndExit(__FILE_NAME__, __LINE__, "SIGFPE CAUGHT:  FLOATING POINT EXCEPTION");
}

void handle_sig_ill(int) {
  reportCrashAndExit(__FILE_NAME__, __LINE__, "SIGILL CAUGHT:  ILLEGAL INSTRUCTION");
}

void handle_sig_segv(int) {
  reportCrashAndExit(__FILE_NAME__, __LINE__, "SIGSEGV CAUGHT:  SEGMENTATION FAULT");
}
