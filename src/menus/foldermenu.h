#ifndef PATHWICK_MENUS_FOLDERMENU_H
#define PATHWICK_MENUS_FOLDERMENU_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "../diag/callstack.h"
#include "../settings/rootitem.h"
#include "iconmgr.h"
#include "sizedpicture.h"

class CMenuItem;

// What one folder menu is to be filled with. A plain value, copied whole.
struct FILLINFO {
  std::string str_path;              // the folder, ending with a backslash once filled
  std::string str_search;            // wildcard appended to str_path for the search
  bool b_symbols_only = false;       // only names not starting with a-z, A-Z, 0-9
  bool b_folders_only = false;       // only folders
  bool b_no_extension_only = false;  // only files whose name has no dot
  int sort_type = SORT_NONE;
  unsigned int max_no_sort = 0;  // most entries still listed without groups
  bool b_unreachable = false;    // no name of this code page leads to the folder
};

// One entry a folder search found: the spelling the ANSI API gave for it,
// which is its label, and the short name the same search gave (empty for a
// name that is 8.3 already). The spelling of a name the code page cannot
// hold is a best fit or has '?' in it, and may name another entry or none.
struct FOUNDNAME {
  std::string str_name;
  std::string str_short;
  // Another entry of the listing has the same spelling and, like this one,
  // no short name: a lookup of the spelling cannot tell the two apart.
  bool b_lookalike = false;
};

// The name ordering of folder menus: case-blind over ASCII letters, bytes
// compared as signed values (so accented names come before digits and
// letters), a shorter name before a longer one it begins. Names equal but
// for letter case are ordered by their raw bytes, which makes the ordering
// strict and weak, as sorting needs.
bool case_insensitive(const std::string& a, const std::string& b);

// Whether a spelling a folder search gave is the entry's whole name, to be
// used as it is: in UTF-8 the ANSI API gives every name exactly, unless the
// name was too long for the search record or holds what UTF-16 itself
// could not carry. In other code pages only a search can tell.
bool isExactSpelling(const std::string& rSpelling, UINT nCodePage = CP_ACP);

// Whether rLookedUp, what a search for the spelling of rFound found, is the
// entry rFound came from; bFolder says which kind that entry is.
bool isSameEntry(const FOUNDNAME& rFound, bool bFolder, const WIN32_FIND_DATAA& rLookedUp);

// One popup menu showing one folder: "Open Folder", the sorted subfolders,
// the sorted files with their icons, or group entries for a big folder. It
// is filled just before it opens and emptied when it closes; nothing of a
// folder is cached. Every folder and group entry opens the same submenu,
// m_lpSubFolderMenu, which the controller refills for whichever is opened.
class CFolderMenu {
 public:
  // What the menu shows (getType()).
  enum { TYPE_NONE = 0, TYPE_PLAIN = 2, TYPE_ABC = 3, TYPE_EXT = 4 };
  // Command ids of the group entries.
  enum { ID_SYMBOLS = 255, ID_FOLDERS = 255, ID_NO_EXTENSION = 254, ID_EXTENSION = 1 };
  // An entry's command id is its position, and ids from 0x8000 belong to the
  // shell context menu; the 16-bit positions of menu messages wrap at 65536.
  // So no entry goes beyond this position: past it an entry would be drawn
  // by the wrong code or open the wrong file.
  enum { MAX_ENTRY_POSITION = 0x7FFF };

  // The folder picture in each size it was drawn in, from the program's
  // resources; kept until the process ends.
  static void S_loadFolderPictures(HINSTANCE hInstance);

  CFolderMenu();
  virtual ~CFolderMenu();

  bool init();
  void uninit();

  HMENU getHMENU() const {
    KVX_CALLSTACK_TRACK;
    return m_hMenu;
  }
  int getType() const {
    KVX_CALLSTACK_TRACK;
    return m_nType;
  }
  CFolderMenu* getSubFolderMenu() const {
    KVX_CALLSTACK_TRACK;
    return m_lpSubFolderMenu;
  }
  void setSubFolderMenu(CFolderMenu* lpSubFolderMenu) {
    KVX_CALLSTACK_TRACK;
    m_lpSubFolderMenu = lpSubFolderMenu;
  }

  // Disabling keeps the entries' look; grayed entries stay grayed.
  void enableItems(bool bEnable);
  void getMenuItemText(int nPos, std::string& rText);
  // The answer to WM_MENUCHAR for this menu: MNC_SELECT with the entry that
  // the typed character selects after the highlighted one (see
  // findTypedEntry), MNC_IGNORE where no entry's label begins with it.
  // Every entry takes part by its label: "Open Folder", folders, files and
  // groups alike.
  LRESULT answerTypedCharacter(UINT nTyped);

