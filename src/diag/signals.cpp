#include "signals.h"

#include <windows.h>

#include <csignal>
#include <cstdlib>

#include "callstack.h"

namespace {

const char kCrashText[] =
    "The program has caused an exception and will be terminated.\nError information has been logged.";

// The thread whose calls the tracked stack records: the one that installed
// the handlers, the user-interface thread.
DWORD S_dwTrackedThreadId = 0;

// A fault can also happen on a thread the system or a shell extension
// started inside the process; the tracked stack is not that thread's, so it
// is not reported as if it were.
[[noreturn]] void reportCrashAndExit(const char* lpszFile, int nLine, const char* lpszMessage) {
  const DWORD dwThreadId = GetCurrentThreadId();
  if (S_dwTrackedThreadId == 0 || dwThreadId == S_dwTrackedThreadId)
    logStackTraceHelper(lpszFile, nLine, lpszMessage);
  else
    logUntrackedThreadHelper(lpszMessage, dwThreadId);
  MessageBoxA(NULL, kCrashText, "Error", MB_ICONERROR);
  exit(0);
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
  S_dwTrackedThreadId = GetCurrentThreadId();
  signal(SIGABRT, handle_sig_abort);
  signal(SIGFPE, handle_sig_fpe);
  signal(SIGILL, handle_sig_ill);
  signal(SIGSEGV, handle_sig_segv);
  // A failed assertion must end in the program's own crash box, not in the
  // runtime's "Assertion failed!" box: send the runtime's report to stderr.
  _set_error_mode(_OUT_TO_STDERR);
  SetUnhandledExceptionFilter(faultToSignalFilter);
  keepCallbackExceptions();
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
