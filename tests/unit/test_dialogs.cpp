// Every dialog opened and closed many times leaves the process's GDI and
// USER objects where they were: the bitmaps, fonts, windows and menus a
// dialog makes go with it (or stay once, with their singleton).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/aboutdlg.h"
#include "dialogs/addeditdlg.h"
#include "dialogs/dlgcommon.h"
#include "dialogs/dlgpicture.h"
#include "dialogs/editrootdlg.h"
#include "dialogs/optionsdlg.h"
#include "dialogs/splashdlg.h"
#include "dialogs/trayhelpdlg.h"
#include "diag/log.h"
#include "menus/navmenu.h"
#include "resources/resource.h"
#include "support/handlecount.h"

using testsupport::countGdiObjects;
using testsupport::countUserObjects;

namespace {

// How the test closes the dialog it has opened: a message posted to it as
// soon as its modal loop runs.
struct CLOSER {
  UINT uMsg;
  WPARAM wParam;
};
CLOSER g_Closer = {WM_CLOSE, 0};

BOOL CALLBACK closeDialogOfThread(HWND hwnd, LPARAM) {
  char szClass[16] = {0};
  GetClassNameA(hwnd, szClass, sizeof(szClass));
  if (strcmp(szClass, "#32770") == 0 && IsWindowVisible(hwnd))
    PostMessageA(hwnd, g_Closer.uMsg, g_Closer.wParam, 0);
  return TRUE;
}

void CALLBACK closeOpenDialog(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), closeDialogOfThread, 0);
}

// Runs one modal display with the closer armed: the thread timer fires
// inside the dialog's own message loop.
INT_PTR openAndClose(const CLOSER& rCloser, const std::function<INT_PTR()>& rDisplay) {
  g_Closer = rCloser;
  const UINT_PTR uTimer = SetTimer(NULL, 0, 1, closeOpenDialog);
  const INT_PTR nResult = rDisplay();
  KillTimer(NULL, uTimer);
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  return nResult;
}

int cycles() {
  const char* lpszCycles = getenv("PATHWICK_DIALOG_CYCLES");
  return lpszCycles != NULL ? atoi(lpszCycles) : 200;
}

class DialogObjects : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SLog::S_createSingleton();
    HINSTANCE hInstance = GetModuleHandleA(NULL);
    G_hPathwickIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_PATHWICK));
    G_hPathwickIconSm = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_PATHWICK_SM));
    SEditRootDlg::S_createSingleton();
    SAddEditDlg::S_createSingleton();
    SOptionsDlg::S_createSingleton();
    SAboutDlg::S_createSingleton();
    // Stands for the program's hidden main window; it also shows that the
    // USER count sees this process's objects at all.
    S_hMainWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                    GetModuleHandleA(NULL), NULL);
  }
  static void TearDownTestSuite() { DestroyWindow(S_hMainWindow); }

  static inline HWND S_hMainWindow = NULL;

  // The first round may fill caches of the system (classes, fonts, the
  // list view's image lists): counting starts after it.
  void expectNoObjectsLeft(const char* lpszDialog, const CLOSER& rCloser, INT_PTR nExpected,
                           const std::function<INT_PTR()>& rDisplay) {
    ASSERT_EQ(nExpected, openAndClose(rCloser, rDisplay)) << lpszDialog << ": first round";
    const unsigned long nGdiBefore = countGdiObjects();
    const unsigned long nUserBefore = countUserObjects();
    const int nCycles = cycles();
    for (int i = 0; i < nCycles; ++i)
      ASSERT_EQ(nExpected, openAndClose(rCloser, rDisplay)) << lpszDialog << ": round " << i;
    EXPECT_EQ(nGdiBefore, countGdiObjects()) << lpszDialog << ": GDI objects after " << nCycles;
    EXPECT_EQ(nUserBefore, countUserObjects()) << lpszDialog << ": USER objects after " << nCycles;
    EXPECT_GT(nGdiBefore, 0u);
    EXPECT_GT(nUserBefore, 0u);
  }

  HINSTANCE instance() const { return GetModuleHandleA(NULL); }
};

TEST_F(DialogObjects, EditFolderMenuWithItsRows) {
  HWND hOwner =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, instance(), NULL);
  CNavMenu navMenu;
  ASSERT_TRUE(navMenu.init(hOwner));
  std::vector<ROOTITEM> roots(3);
  const char* names[] = {"C Drive", "Windows", "Odd"};
  for (size_t i = 0; i < roots.size(); ++i) {
    roots[i].str_name = names[i];
    roots[i].str_path = "C:\\";
    roots[i].sort_type = static_cast<int>(i) * 3;
    roots[i].max_no_sort = 25;
  }
  navMenu.getRootMenu().setRootItemList(roots);
  expectNoObjectsLeft("edit folder menu", {WM_COMMAND, IDCANCEL}, 2, [&] {
    return SEditRootDlg::S_getSingleton()->display(instance(), NULL, &navMenu);
  });
  DestroyWindow(hOwner);
}

