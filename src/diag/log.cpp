#include "log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "pathtext.h"

namespace {

const char kStartBanner[] = "----Logging Started Pathwick Pro----";
const char kStopBanner[] = "----Logging Stopped----";

// "run.log" in the program's folder, or in the current folder when the
// program path has no folder part.
std::string logPathBesideProgram() {
  KVX_CALLSTACK_TRACK;
  return programFolder() + "run.log";
}

// The ctime text without its newline, cut to the buffer.
void formatTimeStamp(char* lpszBuffer, size_t nSize) {
  KVX_CALLSTACK_TRACK;
  const time_t now = time(NULL);
  const char* lpszTime = ctime(&now);
  if (lpszTime == NULL) lpszTime = "?\n";
  strncpy(lpszBuffer, lpszTime, nSize - 1);
  lpszBuffer[nSize - 1] = '\0';
  const size_t nLength = strlen(lpszBuffer);
  if (nLength > 0) lpszBuffer[nLength - 1] = '\0';
}

}  // namespace

SLog::SLog() {
  KVX_CALLSTACK_TRACK;
  m_LogPathList[0] = logPathBesideProgram();
  for (int i = 0; i < LOG_COUNT; ++i) open(i);
}

// A log that cannot be opened (a read-only program folder, say) leaves the
// program running without it: every write to it does nothing.
void SLog::open(int nLog) {
  KVX_CALLSTACK_TRACK;
  std::ofstream& rStream = m_LogList[nLog];
  rStream.open(m_LogPathList[nLog].c_str(), std::ios::out | std::ios::app);
  if (rStream.good()) {
    rStream.seekp(0, std::ios::end);
    const std::streamoff nSize = rStream.tellp();
    if (nSize > MAX_LOG_BYTES) {
      rStream.close();
      rStream.open(m_LogPathList[nLog].c_str(), std::ios::out | std::ios::trunc);
    }
  }
  m_OpenList[nLog] = rStream.good();
  if (!m_OpenList[nLog]) {
    OutputDebugStringA(("Pathwick Pro: cannot open the log " + m_LogPathList[nLog]).c_str());
    return;
  }
  rStream << kStartBanner << std::endl;
}

SLog::~SLog() {
  KVX_CALLSTACK_TRACK;
  for (int i = 0; i < LOG_COUNT; ++i) {
    if (!m_OpenList[i]) continue;
    m_LogList[i] << kStopBanner << std::endl;
    m_LogList[i].close();
  }
}

void SLog::write(int rnLog, const char* rlpszMsg, ...) {
  KVX_CALLSTACK_TRACK;
  assert(rlpszMsg != NULL);
  // A negative index is as wrong as one past the end: fail the same check.
  if (rnLog < 0) rnLog = LOG_COUNT;
  assert(rnLog < LOG_COUNT);
  if (!m_OpenList[rnLog]) return;

  char szBuffer[LINE_BUFFER_BYTES];
  formatTimeStamp(szBuffer, sizeof(szBuffer));
  std::ofstream& rStream = m_LogList[rnLog];
  rStream << "[" << szBuffer << "]";

  // Cut an over-long message to the buffer rather than overrun it.
  va_list args;
  va_start(args, rlpszMsg);
  vsnprintf(szBuffer, sizeof(szBuffer), rlpszMsg, args);
  va_end(args);
  // The runtime's vsnprintf may leave a cut message unterminated.
  szBuffer[sizeof(szBuffer) - 1] = '\0';
  rStream << szBuffer << std::endl;
}

void SLog::writeLastError(int rnLog, const char* rlpszMsg) {
  const int nError = static_cast<int>(GetLastError());
  KVX_CALLSTACK_TRACK;
  write(rnLog, rlpszMsg, nError);
}

bool SLog::isOpen(int rnLog) const {
  KVX_CALLSTACK_TRACK;
  return rnLog >= 0 && rnLog < LOG_COUNT && m_OpenList[rnLog];
}

const std::string& SLog::getPath(int rnLog) const {
  KVX_CALLSTACK_TRACK;
  assert(rnLog >= 0 && rnLog < LOG_COUNT);
  return m_LogPathList[rnLog];
}
