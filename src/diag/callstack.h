#ifndef PATHWICK_DIAG_CALLSTACK_H
#define PATHWICK_DIAG_CALLSTACK_H

#include <windows.h>

// The program's own record of which of its functions are active, kept apart
// from the machine stack so that a crash can still be reported with a
// readable call chain. Pushing a frame must stay allocation- and lock-free:
// the guard sits in the menu drawing paths too.
//
// The record is one thread's, the user-interface thread's: frames of any
// other thread (the folder listing's, say) are not recorded, as two threads
// pushing onto one record would garble it.

enum { KVX_CALLSTACK_MAX = 512 };

extern int KVX_CALLSTACK_POSITION;
// The thread whose frames are recorded; 0 records every thread's, which
// only a program with one thread can afford.
extern unsigned long KVX_CALLSTACK_THREAD;
extern int KVX_CALLSTACK_LINE[KVX_CALLSTACK_MAX];
extern const char* KVX_CALLSTACK_FILE[KVX_CALLSTACK_MAX];
extern const char* KVX_CALLSTACK_FUNC[KVX_CALLSTACK_MAX];

namespace KVX {

// The calling thread's id, read from its thread block: the guard asks on
// every frame, and a call into the system for it would cost more than the
// frame itself.
inline unsigned long currentThreadId() noexcept {
#if defined(__i386__)
  unsigned long nId;
  __asm__("movl %%fs:0x24, %0" : "=r"(nId));
  return nId;
#else
  return static_cast<unsigned long>(GetCurrentThreadId());
#endif
}

// From now on only the calling thread's frames are recorded.
inline void trackCallsOfThisThread() noexcept {
  KVX_CALLSTACK_THREAD = currentThreadId();
}

// Scoped frame: pushed on construction, popped on every way out of the scope.
// Frames deeper than the arrays are counted but not stored, so the position
// stays right and nothing past the arrays is written.
class CallStackFrame {
 public:
  CallStackFrame(const char* lpszFile, int nLine, const char* lpszFunc) noexcept
      : m_bRecorded(KVX_CALLSTACK_THREAD == 0 || KVX_CALLSTACK_THREAD == currentThreadId()) {
    if (!m_bRecorded) return;
    const int i = KVX_CALLSTACK_POSITION;
    if (i >= 0 && i < KVX_CALLSTACK_MAX) {
      KVX_CALLSTACK_LINE[i] = nLine;
      KVX_CALLSTACK_FILE[i] = lpszFile;
      KVX_CALLSTACK_FUNC[i] = lpszFunc;
    }
    KVX_CALLSTACK_POSITION = i + 1;
  }
  ~CallStackFrame() {
    if (m_bRecorded) --KVX_CALLSTACK_POSITION;
  }

  CallStackFrame(const CallStackFrame&) = delete;
  CallStackFrame& operator=(const CallStackFrame&) = delete;

 private:
  const bool m_bRecorded;
};

// An owned copy of the tracked stack at one moment. Index 0 is the outermost
// frame. Frames beyond the stored depth are only counted in m_nUnrecorded.
// The arrays are its own, not the heap's: the crash handling takes the copy,
// and a fault inside malloc or free leaves the heap locked.
class CallStackSnapshot {
 public:
  CallStackSnapshot();

  CallStackSnapshot(const CallStackSnapshot&) = delete;
  CallStackSnapshot& operator=(const CallStackSnapshot&) = delete;

  const char* m_FuncList[KVX_CALLSTACK_MAX];
  const char* m_FileList[KVX_CALLSTACK_MAX];
  int m_LineList[KVX_CALLSTACK_MAX];
  int m_nCount;
  int m_nUnrecorded;
};

}  // namespace KVX

#define KVX_CALLSTACK_CONCAT2(a, b) a##b
#define KVX_CALLSTACK_CONCAT(a, b) KVX_CALLSTACK_CONCAT2(a, b)
#define KVX_CALLSTACK_TRACK                                        \
  ::KVX::CallStackFrame KVX_CALLSTACK_CONCAT(kvxFrame_, __LINE__)( \
      __FILE_NAME__, __LINE__, __PRETTY_FUNCTION__)

// Writes the call-stack block for a crash to the run log. file and line name
// the reporting site; they are not written.
void logStackTraceHelper(const char* file, int line, const char* msg);
// The same block for a fault on a thread whose calls are not tracked: the
// message and the thread's id, with no frames.
void logUntrackedThreadHelper(const char* msg, unsigned long nThreadId);

#endif
