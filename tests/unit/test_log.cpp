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
  for (int i = 0; i < 2; ++i)
    threads[i] = CreateThread(NULL, 0, Writer::run, const_cast<char*>(texts[i].c_str()), 0, NULL);
  WaitForMultipleObjects(2, threads, TRUE, INFINITE);
  for (HANDLE hThread : threads) CloseHandle(hThread);
  KVX_CALLSTACK_THREAD = 0;
  const std::vector<std::string> lines = closeAndRead();
  ASSERT_EQ(2u + 2 * LINES_PER_THREAD, lines.size());
  int nextOf[2] = {0, 0};
  for (size_t i = 1; i + 1 < lines.size(); ++i) {
    const int nWriter = messageOf(lines[i])[0] == 'b' ? 1 : 0;
    EXPECT_EQ(texts[nWriter] + " " + std::to_string(nextOf[nWriter]++), messageOf(lines[i])) << "line " << i;
  }
}

// A second copy appends its banner while the first runs: neither writer's
// lines overwrite the other's.
TEST_F(RunLog, AnotherWritersLinesStayBetweenItsOwn) {
  SLog::S_getSingleton()->write(0, "before");
  std::ofstream(m_strPath.c_str(), std::ios::app | std::ios::binary) << "another writer's\r\n";
  SLog::S_getSingleton()->write(0, "after");
  const std::vector<std::string> lines = closeAndRead();
  ASSERT_EQ(5u, lines.size());
  EXPECT_EQ("before", messageOf(lines[1]));
  EXPECT_EQ("another writer's", lines[2]) << "the log is not shared for appending";
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
  // In std::tm's order: second, minute, hour, day, month from 0, year from 1900.
  std::tm moments[] = {{14, 47, 13, 9, 11, 126, 0, 0, -1}, {0, 0, 0, 1, 0, 127, 0, 0, -1},
                       {59, 59, 23, 31, 11, 126, 0, 0, -1}, {3, 4, 5, 29, 1, 128, 0, 0, -1}};
  for (std::tm& rMoment : moments) {
    // mktime fills in the day of the week.
    const time_t moment = mktime(&rMoment);
    const SYSTEMTIME time = {static_cast<WORD>(rMoment.tm_year + 1900), static_cast<WORD>(rMoment.tm_mon + 1),
                             static_cast<WORD>(rMoment.tm_wday), static_cast<WORD>(rMoment.tm_mday),
                             static_cast<WORD>(rMoment.tm_hour), static_cast<WORD>(rMoment.tm_min),
                             static_cast<WORD>(rMoment.tm_sec), 0};
    const std::string strExpected = ctime(&moment);
    EXPECT_EQ(strExpected.substr(0, strExpected.size() - 1), formatTimeStamp(time).c_str());
  }
}

// The crash block's lines are put together without the runtime's formatting.
TEST(FixedText, WritesNumbersAsPrintfDoes) {
  const struct {
    long long nNumber;
    int nWidth;
    const char* lpszExpected;
  } cases[] = {{0, 1, "0"}, {7, 2, "07"}, {123, 2, "123"}, {-45, 1, "-45"},
               {LLONG_MIN, 1, "-9223372036854775808"}};
  for (const auto& rCase : cases)
    EXPECT_STREQ(rCase.lpszExpected, CFixedText<32>().appendNumber(rCase.nNumber, rCase.nWidth).c_str());
}

TEST(FixedText, CutsWhatDoesNotFitAndStaysTerminated) {
  CFixedText<8> text;
  EXPECT_STREQ("abcd123", text.append("abcd").appendNumber(12345).append("more").c_str());
  EXPECT_EQ(7u, text.length());
  EXPECT_STREQ("abc", CFixedText<8>().append("abcdef", 3).c_str());
}

}  // namespace
