#ifndef PATHWICK_TESTS_MENUTEST_SUPPORT_H
#define PATHWICK_TESTS_MENUTEST_SUPPORT_H

// Shared by the menu tests: real folders in the prefix's temp folder, the
// start-up resources the menus draw with, and readers for menus.

#include <windows.h>

#include <string>
#include <vector>

class CFolderMenu;

namespace menutest {

// A fresh folder below the temp folder, removed with everything in it when
// the object goes. Paths given to add... are relative to it.
class TempTree {
 public:
  explicit TempTree(const std::string& rName);
  ~TempTree();
  // The folder with its trailing backslash.
  const std::string& path() const { return m_strPath; }
  void addFile(const std::string& rRelative, DWORD nAttributes = FILE_ATTRIBUTE_NORMAL);
  void addFolder(const std::string& rRelative);
  // Names starting with rPrefix: nFolders folders then nFiles files.
  void addMany(const std::string& rPrefix, int nFolders, int nFiles, const std::string& rExt);

  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

 private:
  std::string m_strPath;
};

// The start-up steps the menus rely on: log, icon cache, menu font, arrow
// and folder bitmaps from this test program's own resources.
void setUpMenuResources();

// Every entry's text as getMenuItemText reads it ("" for grayed entries).
std::vector<std::string> menuTexts(CFolderMenu& rMenu);
std::vector<UINT> menuIds(HMENU hMenu);
UINT menuState(HMENU hMenu, int nPos);

}  // namespace menutest

#endif
