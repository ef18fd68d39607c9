#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "diag/callstack.h"
#include "diag/log.h"
#include "support/runlog.h"

namespace {

// Every line ends in CR LF.
std::vector<std::string> readLines(const std::string& strPath) {
  const std::string strText = testsupport::readLog(strPath);
  std::istringstream in(strText);
  for (std::string line; std::getline(in, line);)
    EXPECT_TRUE(!line.empty() && line.back() == '\r') << "line without CR LF: " << line;
  return testsupport::logLines(strText);
}

std::string messageOf(const std::string& line) {
  EXPECT_TRUE(testsupport::hasStamp(line)) << line;
  return testsupport::messageOf(line);
}

class RunLog : public ::testing::Test {
 protected:
  void SetUp() override {
    SLog::S_createSingleton();
    m_strPath = SLog::S_getSingleton()->getPath(0);
    SLog::S_destroySingleton();
    DeleteFileA(m_strPath.c_str());
    SLog::S_createSingleton();
  }
  void TearDown() override { SLog::S_destroySingleton(); }

  std::vector<std::string> closeAndRead() {
    SLog::S_destroySingleton();
    return readLines(m_strPath);
  }

  std::string m_strPath;
};

TEST_F(RunLog, LivesBesideTheProgram) {
  char szModule[MAX_PATH];
  GetModuleFileNameA(NULL, szModule, MAX_PATH);
  std::string strExpected(szModule);
  strExpected = strExpected.substr(0, strExpected.rfind('\\') + 1) + "run.log";
  EXPECT_EQ(strExpected, m_strPath);
}

TEST_F(RunLog, BannersAndMessageLinesHaveTheirExactForm) {
  SLog::S_getSingleton()->write(0, "SMainWind::init() failed: %s %i", "m_NavMenu.init() failed.", 7);
  const std::vector<std::string> lines = closeAndRead();
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ("----Logging Started Pathwick Pro----", lines[0]);
  EXPECT_EQ("SMainWind::init() failed: m_NavMenu.init() failed. 7", messageOf(lines[1]));
  // ctime's form: "Tue Dec 08 13:47:21 2026" less its newline.
  const std::string stamp = lines[1].substr(1, 24);
  EXPECT_EQ(' ', stamp[3]);
  EXPECT_EQ(' ', stamp[7]);
  EXPECT_EQ(':', stamp[13]);
  EXPECT_EQ(':', stamp[16]);
  EXPECT_EQ("----Logging Stopped----", lines[2]);
}

TEST_F(RunLog, OverLongMessageIsCutToTheBufferAndTheNextLineIsIntact) {
  const std::string strLong(5000, 'x');
  SLog::S_getSingleton()->write(0, "%s", strLong.c_str());
  SLog::S_getSingleton()->write(0, "after");
  const std::vector<std::string> lines = closeAndRead();
  ASSERT_EQ(4u, lines.size());
  EXPECT_EQ(std::string(SLog::LINE_BUFFER_BYTES - 1, 'x'), messageOf(lines[1]));
  EXPECT_EQ("after", messageOf(lines[2]));
}

TEST_F(RunLog, DumpOfAnEmptyStackIsTheFourFixedLines) {
  const int nSaved = KVX_CALLSTACK_POSITION;
  KVX_CALLSTACK_POSITION = 0;
  logStackTraceHelper(__FILE__, __LINE__, "SIGSEGV CAUGHT:  SEGMENTATION FAULT");
  KVX_CALLSTACK_POSITION = nSaved;
  const std::vector<std::string> lines = closeAndRead();
  ASSERT_EQ(6u, lines.size());
  EXPECT_EQ("---------------------", messageOf(lines[1]));
  EXPECT_EQ("SIGSEGV CAUGHT:  SEGMENTATION FAULT:", messageOf(lines[2]));
  EXPECT_EQ("CallStack Trace:", messageOf(lines[3]));
  EXPECT_EQ("---------------------", messageOf(lines[4]));
}

void dumpFromInner() {
  KVX_CALLSTACK_TRACK;
  logStackTraceHelper(__FILE__, __LINE__, "inner");
}

void dumpFromOuter() {
  KVX_CALLSTACK_TRACK;
  dumpFromInner();
}

TEST_F(RunLog, DumpListsTheInnermostFrameFirstWithoutItself) {
  const int nSaved = KVX_CALLSTACK_POSITION;
  KVX_CALLSTACK_POSITION = 0;
  dumpFromOuter();
  KVX_CALLSTACK_POSITION = nSaved;
  const std::vector<std::string> lines = closeAndRead();
  ASSERT_EQ(8u, lines.size());
  EXPECT_EQ("inner:", messageOf(lines[2]));
  EXPECT_EQ(0u, messageOf(lines[4]).find("    test_log.cpp:"));
  EXPECT_NE(std::string::npos, messageOf(lines[4]).find(" : void {anonymous}::dumpFromInner()"));
  EXPECT_NE(std::string::npos, messageOf(lines[5]).find(" : void {anonymous}::dumpFromOuter()"));
  EXPECT_EQ("---------------------", messageOf(lines[6]));
}

TEST_F(RunLog, StaysQuietWhenItsFileCannotBeOpened) {
  SLog::S_destroySingleton();
  // A folder of the log's name makes the file impossible to open.
  DeleteFileA(m_strPath.c_str());
  ASSERT_TRUE(CreateDirectoryA(m_strPath.c_str(), NULL));
  SLog::S_createSingleton();
  EXPECT_FALSE(SLog::S_getSingleton()->isOpen(0));
  SLog::S_getSingleton()->write(0, "nowhere to go");
  SLog::S_destroySingleton();
  EXPECT_TRUE(RemoveDirectoryA(m_strPath.c_str()));
  SLog::S_createSingleton();
}

// The folder listing's thread and the user-interface thread write at once:
// every line arrives whole, and each thread's lines in their order.
TEST_F(RunLog, LinesOfTwoThreadsArriveWholeAndInOrder) {
  enum { LINES_PER_THREAD = 2000 };
  struct Writer {
    static DWORD WINAPI run(LPVOID lpText) {
      for (int i = 0; i < LINES_PER_THREAD; ++i)
        SLog::S_getSingleton()->write(0, "%s %i", static_cast<const char*>(lpText), i);
      return 0;
    }
  };
  // The writers' frames stay off the record, as the folder listing's do.
  KVX::trackCallsOfThisThread();
  const std::string texts[2] = {std::string(200, 'a'), std::string(300, 'b')};
  HANDLE threads[2];
  for (int i = 0; i < 2; ++i) {
    threads[i] = CreateThread(NULL, 0, Writer::run, const_cast<char*>(texts[i].c_str()), 0, NULL);
    ASSERT_NE(static_cast<HANDLE>(NULL), threads[i]);
  }
  WaitForMultipleObjects(2, threads, TRUE, INFINITE);
  for (HANDLE hThread : threads) CloseHandle(hThread);
  KVX_CALLSTACK_THREAD = 0;
  const std::vector<std::string> lines = closeAndRead();
  ASSERT_EQ(2u + 2 * LINES_PER_THREAD, lines.size());
  int nextOf[2] = {0, 0};
  for (size_t i = 1; i + 1 < lines.size(); ++i) {
    const std::string message = messageOf(lines[i]);
    const int nWriter = message.compare(0, texts[1].size() + 1, texts[1] + " ") == 0 ? 1 : 0;
    EXPECT_EQ(texts[nWriter] + " " + std::to_string(nextOf[nWriter]++), message) << "line " << i;
  }
}

// A second copy appends its banner while the first runs: neither writer's
// lines overwrite the other's.
TEST_F(RunLog, AnotherWritersLinesStayBetweenItsOwn) {
  SLog::S_getSingleton()->write(0, "before");
  {
    std::ofstream other(m_strPath.c_str(), std::ios::out | std::ios::app | std::ios::binary);
    ASSERT_TRUE(other.good()) << "the log is not shared for writing";
    other << "the other writer's line\r\n";
  }
  SLog::S_getSingleton()->write(0, "after");
  const std::vector<std::string> lines = closeAndRead();
  ASSERT_EQ(5u, lines.size());
  EXPECT_EQ("before", messageOf(lines[1]));
  EXPECT_EQ("the other writer's line", lines[2]);
  EXPECT_EQ("after", messageOf(lines[3]));
}

using RunLogDeathTest = RunLog;

TEST_F(RunLogDeathTest, NegativeIndexFailsLikeAnIndexPastTheEnd) {
  EXPECT_DEATH(SLog::S_getSingleton()->write(-1, "x"), "rnLog < LOG_COUNT");
  EXPECT_DEATH(SLog::S_getSingleton()->write(SLog::LOG_COUNT, "x"), "rnLog < LOG_COUNT");
}

// The stamp is ctime's text for the same moment, made without ctime: a day
// and hour below 10, the turns of a day and of a year, a leap day.
TEST(TimeStamp, IsCtimesTextForTheSameMoment) {
  const int moments[][6] = {{2026, 12, 9, 13, 47, 14}, {2027, 1, 1, 0, 0, 0},
                            {2026, 12, 31, 23, 59, 59}, {2028, 2, 29, 5, 4, 3},
                            {2000, 7, 16, 9, 30, 0}};
  for (const int* m : moments) {
    std::tm wanted = {};
    wanted.tm_year = m[0] - 1900;
    wanted.tm_mon = m[1] - 1;
    wanted.tm_mday = m[2];
    wanted.tm_hour = m[3];
    wanted.tm_min = m[4];
    wanted.tm_sec = m[5];
    wanted.tm_isdst = -1;
    const time_t moment = mktime(&wanted);
    const std::tm local = *localtime(&moment);
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(local.tm_year + 1900);
    time.wMonth = static_cast<WORD>(local.tm_mon + 1);
    time.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time.wDay = static_cast<WORD>(local.tm_mday);
    time.wHour = static_cast<WORD>(local.tm_hour);
    time.wMinute = static_cast<WORD>(local.tm_min);
    time.wSecond = static_cast<WORD>(local.tm_sec);
    std::string strExpected = ctime(&moment);
    strExpected.pop_back();
    EXPECT_EQ(strExpected, formatTimeStamp(time).c_str()) << "moment " << m[0] << "-" << m[1] << "-" << m[2];
  }
}

// The crash block's lines are put together without the runtime's formatting.
TEST(FixedText, WritesNumbersAsPrintfDoes) {
  struct {
    long long nNumber;
    int nWidth;
    const char* lpszExpected;
  } const cases[] = {{0, 1, "0"},       {7, 2, "07"},   {2026, 4, "2026"},
                     {123, 2, "123"},   {-45, 1, "-45"}, {4294967295LL, 1, "4294967295"},
                     {LLONG_MIN, 1, "-9223372036854775808"}};
  for (const auto& rCase : cases) {
    CFixedText<32> text;
    EXPECT_STREQ(rCase.lpszExpected, text.appendNumber(rCase.nNumber, rCase.nWidth).c_str())
        << rCase.nNumber << " in " << rCase.nWidth << " digits";
  }
}

TEST(FixedText, CutsWhatDoesNotFitAndStaysTerminated) {
  CFixedText<8> text;
  text.append("abcd").appendNumber(12345).append("more");
  EXPECT_STREQ("abcd123", text.c_str());
  EXPECT_EQ(7u, text.length());
  EXPECT_STREQ("abc", CFixedText<8>().append("abcdef", 3).c_str());
  EXPECT_STREQ("(null)", CFixedText<8>().append(NULL).c_str()) << "as printf writes a null %s";
}

}  // namespace
