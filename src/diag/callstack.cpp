#include "callstack.h"

#include "log.h"

int KVX_CALLSTACK_POSITION = 0;
unsigned long KVX_CALLSTACK_THREAD = 0;
int KVX_CALLSTACK_LINE[KVX_CALLSTACK_MAX];
const char* KVX_CALLSTACK_FILE[KVX_CALLSTACK_MAX];
const char* KVX_CALLSTACK_FUNC[KVX_CALLSTACK_MAX];

namespace KVX {

// No guard here: the copy must show the stack exactly as the caller saw it.
CallStackSnapshot::CallStackSnapshot()
    : m_FuncList(nullptr), m_FileList(nullptr), m_LineList(nullptr), m_nCount(0),
      m_nUnrecorded(0) {
  int nPosition = KVX_CALLSTACK_POSITION;
  if (nPosition < 0) nPosition = 0;
  m_nCount = nPosition < KVX_CALLSTACK_MAX ? nPosition : KVX_CALLSTACK_MAX;
  m_nUnrecorded = nPosition - m_nCount;
  m_FuncList = new const char*[m_nCount];
  m_FileList = new const char*[m_nCount];
  m_LineList = new int[m_nCount];
  for (int i = 0; i < m_nCount; ++i) {
    m_FuncList[i] = KVX_CALLSTACK_FUNC[i];
    m_FileList[i] = KVX_CALLSTACK_FILE[i];
    m_LineList[i] = KVX_CALLSTACK_LINE[i];
  }
}

CallStackSnapshot::~CallStackSnapshot() {
  KVX_CALLSTACK_TRACK;
  delete[] m_FuncList;
  delete[] m_FileList;
  delete[] m_LineList;
  m_nCount = 0;
}

}  // namespace KVX

namespace {

// The dump runs from a crash handler, possibly before the log exists or after
// it is gone: each line checks for the log instead of asserting on it.
template <typename... Args>
void writeDumpLine(const char* lpszFormat, Args... args) {
  KVX_CALLSTACK_TRACK;
  SLog* lpLog = SLog::S_peekSingleton();
  if (lpLog != nullptr) lpLog->write(0, lpszFormat, args...);
}

}  // namespace

void logStackTraceHelper(const char* file, int line, const char* msg) {
  (void)file;
  (void)line;
  // Taken before this function's own frame is pushed, so the block shows the
  // stack as it was at the fault.
  KVX::CallStackSnapshot snapshot;
  KVX_CALLSTACK_TRACK;
  writeDumpLine("---------------------");
  writeDumpLine("%s:", msg);
  writeDumpLine("CallStack Trace:");
  if (snapshot.m_nUnrecorded > 0)
    writeDumpLine("    (%i deeper frames not recorded)", snapshot.m_nUnrecorded);
  for (int i = snapshot.m_nCount - 1; i >= 0; --i)
    writeDumpLine("    %s:%i : %s", snapshot.m_FileList[i], snapshot.m_LineList[i],
                  snapshot.m_FuncList[i]);
  writeDumpLine("---------------------");
}

void logUntrackedThreadHelper(const char* msg, unsigned long nThreadId) {
  KVX_CALLSTACK_TRACK;
  writeDumpLine("---------------------");
  writeDumpLine("%s:", msg);
  writeDumpLine("CallStack Trace:");
  writeDumpLine("    (thread %lu is not tracked)", nThreadId);
  writeDumpLine("---------------------");
}
