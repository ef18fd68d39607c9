#ifndef PATHWICK_DIAG_LOG_H
#define PATHWICK_DIAG_LOG_H

#include <windows.h>

#include <cassert>
#include <string>

#include "callstack.h"
#include "fixedtext.h"
#include "singleton.h"

// The run log, "run.log" beside the program file: banners, and one
// time-stamped line per message. Each line goes to the file in one write
// of its own, at the end of the file: nothing waits in a buffer for a crash
// to lose, and lines of two threads never mix.
class SLog : public SSingleton<SLog> {
 public:
  enum { LOG_COUNT = 1 };
  // Larger files are emptied at start-up; a file of exactly this size is kept.
  static const long MAX_LOG_BYTES = 1048576;
  // Room for one formatted message, terminator included.
  enum { LINE_BUFFER_BYTES = 1024 };

  // For the crash dump only, which must not assert when there is no log.
  static SLog* S_peekSingleton() { return S_lpSingleton; }

  void write(int rnLog, const char* rlpszMsg, ...) __attribute__((format(printf, 3, 4)));
  // A failed system call: rlpszMsg holds one %i, filled with GetLastError(),
  // which is read before anything else can change it.
  void writeLastError(int rnLog, const char* rlpszMsg);
  // rlpszText as it stands, cut as a formatted message is. It takes nothing
  // from the heap and waits for no lock that another thread may hold, so the
  // crash handling can write with it whatever state the process is in.
  void writeText(int rnLog, const char* rlpszText);

  // True when log rnLog could be opened; writes to a closed log do nothing.
  bool isOpen(int rnLog) const;
  const std::string& getPath(int rnLog) const;

  virtual ~SLog();

 private:
  friend class SSingleton<SLog>;
  SLog();
  void open(int nLog);
  void writeLine(int nLog, const char* lpszText);

  HANDLE m_hLogList[LOG_COUNT];
  std::string m_LogPathList[LOG_COUNT];
  // 1 while a thread writes a line.
  volatile LONG m_lWritingTurn;
};

// A moment as msvcrt's ctime gives it, less its newline: "Wed Dec 09
// 13:47:14 2026". Made without ctime, whose buffer is the runtime's and may
// be allocated on a thread's first use, which a crash cannot afford.
enum { TIME_STAMP_BYTES = 25 };
CFixedText<TIME_STAMP_BYTES> formatTimeStamp(const SYSTEMTIME& rTime);

#endif
