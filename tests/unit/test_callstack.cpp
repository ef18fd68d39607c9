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

// Another thread running the program's functions (the folder listing) must
// leave the user-interface thread's record as it is: two threads pushing
// onto one record would report a crash with the other thread's frames.
TEST(CallStackFrame, OnlyTheTrackedThreadsFramesAreRecorded) {
  KVX::trackCallsOfThisThread();
  const int nBefore = KVX_CALLSTACK_POSITION;
  KVX_CALLSTACK_TRACK;
  const char* lpszMine = KVX_CALLSTACK_FUNC[nBefore];
  struct Other {
    static DWORD WINAPI run(LPVOID) {
      recurseTracked(40);
      return 0;
    }
  };
  g_nDeepestPosition = 0;
  HANDLE hThread = CreateThread(NULL, 0, Other::run, NULL, 0, NULL);
  ASSERT_NE(static_cast<HANDLE>(NULL), hThread);
  WaitForSingleObject(hThread, INFINITE);
  CloseHandle(hThread);
  KVX_CALLSTACK_THREAD = 0;
  EXPECT_EQ(nBefore + 1, g_nDeepestPosition) << "the other thread's frames reached the record";
  EXPECT_EQ(nBefore + 1, KVX_CALLSTACK_POSITION);
  EXPECT_EQ(lpszMine, KVX_CALLSTACK_FUNC[nBefore]);
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
      snapshotAtTheBottom(lpCount, lpUnrecorded);
    }
    // Apart, so that the snapshot's arrays take stack space once, not in
    // every one of the frames above it.
    __attribute__((noinline)) static void snapshotAtTheBottom(int* lpCount, int* lpUnrecorded) {
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
