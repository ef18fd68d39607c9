#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/mainwind.h"
#include "diag/log.h"
#include "diag/scoped.h"
#include "menus/iconmgr.h"
#include "settings/saveload.h"
#include "support/runlog.h"

namespace {

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
  const std::string strLog = testsupport::readLog(strLogPath);
  EXPECT_NE(std::string::npos,
            strLog.find("]SMainWind::init() failed: RegisterClassEx() failed with error: "))
      << strLog;
}

// The start-up notice is a menu tracked inside init; this ends it from the
// menu loop, as a click elsewhere would.
void CALLBACK endNoticeMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

// Start-up as WinMain runs it, in this process, up to the message loop.
void startInProcess() {
  SLog::S_createSingleton();
  const UINT_PTR nTimer = SetTimer(NULL, 0, 300, endNoticeMenu);
  SMainWind::S_createSingleton();
  SMainWind::S_getSingleton()->init(GetModuleHandleA(NULL));
  KillTimer(NULL, nTimer);
}

[[noreturn]] void stopInProcess() {
  SMainWind::S_destroySingleton();
  SIconMgr::S_destroySingleton();
  SLog::S_destroySingleton();
  exit(0);
}

void printRoots(const std::vector<ROOTITEM>& rRoots) {
  for (const ROOTITEM& rRoot : rRoots)
    fprintf(stderr, "root [%s] [%s] %d %u\n", rRoot.str_name.c_str(), rRoot.str_path.c_str(),
            rRoot.sort_type, rRoot.max_no_sort);
}

const char kCompanyKey[] = "Software\\Quillmere Software";
const char kMenuKey[] = "Software\\Quillmere Software\\Pathwick\\Menu\\";

// A first start, with nothing stored, runs with the default options and one
// root: the whole C drive, grouped by letter above 25 entries. Runs in a
// child process, which has the window class and the tray icon to itself.
void startWithNothingStored() {
  RegDeleteTreeA(HKEY_CURRENT_USER, kCompanyKey);
  startInProcess();
  printRoots(SMainWind::S_getSingleton()->getStartupRootItems());
  const PROGRAMOPTIONS& rOptions = SMainWind::S_getSingleton()->getOptions();
  fprintf(stderr, "options %d%d%d%d\n", rOptions.LeftClickRoot, rOptions.RunOnStartup,
          rOptions.TrayHelpAtStartup, rOptions.SplashScreenAtStartup);
  stopInProcess();
}

// Five roots stored, the third with a path of the wrong type. The program
// starts with the four others; saving its list, as the edit dialog does,
// stores those four and nothing is lost after the odd one.
void startWithAnOddRootAndSave() {
  RegDeleteTreeA(HKEY_CURRENT_USER, kCompanyKey);
  std::vector<ROOTITEM> roots(5);
  for (int i = 0; i < 5; ++i) {
    roots[i].str_name = std::string(1, static_cast<char>('A' + i));
    roots[i].str_path = "C:\\" + roots[i].str_name + "\\";
  }
  saveMenuItems(roots);
  CRegKey item;
  ASSERT_TRUE(item.open((std::string(kMenuKey) + "0002").c_str(), KEY_WRITE));
  RegSetValueExA(item.get(), "Path", 0, REG_BINARY, reinterpret_cast<const BYTE*>("C:\\"), 3);
  startInProcess();
  saveMenuItems(SMainWind::S_getSingleton()->getStartupRootItems());
  std::vector<ROOTITEM> stored;
  loadMenuItems(stored);
  printRoots(stored);
  RegDeleteTreeA(HKEY_CURRENT_USER, kCompanyKey);
  stopInProcess();
}

TEST(StartupDeathTest, AnOddRootCostsOnlyItselfWhenTheListIsSavedAgain) {
  EXPECT_EXIT(startWithAnOddRootAndSave(), ::testing::ExitedWithCode(0),
              "^root \\[A\\] \\[C:\\\\A\\\\\\] 0 0\n"
              "root \\[B\\] \\[C:\\\\B\\\\\\] 0 0\n"
              "root \\[D\\] \\[C:\\\\D\\\\\\] 0 0\n"
              "root \\[E\\] \\[C:\\\\E\\\\\\] 0 0\n$");
}

TEST(StartupDeathTest, AFirstStartShowsTheCDriveRootWithTheDefaultOptions) {
  EXPECT_EXIT(startWithNothingStored(), ::testing::ExitedWithCode(0),
              "^root \\[C Drive\\] \\[C:\\\\\\] 1 25\noptions 1011\n$");
}

}  // namespace