  virtual void clear();
  virtual bool fillFolderMenu(CFolderMenu* lpSubFolderMenu, FILLINFO& rFillInfo, int nParentType);
  virtual bool getItemFillInfo(int nPos, FILLINFO& rFillInfo);
  // Empty for an entry that no name of this code page leads to.
  virtual void getItemPath(int nPos, std::string& rPath);
  // The entry's path as its label spells it, for the log of an entry that
  // getItemPath has no path for; empty for entries of no name of their own.
  std::string getItemSpelledPath(int nPos) const;

  // One file of each type that a fill of rFillInfo (a folder's own listing,
  // as a root opens it) with these names would show and the icon cache does
  // not hold yet, at most nBudget, added to rPaths for the cache to be asked
  // ahead of time. Grouped listings show no files and are left alone.
  static void S_findUncachedTypes(const FILLINFO& rFillInfo, const std::vector<FOUNDNAME>& rFolders,
                                  const std::vector<FOUNDNAME>& rFiles, size_t nBudget,
                                  std::vector<std::string>& rPaths);

  // The search itself, as the folder lister's thread runs it: the names a
  // fill of rFillInfo lists, sorted; ERROR_SUCCESS, or the system's error
  // when the folder could not be read to its end.
  static DWORD S_searchFolder(const FILLINFO& rFillInfo, std::vector<FOUNDNAME>& rFolders,
                              std::vector<FOUNDNAME>& rFiles);

  CFolderMenu(const CFolderMenu&) = delete;
  CFolderMenu& operator=(const CFolderMenu&) = delete;

 protected:
  bool findFoldersAndFiles();
  bool addMenuFolders();
  bool addMenuFiles();
  bool addMenuSortGroupsABC();
  bool addMenuSortGroupsEXT();

  // Appends an owner-drawn entry whose id is its position; hSubMenu may be null.
  bool insertOwnerDrawnEntry(CMenuItem* lpItem, HMENU hSubMenu);
  CMenuItem* addMenuItem(const std::string& rText);
  bool hasRoomForEntry() const;
  HMENU getSubFolderHMENU() const;
  // The path of a folder menu as the folder itself: without the trailing
  // backslash, except for a drive root such as C:\.
  static std::string S_withoutTrailingBackslash(const std::string& rPath);

  HMENU m_hMenu;
  CFolderMenu* m_lpSubFolderMenu;  // not owned
  int m_nType;
  FILLINFO m_FillInfo;
  std::vector<std::unique_ptr<CMenuItem>> m_MenuItems;
  std::vector<FOUNDNAME> m_Folders;
  std::vector<FOUNDNAME> m_Files;
  // The last fill's folder did not answer in time.
  bool m_bNotAnswering;

 private:
  static void S_keepFoundEntry(const FILLINFO& rFillInfo, const WIN32_FIND_DATAA& rData,
                               std::vector<FOUNDNAME>& rFolders, std::vector<FOUNDNAME>& rFiles);
  static void S_sortFoundNames(const FILLINFO& rFillInfo, std::vector<FOUNDNAME>& rFolders,
                               std::vector<FOUNDNAME>& rFiles);
  static void S_markLookalikes(std::vector<FOUNDNAME>& rNames);
  // The entry of a plain listing at nPos, null for any other position.
  const FOUNDNAME* plainEntryAt(int nPos, bool& rbFolder) const;
  // The name that leads the system to the entry at nPos; empty where none does.
  std::string reachingNameAt(int nPos) const;
  // Where the spelling of a found entry leads: back to the entry (or the
  // path fails whatever the name), nowhere, to another entry, or unknown
  // where the folder did not answer.
  enum { SPELLING_OWN, SPELLING_NOWHERE, SPELLING_FALSE, SPELLING_UNKNOWN };
  static int S_followSpelling(const std::string& rFolder, const FOUNDNAME& rFound, bool bFolder);
  // Whether a listing of nEntries names is shown as groups.
  static bool S_isGrouped(const FILLINFO& rFillInfo, size_t nEntries, int nParentType);
  bool shouldGroup(int nParentType) const;
  void addPlainListing();
  bool insertGroupEntry(const std::string& rLabel, UINT nId);
  void removeAllEntries();
  static void S_logLeftOut(const char* lpszWhere, size_t nLeftOut, const char* lpszWhat);

  static CSizedPicture S_FolderPicture;
};

#endif
