#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "menus/foldermenu.h"
#include "menutest_support.h"
#include "support/runlog.h"

using testsupport::LogWatch;

namespace {

const int kFolders = 100;
const int kFiles = 32700;

// The folder beside this program that the ctest fixture fills from the
// Linux side (bigfolder.sh). Wine scans the whole folder for a name that
// differs only in case before creating a file, so making 32,800 entries
// from in here takes minutes; it is done here only when the fixture has not.
std::string bigFolder() {
  char szModule[MAX_PATH];
  GetModuleFileNameA(NULL, szModule, MAX_PATH);
  std::string strFolder(szModule);
  strFolder = strFolder.substr(0, strFolder.rfind('\\') + 1) + "bigfolder\\";
  char szName[MAX_PATH];
  snprintf(szName, sizeof(szName), "%sfile%05d.dat", strFolder.c_str(), kFiles - 1);
  if (GetFileAttributesA(szName) == INVALID_FILE_ATTRIBUTES) {
    CreateDirectoryA(strFolder.c_str(), NULL);
    for (int i = 0; i < kFolders; ++i) {
      snprintf(szName, sizeof(szName), "%sdir%05d", strFolder.c_str(), i);
      CreateDirectoryA(szName, NULL);
    }
    for (int i = 0; i < kFiles; ++i) {
      snprintf(szName, sizeof(szName), "%sfile%05d.dat", strFolder.c_str(), i);
      CloseHandle(CreateFileA(szName, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
  }
  return strFolder;
}

}  // namespace

// Menu ids are 16 bits and those from 0x8000 are the shell context menu's:
// a plain listing stops at position 0x7FFF, so every entry shown is drawn by
// its own item and maps back to its own file.
TEST(BigFolder, APlainListingStopsAtPosition7FFFAndSaysHowManyItLeftOut) {
  menutest::setUpMenuResources();
  const int nFolders = kFolders;
  const int nFiles = kFiles;
  const std::string strFolder = bigFolder();
  CFolderMenu menu;
  CFolderMenu sub;
  ASSERT_TRUE(menu.init());
  ASSERT_TRUE(sub.init());

  LogWatch log;
  FILLINFO info;
  info.str_path = strFolder;
  info.str_search = "*";
  info.sort_type = SORT_NONE;
  ASSERT_TRUE(menu.fillFolderMenu(&sub, info, 0));

  const HMENU hMenu = menu.getHMENU();
  ASSERT_EQ(0x8000, GetMenuItemCount(hMenu));
  const int nShownFiles = 0x7FFF - nFolders;
  char szExpected[128];
  snprintf(szExpected, sizeof(szExpected),
           "CFolderMenu::addMenuFiles() alert: the menu is full, %d files left out",
           nFiles - nShownFiles);
  EXPECT_TRUE(log.saw(szExpected)) << szExpected;

  for (int nPos = 0; nPos < 0x8000; ++nPos) {
    const UINT nId = GetMenuItemID(hMenu, nPos);
    // Folder entries open a submenu and report no id of their own here.
    if (nPos >= 1 && nPos <= nFolders) continue;
    ASSERT_EQ(static_cast<UINT>(nPos), nId) << "position " << nPos;
  }
  char szName[64];
  snprintf(szName, sizeof(szName), "file%05d.dat", nShownFiles - 1);
  std::string strPath;
  menu.getItemPath(0x7FFF, strPath);
  EXPECT_EQ(strFolder + szName, strPath);
  snprintf(szName, sizeof(szName), "dir%05d", nFolders - 1);
  menu.getItemPath(nFolders, strPath);
  EXPECT_EQ(strFolder + szName, strPath);
  menu.clear();
  EXPECT_EQ(0, GetMenuItemCount(hMenu));
}