TEST_F(DialogObjects, AddAndEditEntry) {
  ROOTITEM item;
  item.str_name = "Projects";
  item.str_path = "C:\\projects\\";
  item.sort_type = SORT_EXT;
  item.max_no_sort = 45;
  SAddEditDlg* lpDlg = SAddEditDlg::S_getSingleton();
  lpDlg->setAddOrEdit(true);
  expectNoObjectsLeft("add entry", {WM_COMMAND, IDCANCEL}, 2,
                      [&] { return lpDlg->display(instance(), NULL); });
  lpDlg->setAddOrEdit(false);
  lpDlg->setItemInfo(item);
  // "Edit" is enabled here (name and path are filled), so OK ends it.
  expectNoObjectsLeft("edit entry", {WM_COMMAND, IDOK}, 1,
                      [&] { return lpDlg->display(instance(), NULL); });
  EXPECT_EQ(SORT_EXT, lpDlg->getItemInfo().sort_type);
  EXPECT_EQ(45u, lpDlg->getItemInfo().max_no_sort);
}

TEST_F(DialogObjects, Options) {
  expectNoObjectsLeft("options", {WM_COMMAND, IDCANCEL}, 2,
                      [&] { return SOptionsDlg::S_getSingleton()->display(instance(), NULL); });
}

TEST_F(DialogObjects, About) {
  expectNoObjectsLeft("about", {WM_COMMAND, IDOK}, 2,
                      [&] { return SAboutDlg::S_getSingleton()->display(instance(), NULL); });
}

// The two start-up dialogs live only while shown: their bitmaps are loaded
// and deleted with their singletons every round.
TEST_F(DialogObjects, IntroductionWithItsSingleton) {
  expectNoObjectsLeft("introduction", {WM_COMMAND, IDOK}, 1, [&] {
    STrayHelpDlg::S_createSingleton();
    const INT_PTR nResult = STrayHelpDlg::S_getSingleton()->display(instance(), NULL, true);
    STrayHelpDlg::S_destroySingleton();
    return nResult;
  });
}

TEST_F(DialogObjects, SplashWithItsSingleton) {
  expectNoObjectsLeft("splash", {WM_CLOSE, 0}, 2, [&] {
    SSplashDlg::S_createSingleton();
    const INT_PTR nResult = SSplashDlg::S_getSingleton()->display(instance(), NULL, 0);
    SSplashDlg::S_destroySingleton();
    return nResult;
  });
}

// ---- The picture of a dialog at each scale -----------------------------------

const CDialogPicture::SOURCE kAboutPictures[] = {
    {96, IDB_ABOUT}, {144, IDB_ABOUT_150}, {192, IDB_ABOUT_200}};

SIZE sizeOf(HBITMAP hBitmap) {
  BITMAP info = {};
  GetObjectA(hBitmap, sizeof(info), &info);
  const SIZE size = {info.bmWidth, info.bmHeight};
  return size;
}

int g_nFinished = 0;
void countFinished(HBITMAP, UINT) { ++g_nFinished; }

struct PICTURECASE {
  UINT nDpi;
  LONG nWidth;
  LONG nHeight;
  const char* lpszWhy;
};

TEST(DialogPicture, EachDpiGetsThePictureDrawnForItOrTheNearestBiggerShrunk) {
  const PICTURECASE cases[] = {
      {96, 200, 60, "drawn for 100%"},
      {144, 300, 90, "drawn for 150%"},
      {192, 400, 120, "drawn for 200%"},
      {120, 250, 75, "150% shrunk to 125%"},
      {168, 350, 105, "200% shrunk to 175%"},
      {72, 150, 45, "100% shrunk below it"},
      {288, 400, 120, "above 200%: the biggest as drawn, not enlarged"},
  };
  CDialogPicture picture(kAboutPictures, 3);
  for (const PICTURECASE& rCase : cases) {
    const HBITMAP hBitmap = picture.at(GetModuleHandleA(NULL), rCase.nDpi);
    ASSERT_TRUE(hBitmap != NULL) << rCase.nDpi << " dpi";
    const SIZE size = sizeOf(hBitmap);
    EXPECT_EQ(rCase.nWidth, size.cx) << rCase.nDpi << " dpi, " << rCase.lpszWhy;
    EXPECT_EQ(rCase.nHeight, size.cy) << rCase.nDpi << " dpi, " << rCase.lpszWhy;
  }
}

// A dialog moving back and forth between two monitors takes the same two
// bitmaps each time, each made and finished once; release gives them back.
TEST(DialogPicture, MadeOnceForEachDpiAndReleased) {
  g_nFinished = 0;
  const unsigned long nGdiBefore = countGdiObjects();
  {
    CDialogPicture picture(kAboutPictures, 3, countFinished);
    const HBITMAP hAt120 = picture.at(GetModuleHandleA(NULL), 120);
    const HBITMAP hAt192 = picture.at(GetModuleHandleA(NULL), 192);
    EXPECT_NE(hAt120, hAt192);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(hAt120, picture.at(GetModuleHandleA(NULL), 120));
      EXPECT_EQ(hAt192, picture.at(GetModuleHandleA(NULL), 192));
    }
    EXPECT_EQ(2, g_nFinished);
    EXPECT_EQ(nGdiBefore + 2, countGdiObjects());
  }
  EXPECT_EQ(nGdiBefore, countGdiObjects());
}

// A picture missing from the resources leaves the control empty: nothing
// is made, nothing finished.
TEST(DialogPicture, AMissingResourceGivesNoPicture) {
  const CDialogPicture::SOURCE missing[] = {{96, 9999}};
  CDialogPicture picture(missing, 1, countFinished);
  g_nFinished = 0;
  EXPECT_TRUE(picture.at(GetModuleHandleA(NULL), 96) == NULL);
  EXPECT_EQ(0, g_nFinished);
}

}  // namespace
