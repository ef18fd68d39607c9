#include "foldermenu.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "../diag/log.h"
#include "../diag/pathtext.h"
#include "../diag/scoped.h"
#include "../resources/resource.h"
#include "folderlister.h"
#include "menuitem.h"
#include "menukeys.h"

#ifndef _WIN64
static_assert(sizeof(MENUITEMINFOA) == 48, "a menu entry record is 48 bytes");
static_assert(sizeof(MENUINFO) == 28, "a menu record is 28 bytes");
#endif

namespace {

const char kOpenFolder[] = "Open Folder";
const char kEmpty[] = "[Empty]";
const char kNotAnswering[] = "[Not Answering]";
const char kSymbols[] = "Symbols";
const char kFolders[] = "Folders";
const char kNoExtension[] = "No Extension";
const std::string::size_type kMaxGroupLabel = 255;

bool isAsciiLetterOrDigit(char c) {
  KVX_CALLSTACK_TRACK;
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The extension of a file name with its dot, upper-cased; empty without a dot.
std::string upperExtension(const std::string& rName) {
  KVX_CALLSTACK_TRACK;
  const std::string::size_type nDot = extensionDot(rName);
  if (nDot == std::string::npos) return std::string();
  std::string strExt = rName.substr(nDot);
  upperAsciiLetters(strExt);
  return strExt;
}

// Whether a long name belongs to the group a search of this program stands
// for: "X*" (a first letter or digit) or "*.EXT" (a file type). The system's
// wildcard also matches the 8.3 short name, so "*.DOC" finds report.docx by
// REPORT~1.DOC and "G*" finds .gitignore by GITIGN~1; its answer is only a
// first cut.
bool fitsGroupSearch(const std::string& rName, const std::string& rSearch) {
  KVX_CALLSTACK_TRACK;
  if (rSearch.size() > 1 && rSearch[0] == '*')
    return upperExtension(rName) == upperExtension(rSearch.substr(1));
  if (rSearch.size() == 2 && rSearch[1] == '*')
    return !rName.empty() && upperAscii(rName[0]) == upperAscii(rSearch[0]);
  return true;
}

// Characters no file name holds, so that in a spelling the ANSI API gave
// they stand for characters the code page lacks (a fullwidth * comes back
// as *). All lie below 0x40, where no double-byte character has its second
// byte. In UTF-8, U+FFFD stands for what UTF-16 itself could not carry (a
// lone surrogate, which a name may hold).
const char kNeverInNames[] = "?*<>:\"/";
const char kReplacementCharacter[] = "\xEF\xBF\xBD";

bool hasReplacedCharacter(const std::string& rSpelling) {
  KVX_CALLSTACK_TRACK;
  return rSpelling.find_first_of(kNeverInNames) != std::string::npos ||
         rSpelling.find(kReplacementCharacter) != std::string::npos;
}

// The search record holds 259 bytes of a name. Every name is at most 255
// UTF-16 units long, which in a single-byte code page fits; in UTF-8 a name
// can take up to 765 bytes, and one of 256 bytes or more may be cut short.
bool mayBeCut(const std::string& rSpelling) {
  KVX_CALLSTACK_TRACK;
  return rSpelling.size() > 255;
}

bool byName(const FOUNDNAME& a, const FOUNDNAME& b) {
  KVX_CALLSTACK_TRACK;
  return case_insensitive(a.str_name, b.str_name);
}

}  // namespace

bool isExactSpelling(const std::string& rSpelling, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  if (nCodePage == CP_ACP) nCodePage = GetACP();
  return nCodePage == CP_UTF8 && !hasReplacedCharacter(rSpelling) && !mayBeCut(rSpelling);
}

// One pass, no helper calls: this runs n log n times per fill of a folder
// that may hold tens of thousands of names.
bool case_insensitive(const std::string& a, const std::string& b) {
  KVX_CALLSTACK_TRACK;
  const std::string::size_type n = std::min(a.size(), b.size());
  // The first difference in letter case only; it decides between names
  // that are equal when lower-cased.
  int nCaseOrder = 0;
  for (std::string::size_type i = 0; i < n; ++i) {
    const signed char ca = static_cast<signed char>(a[i]);
    const signed char cb = static_cast<signed char>(b[i]);
    if (ca == cb) continue;
    const signed char la = (ca >= 'A' && ca <= 'Z') ? static_cast<signed char>(ca - 'A' + 'a') : ca;
    const signed char lb = (cb >= 'A' && cb <= 'Z') ? static_cast<signed char>(cb - 'A' + 'a') : cb;
    if (la != lb) return la < lb;
    if (nCaseOrder == 0) nCaseOrder = ca < cb ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return nCaseOrder < 0;
}

// Short names are unique within a folder, so the same spelling with the
// same short name is the same entry; only where neither has one (names
// that are 8.3, or a volume that makes no short names) can two entries
// spelled alike not be told apart, and then neither is trusted.
bool isSameEntry(const FOUNDNAME& rFound, bool bFolder, const WIN32_FIND_DATAA& rLookedUp) {
  KVX_CALLSTACK_TRACK;
  const bool bFoundFolder = (rLookedUp.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return bFoundFolder == bFolder && !rFound.b_lookalike && rFound.str_name == rLookedUp.cFileName &&
         rFound.str_short == rLookedUp.cAlternateFileName;
}

CSizedPicture CFolderMenu::S_FolderPicture;

void CFolderMenu::S_loadFolderPictures(HINSTANCE hInstance) {
  KVX_CALLSTACK_TRACK;
  const CSizedPicture::SOURCE sources[] = {{16, IDB_FOLDER, IDB_FOLDERMASK},
                                           {20, IDB_FOLDER_20, IDB_FOLDERMASK_20},
                                           {24, IDB_FOLDER_24, IDB_FOLDERMASK_24},
                                           {32, IDB_FOLDER_32, IDB_FOLDERMASK_32}};
  S_FolderPicture.load(hInstance, sources, sizeof(sources) / sizeof(sources[0]));
}

CFolderMenu::CFolderMenu()
    : m_hMenu(NULL), m_lpSubFolderMenu(NULL), m_nType(TYPE_NONE), m_bNotAnswering(false) {
  KVX_CALLSTACK_TRACK;
}

// Only this class's own clear can run here: a derived part is gone already.
CFolderMenu::~CFolderMenu() {
  KVX_CALLSTACK_TRACK;
  CFolderMenu::clear();
  if (m_hMenu != NULL) DestroyMenu(m_hMenu);
  m_hMenu = NULL;
}

// Choices are reported by position (WM_MENUCOMMAND), which is what the
// controller maps back to a path.
bool CFolderMenu::init() {
  KVX_CALLSTACK_TRACK;
  m_hMenu = CreatePopupMenu();
  if (m_hMenu == NULL) {
    SLog::S_getSingleton()->writeLastError(
        0, "CFolderMenu::init() failed: CreatePopupMenu() failed with error: %i");
    return false;
  }
  MENUINFO info;
  ZeroMemory(&info, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIM_STYLE;
  info.dwStyle = MNS_NOTIFYBYPOS;
  SetMenuInfo(m_hMenu, &info);
  return true;
}

// Emptied first: DestroyMenu would take the shared submenu down with it.
void CFolderMenu::uninit() {
  KVX_CALLSTACK_TRACK;
  clear();
  if (m_hMenu != NULL) DestroyMenu(m_hMenu);
  m_hMenu = NULL;
}

void CFolderMenu::enableItems(bool bEnable) {
  const int nCount = GetMenuItemCount(m_hMenu);
  for (int i = 0; i < nCount; ++i) {
    const UINT nPrevious =
        EnableMenuItem(m_hMenu, i, MF_BYPOSITION | (bEnable ? MF_ENABLED : MF_DISABLED));
    if (nPrevious != static_cast<UINT>(-1) && (nPrevious & MF_GRAYED) != 0)
      EnableMenuItem(m_hMenu, i, MF_BYPOSITION | MF_DISABLED | MF_GRAYED);
  }
}

// A grayed entry ("[Empty]") has no text worth reporting; an owner-drawn
// entry keeps its text in its CMenuItem.
void CFolderMenu::getMenuItemText(int nPos, std::string& rText) {
  KVX_CALLSTACK_TRACK;
  MENUITEMINFOA info;
  ZeroMemory(&info, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE;
  if (!GetMenuItemInfoA(m_hMenu, nPos, TRUE, &info)) {
    SLog::S_getSingleton()->write(0,
                                  "CFolderMenu::getMenuItemText() failed: GetMenuItemInfo() failed "
                                  "for position %i with error: %i",
                                  nPos, static_cast<int>(GetLastError()));
    return;
  }
  if ((info.fState & MFS_GRAYED) == MFS_GRAYED) return;
  if ((info.fType & MFT_OWNERDRAW) != 0) {
    const CMenuItem* lpItem = reinterpret_cast<const CMenuItem*>(info.dwItemData);
    if (lpItem != NULL) rText = lpItem->getTextRef();
    return;
  }
  info.fMask = MIIM_STRING;
  info.dwTypeData = NULL;
  info.cch = 0;
  GetMenuItemInfoA(m_hMenu, nPos, TRUE, &info);
  std::vector<char> buffer(info.cch + 1, '\0');
  info.dwTypeData = &buffer[0];
  info.cch = static_cast<UINT>(buffer.size());
  GetMenuItemInfoA(m_hMenu, nPos, TRUE, &info);
  rText.assign(&buffer[0]);
}

LRESULT CFolderMenu::answerTypedCharacter(UINT nTyped) {
  KVX_CALLSTACK_TRACK;
  const int nPos =
      findTypedEntry(GetMenuItemCount(m_hMenu), highlightedEntry(m_hMenu), nTyped, [this](int i) {
        std::string strLabel;
        getMenuItemText(i, strLabel);
        return strLabel;
      });
  if (nPos < 0) return MAKELRESULT(0, MNC_IGNORE);
  return MAKELRESULT(nPos, MNC_SELECT);
}

// Entries come off the end: each removal from the front would shift the
// whole entry array, which makes emptying a big menu quadratic. Enabling the
// entries first, as a menu disabled for a context menu might suggest, would
// change nothing about entries that are about to go. Entries are removed,
// not deleted, so the shared submenu survives.
void CFolderMenu::removeAllEntries() {
  KVX_CALLSTACK_TRACK;
  for (int nPos = GetMenuItemCount(m_hMenu) - 1; nPos >= 0; --nPos)
    RemoveMenu(m_hMenu, nPos, MF_BYPOSITION);
}

void CFolderMenu::clear() {
  KVX_CALLSTACK_TRACK;
  removeAllEntries();
  m_MenuItems.clear();
  m_nType = TYPE_NONE;
  m_lpSubFolderMenu = NULL;
  m_FillInfo = FILLINFO();
  m_bNotAnswering = false;
}

bool CFolderMenu::fillFolderMenu(CFolderMenu* lpSubFolderMenu, FILLINFO& rFillInfo,
                                 int nParentType) {
  KVX_CALLSTACK_TRACK;
  m_lpSubFolderMenu = lpSubFolderMenu;
  if (rFillInfo.str_path.empty()) {
    SLog::S_getSingleton()->write(
        0, "CFolderMenu::fillFolderMenu() alert: rFillInfo.str_path.length() < 1");
  } else if (!endsWithBackslash(rFillInfo.str_path)) {
    rFillInfo.str_path += '\\';
  }
  m_FillInfo = rFillInfo;
  // A folder that cannot be read is shown as empty, one that does not
  // answer says so; the search logged why.
  findFoldersAndFiles();

  AppendMenuA(m_hMenu, MF_STRING, 0, kOpenFolder);
  SetMenuDefaultItem(m_hMenu, 0, TRUE);
  if (m_Folders.empty() && m_Files.empty()) {
    if (!AppendMenuA(m_hMenu, MF_STRING | MF_GRAYED | MF_DISABLED, 0,
                     m_bNotAnswering ? kNotAnswering : kEmpty)) {
      SLog::S_getSingleton()->writeLastError(
          0, "CFolderMenu::fillFolderMenu() failed: (EMPTY) AppendMenu() failed with error: %i");
      return false;
    }
    return true;
  }

  switch (m_FillInfo.sort_type) {
    case SORT_NONE:
      addPlainListing();
      break;
    case SORT_ABC:
      if (shouldGroup(nParentType)) {
        addMenuSortGroupsABC();
        m_nType = TYPE_ABC;
      } else {
        addPlainListing();
      }
      break;
    case SORT_EXT:
      if (shouldGroup(nParentType)) {
        addMenuSortGroupsEXT();
        m_nType = TYPE_EXT;
      } else {
        addPlainListing();
      }
      break;
    default:
      // Only edited stored data gets here; the folder can still be opened.
      break;
  }
  return true;
}

// A group's own submenu (parent type 3 or 4) is never grouped again, so a
// group always leads to the names it stands for.
bool CFolderMenu::S_isGrouped(const FILLINFO& rFillInfo, size_t nEntries, int nParentType) {
  KVX_CALLSTACK_TRACK;
  return rFillInfo.sort_type != SORT_NONE && nParentType <= TYPE_PLAIN &&
         nEntries > rFillInfo.max_no_sort;
}

bool CFolderMenu::shouldGroup(int nParentType) const {
  KVX_CALLSTACK_TRACK;
  return S_isGrouped(m_FillInfo, m_Folders.size() + m_Files.size(), nParentType);
}

// An entry's position is what finds its name again (plainEntryAt): the
// files come after every folder or not at all.
void CFolderMenu::addPlainListing() {
  KVX_CALLSTACK_TRACK;
  if (addMenuFolders()) addMenuFiles();
  m_nType = TYPE_PLAIN;
}

bool CFolderMenu::findFoldersAndFiles() {
  KVX_CALLSTACK_TRACK;
  SLog::S_getSingleton()->write(
      0, "m_FillInfo.str_path = %s, m_FillInfo.str_search = %s, m_FillInfo.b_folders_only = %d",
      m_FillInfo.str_path.c_str(), m_FillInfo.str_search.c_str(),
      m_FillInfo.b_folders_only ? 1 : 0);
  if (m_FillInfo.b_unreachable) {
    m_Folders.clear();
    m_Files.clear();
    SLog::S_getSingleton()->write(
        0, "CFolderMenu::findFoldersAndFiles() error: %s cannot be reached in this code page",
        m_FillInfo.str_path.c_str());
    return false;
  }
  const DWORD nError = SFolderLister::S_getSingleton()->list(m_FillInfo, m_Folders, m_Files);
  if (nError == ERROR_SUCCESS) return true;
  m_bNotAnswering = nError == ERROR_TIMEOUT;
  if (m_bNotAnswering) {
    SLog::S_getSingleton()->write(
        0, "CFolderMenu::findFoldersAndFiles() error: %s is not answering",
        m_FillInfo.str_path.c_str());
    return false;
  }
  SLog::S_getSingleton()->write(
      0, "CFolderMenu::findFoldersAndFiles() error: FindNextFile() failed with error: %i",
      static_cast<int>(nError));
  return false;
}

// A search that stops part way keeps what it found so far, unsorted, as it
// came.
DWORD CFolderMenu::S_searchFolder(const FILLINFO& rFillInfo, std::vector<FOUNDNAME>& rFolders,
                                  std::vector<FOUNDNAME>& rFiles) {
  KVX_CALLSTACK_TRACK;
  rFolders.clear();
  rFiles.clear();
  WIN32_FIND_DATAA data;
  memset(&data, 0, sizeof(data));
  const std::string strPattern = rFillInfo.str_path + rFillInfo.str_search;
  const CFindHandle search(FindFirstFileA(strPattern.c_str(), &data));
  if (!search.valid()) {
    const DWORD nError = GetLastError();
    return nError == ERROR_NO_MORE_FILES || nError == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS
                                                                           : nError;
  }
  do {
    S_keepFoundEntry(rFillInfo, data, rFolders, rFiles);
  } while (FindNextFileA(search.get(), &data));
  const DWORD nError = GetLastError();
  if (nError != ERROR_NO_MORE_FILES) return nError;
  S_sortFoundNames(rFillInfo, rFolders, rFiles);
  return ERROR_SUCCESS;
}

// Files one search entry under folders or files by the fill request's
// filters. Hidden and system entries are listed like any other.
void CFolderMenu::S_keepFoundEntry(const FILLINFO& rFillInfo, const WIN32_FIND_DATAA& rData,
                                   std::vector<FOUNDNAME>& rFolders,
                                   std::vector<FOUNDNAME>& rFiles) {
  KVX_CALLSTACK_TRACK;
  const char* lpszName = rData.cFileName;
  if (strcmp(lpszName, ".") == 0 || strcmp(lpszName, "..") == 0) return;
  if (!fitsGroupSearch(lpszName, rFillInfo.str_search)) return;
  if (rFillInfo.b_symbols_only && isAsciiLetterOrDigit(lpszName[0])) return;
  const bool bFolder = (rData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  FOUNDNAME found;
  found.str_name = lpszName;
  found.str_short = rData.cAlternateFileName;
  if (!rFillInfo.b_no_extension_only && bFolder)
    rFolders.push_back(found);
  else if (!rFillInfo.b_folders_only && !bFolder)
    rFiles.push_back(found);
}

void CFolderMenu::S_sortFoundNames(const FILLINFO& rFillInfo, std::vector<FOUNDNAME>& rFolders,
                                   std::vector<FOUNDNAME>& rFiles) {
  KVX_CALLSTACK_TRACK;
  if (rFillInfo.b_no_extension_only) {
    rFiles.erase(std::remove_if(rFiles.begin(), rFiles.end(),
                                [](const FOUNDNAME& rFound) {
                                  KVX_CALLSTACK_TRACK;
                                  return rFound.str_name.find('.') != std::string::npos;
                                }),
                 rFiles.end());
  }
  std::sort(rFolders.begin(), rFolders.end(), byName);
  std::sort(rFiles.begin(), rFiles.end(), byName);
  S_markLookalikes(rFolders);
  S_markLookalikes(rFiles);
}

// Sorted, equal spellings lie side by side, in runs. A folder and a file
// spelled alike are told apart by their kind (isSameEntry).
void CFolderMenu::S_markLookalikes(std::vector<FOUNDNAME>& rNames) {
  KVX_CALLSTACK_TRACK;
  size_t nEnd = 0;
  for (size_t nFirst = 0; nFirst < rNames.size(); nFirst = nEnd) {
    size_t nWithoutShort = 0;
    for (nEnd = nFirst; nEnd < rNames.size() && rNames[nEnd].str_name == rNames[nFirst].str_name;
         ++nEnd)
      if (rNames[nEnd].str_short.empty()) ++nWithoutShort;
    if (nWithoutShort < 2) continue;
    for (size_t i = nFirst; i < nEnd; ++i)
      if (rNames[i].str_short.empty()) rNames[i].b_lookalike = true;
  }
}

// An exact spelling (UTF-8) is the entry's own, with no search made. A
// spelling with a replaced character, or perhaps cut, is never the entry's
// own. Any other may still be a best fit (Omega for an entry named with a
// Greek Omega) that names another entry or none, and nothing in its bytes
// tells: the spelling is looked up, which costs one search for each entry
// opened, pointed at or right-clicked, and none for the entries listed. A
// lookup that fails for the path, not the name (a path too long), keeps
// the spelling: any name would fail there, and the open says why. A folder
// that does not answer leaves the answer open.
int CFolderMenu::S_followSpelling(const std::string& rFolder, const FOUNDNAME& rFound,
                                  bool bFolder) {
  KVX_CALLSTACK_TRACK;
  if (isExactSpelling(rFound.str_name)) return SPELLING_OWN;
  if (hasReplacedCharacter(rFound.str_name) || mayBeCut(rFound.str_name)) return SPELLING_FALSE;
  WIN32_FIND_DATAA data;
  memset(&data, 0, sizeof(data));
  const DWORD nError = SFolderLister::S_getSingleton()->lookUp(rFolder + rFound.str_name, data);
  if (nError == ERROR_TIMEOUT) return SPELLING_UNKNOWN;
  if (nError != ERROR_SUCCESS)
    return nError == ERROR_FILE_NOT_FOUND ? SPELLING_NOWHERE : SPELLING_OWN;
  return isSameEntry(rFound, bFolder, data) ? SPELLING_OWN : SPELLING_FALSE;
}

const FOUNDNAME* CFolderMenu::plainEntryAt(int nPos, bool& rbFolder) const {
  KVX_CALLSTACK_TRACK;
  if (m_nType != TYPE_PLAIN || nPos < 1) return NULL;
  size_t nIndex = static_cast<size_t>(nPos - 1);
  rbFolder = nIndex < m_Folders.size();
  if (rbFolder) return &m_Folders[nIndex];
  nIndex -= m_Folders.size();
  return nIndex < m_Files.size() ? &m_Files[nIndex] : NULL;
}

// The spelling where it leads back to the entry, which keeps the long name
// programs are given; else the short name the listing's own search gave.
// Without one, a spelling that leads nowhere is still the name of an entry
// that is gone since, whose open fails and says so; one that leads to
// another entry is no name at all. Where the folder did not answer, the
// short name is sure to be the entry's own, and a spelling with nothing
// replaced is the best there is.
std::string CFolderMenu::reachingNameAt(int nPos) const {
  KVX_CALLSTACK_TRACK;
  bool bFolder = false;
  const FOUNDNAME* lpFound = plainEntryAt(nPos, bFolder);
  if (lpFound == NULL) return std::string();
  const int nSpelling = S_followSpelling(m_FillInfo.str_path, *lpFound, bFolder);
  if (nSpelling == SPELLING_OWN) return lpFound->str_name;
  if (!lpFound->str_short.empty()) return lpFound->str_short;
  if (nSpelling == SPELLING_UNKNOWN && !hasReplacedCharacter(lpFound->str_name))
    return lpFound->str_name;
  return nSpelling == SPELLING_NOWHERE ? lpFound->str_name : std::string();
}

// Only files with an extension are asked for; the first of each type
// stands for it.
void CFolderMenu::S_findUncachedTypes(const FILLINFO& rFillInfo,
                                      const std::vector<FOUNDNAME>& rFolders,
                                      const std::vector<FOUNDNAME>& rFiles, size_t nBudget,
                                      std::vector<std::string>& rPaths) {
  KVX_CALLSTACK_TRACK;
  if (S_isGrouped(rFillInfo, rFolders.size() + rFiles.size(), TYPE_NONE)) return;
  const SIconMgr* lpIcons = SIconMgr::S_getSingleton();
  std::set<std::string> found;
  std::string strExt;
  for (size_t i = 0; i < rFiles.size() && found.size() < nBudget; ++i) {
    if (!SIconMgr::getFileExt(rFiles[i].str_name, strExt) || lpIcons->isCached(strExt)) continue;
    if (found.insert(strExt).second) rPaths.push_back(rFillInfo.str_path + rFiles[i].str_name);
  }
}

bool CFolderMenu::hasRoomForEntry() const {
  KVX_CALLSTACK_TRACK;
  return GetMenuItemCount(m_hMenu) <= MAX_ENTRY_POSITION;
}

HMENU CFolderMenu::getSubFolderHMENU() const {
  KVX_CALLSTACK_TRACK;
  return m_lpSubFolderMenu != NULL ? m_lpSubFolderMenu->getHMENU() : NULL;
}

CMenuItem* CFolderMenu::addMenuItem(const std::string& rText) {
  KVX_CALLSTACK_TRACK;
  m_MenuItems.push_back(std::unique_ptr<CMenuItem>(new CMenuItem()));
  CMenuItem* lpItem = m_MenuItems.back().get();
  lpItem->setText(rText);
  return lpItem;
}

// Entries are only ever appended, so the id (the count before the
// insertion) is the position, which is how both WM_MENUSELECT and
// WM_MENUCOMMAND report them.
bool CFolderMenu::insertOwnerDrawnEntry(CMenuItem* lpItem, HMENU hSubMenu) {
  KVX_CALLSTACK_TRACK;
  const int nCount = GetMenuItemCount(m_hMenu);
  MENUITEMINFOA info;
  ZeroMemory(&info, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | (hSubMenu != NULL ? MIIM_SUBMENU : 0);
  info.fType = MFT_OWNERDRAW;
  info.wID = static_cast<UINT>(nCount);
  info.hSubMenu = hSubMenu;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(lpItem);
  return InsertMenuItemA(m_hMenu, static_cast<UINT>(nCount), TRUE, &info) != FALSE;
}

void CFolderMenu::S_logLeftOut(const char* lpszWhere, size_t nLeftOut, const char* lpszWhat) {
  KVX_CALLSTACK_TRACK;
  SLog::S_getSingleton()->write(0, "CFolderMenu::%s() alert: the menu is full, %lu %s left out",
                                lpszWhere, static_cast<unsigned long>(nLeftOut), lpszWhat);
}

bool CFolderMenu::addMenuFolders() {
  KVX_CALLSTACK_TRACK;
  const HMENU hSubMenu = getSubFolderHMENU();
  for (size_t i = 0; i < m_Folders.size(); ++i) {
    if (!hasRoomForEntry()) {
      S_logLeftOut("addMenuFolders", m_Folders.size() - i, "folders");
      return true;
    }
    CMenuItem* lpItem = addMenuItem(m_Folders[i].str_name);
    lpItem->setIcon(S_FolderPicture.at(CMenuItem::S_iconSize()));
    lpItem->setHasSubMenu(true);
    if (!insertOwnerDrawnEntry(lpItem, hSubMenu)) {
      SLog::S_getSingleton()->writeLastError(
          0, "CFolderMenu::addMenuFolders() failed: (DIR) InsertMenuItem() failed with error: %i");
      return false;
    }
  }
  return true;
}

bool CFolderMenu::addMenuFiles() {
  KVX_CALLSTACK_TRACK;
  SIconMgr* lpIcons = SIconMgr::S_getSingleton();
  std::string strFilePath;
  for (size_t i = 0; i < m_Files.size(); ++i) {
    if (!hasRoomForEntry()) {
      S_logLeftOut("addMenuFiles", m_Files.size() - i, "files");
      return true;
    }
    CMenuItem* lpItem = addMenuItem(m_Files[i].str_name);
    // The icon is the type's, asked for by the name alone: the spelling
    // keeps the file's own extension, which a short name may cut (.docx
    // becomes .DOC).
    strFilePath.assign(m_FillInfo.str_path).append(m_Files[i].str_name);
    BMPPAIR pair(NULL, NULL);
    lpIcons->getBmpIconForFile(strFilePath, pair);
    lpItem->setIcon(pair);
    if (!insertOwnerDrawnEntry(lpItem, NULL)) {
      SLog::S_getSingleton()->writeLastError(
          0, "CFolderMenu::fillTopMenu() failed: (FILE) InsertMenuItem() failed with error: %i");
      return false;
    }
  }
  return true;
}

// Group entries are plain strings the system draws; what each lists lies
// in its label and position (see getItemFillInfo).
bool CFolderMenu::insertGroupEntry(const std::string& rLabel, UINT nId) {
  KVX_CALLSTACK_TRACK;
  const int nCount = GetMenuItemCount(m_hMenu);
  std::vector<char> label(rLabel.begin(), rLabel.end());
  label.push_back('\0');
  MENUITEMINFOA info;
  ZeroMemory(&info, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU | MIIM_ID;
  info.fType = MFT_STRING;
  info.wID = nId;
  info.hSubMenu = getSubFolderHMENU();
  info.dwTypeData = &label[0];
  return InsertMenuItemA(m_hMenu, static_cast<UINT>(nCount), TRUE, &info) != FALSE;
}

bool CFolderMenu::addMenuSortGroupsABC() {
  KVX_CALLSTACK_TRACK;
  bool bFirstBytes[256] = {};
  for (size_t i = 0; i < m_Folders.size(); ++i)
    if (!m_Folders[i].str_name.empty())
      bFirstBytes[static_cast<unsigned char>(upperAscii(m_Folders[i].str_name[0]))] = true;
  for (size_t i = 0; i < m_Files.size(); ++i)
    if (!m_Files[i].str_name.empty())
      bFirstBytes[static_cast<unsigned char>(upperAscii(m_Files[i].str_name[0]))] = true;

  // Always there: names that start with anything but a letter or digit,
  // accented letters included, are reached through it.
  if (!insertGroupEntry(kSymbols, ID_SYMBOLS)) {
    SLog::S_getSingleton()->writeLastError(
        0,
        "CFolderMenu::addMenuSortGroupsABC() failed: (SYM) InsertMenuItem() failed with error: %i");
    return false;
  }
  for (char c = '0'; c <= '9'; ++c) {
    if (!bFirstBytes[static_cast<unsigned char>(c)]) continue;
    if (!insertGroupEntry(std::string(1, c), static_cast<UINT>(c))) {
      SLog::S_getSingleton()->writeLastError(
          0, "CFolderMenu::fillTopMenuABC() failed: (0-9) InsertMenuItem() failed with error: %i");
      return false;
    }
  }
  for (char c = 'A'; c <= 'Z'; ++c) {
    if (!bFirstBytes[static_cast<unsigned char>(c)]) continue;
    if (!insertGroupEntry(std::string(1, c), static_cast<UINT>(c))) {
      SLog::S_getSingleton()->writeLastError(
          0, "CFolderMenu::fillTopMenuABC() failed: (A-Z) InsertMenuItem() failed with error: %i");
      return false;
    }
  }
  return true;
}

// The set keeps each upper-cased extension once and orders them by plain
// unsigned bytes, shorter first: .7Z, .BAK, .BAT, .HTM, .HTML, .TXT.
bool CFolderMenu::addMenuSortGroupsEXT() {
  KVX_CALLSTACK_TRACK;
  if (!insertGroupEntry(kFolders, ID_FOLDERS)) {
    SLog::S_getSingleton()->writeLastError(0,
                                           "CFolderMenu::addMenuSortGroupsEXT() failed: (FOLDERS) "
                                           "InsertMenuItem() failed with error: %i");
    return false;
  }
  if (!insertGroupEntry(kNoExtension, ID_NO_EXTENSION)) {
    SLog::S_getSingleton()->writeLastError(0,
                                           "CFolderMenu::addMenuSortGroupsEXT() failed: (NOEXT) "
                                           "InsertMenuItem() failed with error: %i");
    return false;
  }
  std::set<std::string> extensions;
  for (size_t i = 0; i < m_Files.size(); ++i) {
    std::string strExt = upperExtension(m_Files[i].str_name);
    if (!strExt.empty()) extensions.insert(strExt);
  }
  size_t nLeft = extensions.size();
  for (std::set<std::string>::const_iterator it = extensions.begin(); it != extensions.end();
       ++it, --nLeft) {
    if (!hasRoomForEntry()) {
      S_logLeftOut("addMenuSortGroupsEXT", nLeft, "extensions");
      return true;
    }
    if (!insertGroupEntry(it->substr(0, wholeCharacterBytes(*it, kMaxGroupLabel)), ID_EXTENSION)) {
      SLog::S_getSingleton()->writeLastError(
          0, "CFolderMenu::fillTopMenuEXT() failed: (EXT) InsertMenuItem() failed with error: %i");
      return false;
    }
  }
  return true;
}

std::string CFolderMenu::S_withoutTrailingBackslash(const std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  const std::string::size_type n = rPath.size();
  if (n < 2 || !endsWithBackslash(rPath) || rPath[n - 2] == ':') return rPath;
  return rPath.substr(0, n - 1);
}

void CFolderMenu::getItemPath(int nPos, std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  if (nPos == 0) {
    // "Open Folder" (and anything reported with id 0) is the folder itself.
    if (m_FillInfo.b_unreachable) {
      rPath.clear();
      return;
    }
    const std::string::size_type nSlash = lastBackslash(m_FillInfo.str_path);
    if (nSlash == std::string::npos || nSlash == 0 || m_FillInfo.str_path[nSlash - 1] == ':')
      rPath = m_FillInfo.str_path;
    else
      rPath = m_FillInfo.str_path.substr(0, nSlash);
    return;
  }
  switch (m_nType) {
    case TYPE_PLAIN: {
      const std::string strName = reachingNameAt(nPos);
      rPath = strName.empty() ? strName : m_FillInfo.str_path + strName;
      break;
    }
    case TYPE_ABC:
    case TYPE_EXT:
      // A group stands for the folder it divides.
      rPath = S_withoutTrailingBackslash(m_FillInfo.str_path);
      break;
    default:
      break;
  }
}

std::string CFolderMenu::getItemSpelledPath(int nPos) const {
  KVX_CALLSTACK_TRACK;
  if (nPos == 0) return S_withoutTrailingBackslash(m_FillInfo.str_path);
  bool bFolder = false;
  const FOUNDNAME* lpFound = plainEntryAt(nPos, bFolder);
  return lpFound != NULL ? m_FillInfo.str_path + lpFound->str_name : std::string();
}

// The submenu keeps this menu's grouping settings, so every level below a
// root groups by that root's choice.
bool CFolderMenu::getItemFillInfo(int nPos, FILLINFO& rFillInfo) {
  KVX_CALLSTACK_TRACK;
  std::string strText;
  getMenuItemText(nPos, strText);
  rFillInfo = m_FillInfo;
  rFillInfo.str_search = "";
  rFillInfo.b_symbols_only = false;
  rFillInfo.b_folders_only = false;
  rFillInfo.b_no_extension_only = false;
  rFillInfo.b_unreachable = false;
  const bool bHasSubMenu = GetSubMenu(m_hMenu, nPos) != NULL;

  switch (m_nType) {
    case TYPE_PLAIN: {
      // An unreachable folder keeps its spelling, for the log of its fill.
      const std::string strName = reachingNameAt(nPos);
      rFillInfo.b_unreachable = strName.empty();
      rFillInfo.str_path += strName.empty() ? strText : strName;
      if (!bHasSubMenu) return false;
      rFillInfo.str_path += '\\';
      rFillInfo.str_search = "*";
      return true;
    }
    case TYPE_ABC:
      if (!bHasSubMenu) {
        rFillInfo.str_path = "";
        return false;
      }
      if (nPos == 1) {
        rFillInfo.str_search = "*";
        rFillInfo.b_symbols_only = true;
      } else {
        rFillInfo.str_search = strText + "*";
      }
      return true;
    case TYPE_EXT:
      if (!bHasSubMenu) {
        rFillInfo.str_path = "";
        return false;
      }
      rFillInfo.str_search = "*";
      if (nPos == 1)
        rFillInfo.b_folders_only = true;
      else if (nPos == 2)
        rFillInfo.b_no_extension_only = true;
      else
        rFillInfo.str_search += strText;
      return true;
    default:
      return true;
  }
}
