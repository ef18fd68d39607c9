#include "callstack.h"

#include "log.h"

int KVX_CALLSTACK_POSITION = 0;
unsigned long KVX_CALLSTACK_THREAD = 0;
int KVX_CALLSTACK_LINE[KVX_CALLSTACK_MAX];
const char* KVX_CALLSTACK_FILE[KVX_CALLSTACK_MAX];
const char* KVX_CALLSTACK_FUNC[KVX_CALLSTACK_MAX];

namespace KVX {

// No guard here: the copy must show the stack exactly as the caller saw it.
CallStackSnapshot::CallStackSnapshot() : m_nCount(0), m_nUnrecorded(0) {
  int nPosition = KVX_CALLSTACK_POSITION;
  if (nPosition < 0) nPosition = 0;
  m_nCount = nPosition < KVX_CALLSTACK_MAX ? nPosition : KVX_CALLSTACK_MAX;
  m_nUnrecorded = nPosition - m_nCount;
  for (int i = 0; i < m_nCount; ++i) {
    m_FuncList[i] = KVX_CALLSTACK_FUNC[i];
    m_FileList[i] = KVX_CALLSTACK_FILE[i];
    m_LineList[i] = KVX_CALLSTACK_LINE[i];
  }
}

}  // namespace KVX

// The dump is the crash handling's: nothing here takes from the heap (the
// fault may have come inside malloc, its lock held) and nothing pushes a
// frame onto the record being written.
namespace {

typedef CFixedText<SLog::LINE_BUFFER_BYTES> CDumpLine;

// The dump may come before the log exists or after it is gone: each line
// checks for the log instead of asserting on it.
void writeDumpLine(const CDumpLine& rLine) {
  SLog* lpLog = SLog::S_peekSingleton();
  if (lpLog != nullptr) lpLog->writeText(0, rLine.c_str());
}

void writeDumpLine(const char* lpszText) {
  writeDumpLine(CDumpLine().append(lpszText));
}

// The separator, the message and the heading.
void writeDumpOpening(const char* lpszMessage) {
  writeDumpLine("---------------------");
  writeDumpLine(CDumpLine().append(lpszMessage).append(":"));
  writeDumpLine("CallStack Trace:");
}

void writeFrameLine(const KVX::CallStackSnapshot& rSnapshot, int nFrame) {
  CDumpLine line;
  line.append("    ").append(rSnapshot.m_FileList[nFrame]).append(":");
  line.appendNumber(rSnapshot.m_LineList[nFrame]).append(" : ").append(rSnapshot.m_FuncList[nFrame]);
  writeDumpLine(line);
}

}  // namespace

void logStackTraceHelper(const char* file, int line, const char* msg) {
  (void)file;
  (void)line;
  // Taken before anything else, so the block shows the stack as it was at
  // the fault.
  const KVX::CallStackSnapshot snapshot;
  writeDumpOpening(msg);
  if (snapshot.m_nUnrecorded > 0)
    writeDumpLine(CDumpLine()
                      .append("    (")
                      .appendNumber(snapshot.m_nUnrecorded)
                      .append(" deeper frames not recorded)"));
  for (int i = snapshot.m_nCount - 1; i >= 0; --i) writeFrameLine(snapshot, i);
  writeDumpLine("---------------------");
}

void logUntrackedThreadHelper(const char* msg, unsigned long nThreadId) {
  writeDumpOpening(msg);
  writeDumpLine(CDumpLine().append("    (thread ").appendNumber(nThreadId).append(" is not tracked)"));
  writeDumpLine("---------------------");
}
