#include "log.h"

#include <cstdarg>
#include <cstdio>

#include "pathtext.h"

namespace {

const char kStartBanner[] = "----Logging Started Pathwick Pro----";
const char kStopBanner[] = "----Logging Stopped----";

const char* const kDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A stamped message, "[", the stamp, "]" and the message, and any line with
// its CR LF.
enum {
  STAMPED_TEXT_BYTES = 1 + (TIME_STAMP_BYTES - 1) + 1 + SLog::LINE_BUFFER_BYTES,
  LINE_BYTES = STAMPED_TEXT_BYTES + 2
};

// How long a writer waits for the one before it. A line takes microseconds;
// a turn held longer is a writer that will not finish, a thread stopped by
// a crash, say, and the turn is taken over.
const DWORD kTurnWaitMs = 1000;

// "run.log" in the program's folder, or in the current folder when the
// program path has no folder part.
std::string logPathBesideProgram() {
  KVX_CALLSTACK_TRACK;
  return programFolder() + "run.log";
}

// Appending only: every write lands at the end of the file as it is then,
// whoever else writes it. Shared for writing, so that a second copy, which
// is refused, still leaves its banner beside the running one's lines.
HANDLE openForAppending(const std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  return CreateFileA(rPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

bool isOverLong(HANDLE hFile) {
  KVX_CALLSTACK_TRACK;
  LARGE_INTEGER size = {};
  return GetFileSizeEx(hFile, &size) && size.QuadPart > SLog::MAX_LOG_BYTES;
}

// Through a handle of its own: one that only appends cannot cut the file.
void emptyFile(const std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  const HANDLE hFile = CreateFileA(rPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   NULL, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (hFile != INVALID_HANDLE_VALUE) CloseHandle(hFile);
}

// Waits until no other thread is writing a line, or for the bound. Not a
// lock the crash handling could hang on: the wait is bounded, and only a
// line, never a fault, lies between taking the turn and giving it back.
void waitForTurn(volatile LONG& rlTurn) {
  const DWORD dwStart = GetTickCount();
  while (InterlockedCompareExchange(&rlTurn, 1, 0) != 0 && GetTickCount() - dwStart < kTurnWaitMs)
    Sleep(1);
}

}  // namespace

// No guard: the crash handling stamps its lines with it.
CFixedText<TIME_STAMP_BYTES> formatTimeStamp(const SYSTEMTIME& rTime) {
  CFixedText<TIME_STAMP_BYTES> stamp;
  stamp.append(kDayNames[rTime.wDayOfWeek % 7]).append(" ");
  stamp.append(kMonthNames[(rTime.wMonth + 11) % 12]).append(" ");
  stamp.appendNumber(rTime.wDay, 2).append(" ");
  stamp.appendNumber(rTime.wHour, 2).append(":").appendNumber(rTime.wMinute, 2).append(":");
  stamp.appendNumber(rTime.wSecond, 2).append(" ").appendNumber(rTime.wYear, 4);
  return stamp;
}

SLog::SLog() : m_lWritingTurn(0) {
  KVX_CALLSTACK_TRACK;
  m_LogPathList[0] = logPathBesideProgram();
  for (int i = 0; i < LOG_COUNT; ++i) open(i);
}

// A log that cannot be opened (a read-only program folder, say) leaves the
// program running without it: every write to it does nothing.
void SLog::open(int nLog) {
  KVX_CALLSTACK_TRACK;
  m_hLogList[nLog] = openForAppending(m_LogPathList[nLog]);
  if (!isOpen(nLog)) {
    OutputDebugStringA(("Pathwick Pro: cannot open the log " + m_LogPathList[nLog]).c_str());
    return;
  }
  if (isOverLong(m_hLogList[nLog])) emptyFile(m_LogPathList[nLog]);
  writeLine(nLog, kStartBanner);
}

SLog::~SLog() {
  KVX_CALLSTACK_TRACK;
  for (int i = 0; i < LOG_COUNT; ++i) {
    if (!isOpen(i)) continue;
    writeLine(i, kStopBanner);
    CloseHandle(m_hLogList[i]);
  }
}

void SLog::write(int rnLog, const char* rlpszMsg, ...) {
  KVX_CALLSTACK_TRACK;
  assert(rlpszMsg != NULL);
  // A negative index is as wrong as one past the end: fail the same check.
  if (rnLog < 0) rnLog = LOG_COUNT;
  assert(rnLog < LOG_COUNT);
  if (!isOpen(rnLog)) return;

  // Cut an over-long message to the buffer rather than overrun it, between
  // characters: in UTF-8 a name's last letter would otherwise lose a byte.
  char szBuffer[LINE_BUFFER_BYTES];
  va_list args;
  va_start(args, rlpszMsg);
  const int nWanted = vsnprintf(szBuffer, sizeof(szBuffer), rlpszMsg, args);
  va_end(args);
  // The runtime's vsnprintf may leave a cut message unterminated.
  szBuffer[sizeof(szBuffer) - 1] = '\0';
  if (nWanted < 0 || nWanted >= static_cast<int>(sizeof(szBuffer)))
    szBuffer[wholeCharacterBytes(szBuffer, sizeof(szBuffer) - 1)] = '\0';
  writeText(rnLog, szBuffer);
}

void SLog::writeText(int rnLog, const char* rlpszText) {
  KVX_CALLSTACK_TRACK;
  if (!isOpen(rnLog)) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  CFixedText<STAMPED_TEXT_BYTES> text;
  text.append("[").append(formatTimeStamp(now).c_str()).append("]");
  writeLine(rnLog, text.append(rlpszText, LINE_BUFFER_BYTES - 1).c_str());
}

// One write per line, CR LF included, so a reader never sees half of one.
// One thread writes at a time: Wine appends by finding the file's end and
// then writing there, and two threads doing that at once put their lines
// in one place.
void SLog::writeLine(int nLog, const char* lpszText) {
  KVX_CALLSTACK_TRACK;
  CFixedText<LINE_BYTES> line;
  line.append(lpszText).append("\r\n");
  waitForTurn(m_lWritingTurn);
  DWORD dwWritten = 0;
  WriteFile(m_hLogList[nLog], line.c_str(), static_cast<DWORD>(line.length()), &dwWritten, NULL);
  InterlockedExchange(&m_lWritingTurn, 0);
}

void SLog::writeLastError(int rnLog, const char* rlpszMsg) {
  const int nError = static_cast<int>(GetLastError());
  KVX_CALLSTACK_TRACK;
  write(rnLog, rlpszMsg, nError);
}

bool SLog::isOpen(int rnLog) const {
  KVX_CALLSTACK_TRACK;
  return rnLog >= 0 && rnLog < LOG_COUNT && m_hLogList[rnLog] != INVALID_HANDLE_VALUE;
}

const std::string& SLog::getPath(int rnLog) const {
  KVX_CALLSTACK_TRACK;
  assert(rnLog >= 0 && rnLog < LOG_COUNT);
  return m_LogPathList[rnLog];
}
