#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "diag/callstack.h"

namespace {

int g_nDeepestPosition = 0;

void recurseTracked(int nDepth) {
  KVX_CALLSTACK_TRACK;
  if (KVX_CALLSTACK_POSITION > g_nDeepestPosition) g_nDeepestPosition = KVX_CALLSTACK_POSITION;
  if (nDepth > 1) recurseTracked(nDepth - 1);
}

void throwTracked() {
  KVX_CALLSTACK_TRACK;
  throw std::runtime_error("thrown on purpose");
}

void callThrowTracked() {
  KVX_CALLSTACK_TRACK;
  throwTracked();
}

int snapshotCountInside() {
  KVX_CALLSTACK_TRACK;
  KVX::CallStackSnapshot snapshot;
  return snapshot.m_nCount;
}

}  // namespace

TEST(CallStackFrame, PushesFileLineAndSignatureAndPopsOnReturn) {
  const int nBefore = KVX_CALLSTACK_POSITION;
  {
    KVX_CALLSTACK_TRACK;
    const int nLine = __LINE__ - 1;
    ASSERT_EQ(nBefore + 1, KVX_CALLSTACK_POSITION);
    EXPECT_STREQ("test_callstack.cpp", KVX_CALLSTACK_FILE[nBefore]);
    EXPECT_EQ(nLine, KVX_CALLSTACK_LINE[nBefore]);
    EXPECT_NE(std::string::npos, std::string(KVX_CALLSTACK_FUNC[nBefore]).find("TestBody"));
  }
  EXPECT_EQ(nBefore, KVX_CALLSTACK_POSITION);
}

TEST(CallStackFrame, ExceptionLeavesThePositionWhereItWas) {
  const int nBefore = KVX_CALLSTACK_POSITION;
  EXPECT_THROW(callThrowTracked(), std::runtime_error);
  EXPECT_EQ(nBefore, KVX_CALLSTACK_POSITION);
}

TEST(CallStackFrame, FramesBeyondTheArraysAreCountedNotStored) {
  const int nBefore = KVX_CALLSTACK_POSITION;
  // The slot just past the arrays would be the first casualty of an overrun.
  const char* lpszLastFunc = "sentinel";
  KVX_CALLSTACK_FUNC[KVX_CALLSTACK_MAX - 1] = lpszLastFunc;
  g_nDeepestPosition = 0;
  recurseTracked(KVX_CALLSTACK_MAX + 100);
  EXPECT_EQ(nBefore + KVX_CALLSTACK_MAX + 100, g_nDeepestPosition);
  EXPECT_EQ(nBefore, KVX_CALLSTACK_POSITION);
  // Frame 511 was overwritten by the recursion, which is in bounds.
  EXPECT_NE(std::string::npos,
            std::string(KVX_CALLSTACK_FUNC[KVX_CALLSTACK_MAX - 1]).find("recurseTracked"));
}

TEST(CallStackSnapshot, CopiesOutermostFirstAndSeesItsCallersFrames) {
  const int nBefore = KVX_CALLSTACK_POSITION;
  KVX_CALLSTACK_TRACK;
  EXPECT_EQ(nBefore + 2, snapshotCountInside());
  KVX::CallStackSnapshot snapshot;
  ASSERT_EQ(nBefore + 1, snapshot.m_nCount);
  EXPECT_EQ(0, snapshot.m_nUnrecorded);
  EXPECT_NE(std::string::npos,
            std::string(snapshot.m_FuncList[snapshot.m_nCount - 1]).find("TestBody"));
}

TEST(CallStackSnapshot, DeepStackKeepsTheStoredFramesAndCountsTheRest) {
  struct Deep {
    static void descend(int nDepth, int* lpCount, int* lpUnrecorded) {
      KVX_CALLSTACK_TRACK;
      if (nDepth > 1) return descend(nDepth - 1, lpCount, lpUnrecorded);
      KVX::CallStackSnapshot snapshot;
      *lpCount = snapshot.m_nCount;
      *lpUnrecorded = snapshot.m_nUnrecorded;
    }
  };
  const int nBefore = KVX_CALLSTACK_POSITION;
  int nCount = 0, nUnrecorded = 0;
  Deep::descend(KVX_CALLSTACK_MAX + 20, &nCount, &nUnrecorded);
  EXPECT_EQ(KVX_CALLSTACK_MAX, nCount);
  EXPECT_EQ(nBefore + 20, nUnrecorded);
}
