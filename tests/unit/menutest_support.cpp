#include "menutest_support.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "diag/log.h"
#include "menus/foldermenu.h"
#include "menus/navmenu.h"
#include "menus/iconmgr.h"
#include "menus/menuitem.h"
#include "menus/rootmenu.h"
#include "resources/resource.h"

namespace menutest {

namespace {

void removeTree(const std::string& rFolder) {
  WIN32_FIND_DATAA data;
  const HANDLE hFind = FindFirstFileA((rFolder + "*").c_str(), &data);
  if (hFind != INVALID_HANDLE_VALUE) {
    do {
      const std::string strName = data.cFileName;
      if (strName == "." || strName == "..") continue;
      const std::string strPath = rFolder + strName;
      SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeTree(strPath + "\\");
      else
        DeleteFileA(strPath.c_str());
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
  }
  RemoveDirectoryA(rFolder.c_str());
}

}  // namespace

TempTree::TempTree(const std::string& rName) {
  static int S_nCount = 0;
  char szTemp[MAX_PATH];
  GetTempPathA(MAX_PATH, szTemp);
  char szSuffix[64];
  snprintf(szSuffix, sizeof(szSuffix), "_%lu_%d\\", GetCurrentProcessId(), ++S_nCount);
  m_strPath = std::string(szTemp) + "pathwick_" + rName + szSuffix;
  removeTree(m_strPath);
  EXPECT_TRUE(CreateDirectoryA(m_strPath.c_str(), NULL)) << m_strPath;
}

TempTree::~TempTree() { removeTree(m_strPath); }

void TempTree::addFile(const std::string& rRelative, DWORD nAttributes) {
  const std::string strPath = m_strPath + rRelative;
  const HANDLE hFile =
      CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, nAttributes, NULL);
  EXPECT_NE(INVALID_HANDLE_VALUE, hFile) << strPath;
  if (hFile != INVALID_HANDLE_VALUE) CloseHandle(hFile);
}

void TempTree::addFolder(const std::string& rRelative) {
  EXPECT_TRUE(CreateDirectoryA((m_strPath + rRelative).c_str(), NULL)) << rRelative;
}

void TempTree::addMany(const std::string& rPrefix, int nFolders, int nFiles,
                       const std::string& rExt) {
  char szName[64];
  for (int i = 0; i < nFolders; ++i) {
    snprintf(szName, sizeof(szName), "%sdir%05d", rPrefix.c_str(), i);
    addFolder(szName);
  }
  for (int i = 0; i < nFiles; ++i) {
    snprintf(szName, sizeof(szName), "%sfile%05d%s", rPrefix.c_str(), i, rExt.c_str());
    addFile(szName);
  }
}

void setUpMenuResources() {
  static bool S_bDone = false;
  if (S_bDone) return;
  S_bDone = true;
  SLog::S_createSingleton();
  CNavMenu::S_loadDrawingResources(GetModuleHandleA(NULL), NULL);
}

std::vector<std::string> menuTexts(CFolderMenu& rMenu) {
  std::vector<std::string> texts;
  const int nCount = GetMenuItemCount(rMenu.getHMENU());
  for (int i = 0; i < nCount; ++i) {
    std::string strText;
    rMenu.getMenuItemText(i, strText);
    texts.push_back(strText);
  }
  return texts;
}

std::vector<UINT> menuIds(HMENU hMenu) {
  std::vector<UINT> ids;
  const int nCount = GetMenuItemCount(hMenu);
  for (int i = 0; i < nCount; ++i) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID;
    GetMenuItemInfoA(hMenu, i, TRUE, &info);
    ids.push_back(info.wID);
  }
  return ids;
}

UINT menuState(HMENU hMenu, int nPos) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE;
  EXPECT_TRUE(GetMenuItemInfoA(hMenu, nPos, TRUE, &info));
  return info.fState;
}

}  // namespace menutest
