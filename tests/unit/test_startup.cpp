#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/mainwind.h"
#include "diag/log.h"

namespace {

std::string readFile(const std::string& strPath) {
  std::ifstream in(strPath.c_str(), std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

LRESULT CALLBACK plainWindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

// Without its window class the program could never be told to quit: it must
// end at once with exit code 0 and say why in the log.
void initWithTheClassTaken() {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = plainWindowProc;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.lpszClassName = PATHWICK_WINDOW_CLASS;
  if (RegisterClassExA(&wc) == 0) exit(3);
  SLog::S_createSingleton();
  SMainWind::S_createSingleton();
  SMainWind::S_getSingleton()->init(GetModuleHandleA(NULL));
  exit(4);
}

TEST(StartupDeathTest, FailedClassRegistrationEndsWithExitCodeZeroAndALogLine) {
  SLog::S_createSingleton();
  const std::string strLogPath = SLog::S_getSingleton()->getPath(0);
  SLog::S_destroySingleton();
  DeleteFileA(strLogPath.c_str());

  EXPECT_EXIT(initWithTheClassTaken(), ::testing::ExitedWithCode(0), "");
  const std::string strLog = readFile(strLogPath);
  EXPECT_NE(std::string::npos,
            strLog.find("]SMainWind::init() failed: RegisterClassEx() failed with error: "))
      << strLog;
}

}  // namespace
