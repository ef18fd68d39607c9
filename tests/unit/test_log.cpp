#include <gtest/gtest.h>
#include <windows.h>

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

using RunLogDeathTest = RunLog;

TEST_F(RunLogDeathTest, NegativeIndexFailsLikeAnIndexPastTheEnd) {
  EXPECT_DEATH(SLog::S_getSingleton()->write(-1, "x"), "rnLog < LOG_COUNT");
  EXPECT_DEATH(SLog::S_getSingleton()->write(SLog::LOG_COUNT, "x"), "rnLog < LOG_COUNT");
}

}  // namespace
