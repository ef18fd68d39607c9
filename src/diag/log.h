#ifndef PATHWICK_DIAG_LOG_H
#define PATHWICK_DIAG_LOG_H

#include <cassert>
#include <fstream>
#include <string>

#include "callstack.h"
#include "singleton.h"

// The run log, "run.log" beside the program file: banners, and one
// time-stamped line per message, flushed at once so that a crash loses nothing.
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

  // True when log rnLog could be opened; writes to a closed log do nothing.
  bool isOpen(int rnLog) const;
  const std::string& getPath(int rnLog) const;

  virtual ~SLog();

 private:
  friend class SSingleton<SLog>;
  SLog();
  void open(int nLog);

  std::ofstream m_LogList[LOG_COUNT];
  std::string m_LogPathList[LOG_COUNT];
  bool m_OpenList[LOG_COUNT];
};

#endif
