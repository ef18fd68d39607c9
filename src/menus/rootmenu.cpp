#include "rootmenu.h"

#include <cassert>

#include "../diag/log.h"
#include "../resources/resource.h"
#include "menuitem.h"
#include "../diag/pathtext.h"

CSizedPicture CRootMenu::S_RootFolderPicture;

void CRootMenu::S_loadRootFolderPictures(HINSTANCE hInstance) {
  KVX_CALLSTACK_TRACK;
  const CSizedPicture::SOURCE sources[] = {{16, IDB_ROOTFOLDER, IDB_FOLDERMASK},
                                           {20, IDB_ROOTFOLDER_20, IDB_FOLDERMASK_20},
                                           {24, IDB_ROOTFOLDER_24, IDB_FOLDERMASK_24},
                                           {32, IDB_ROOTFOLDER_32, IDB_FOLDERMASK_32}};
  S_RootFolderPicture.load(hInstance, sources, sizeof(sources) / sizeof(sources[0]));
}

CRootMenu::CRootMenu() : m_nIconSize(0) { KVX_CALLSTACK_TRACK; }

CRootMenu::~CRootMenu() { KVX_CALLSTACK_TRACK; }

void CRootMenu::clear() {
  KVX_CALLSTACK_TRACK;
  CFolderMenu* lpSubFolderMenu = m_lpSubFolderMenu;
  CFolderMenu::clear();
  m_lpSubFolderMenu = lpSubFolderMenu;
  m_RootItems.clear();
}

bool CRootMenu::addRootItem(ROOTITEM& rItem) {
  KVX_CALLSTACK_TRACK;
  assert(m_lpSubFolderMenu != NULL);
  if (!rItem.str_path.empty() && !endsWithBackslash(rItem.str_path))
    rItem.str_path += '\\';
  if (!hasRoomForEntry()) {
    SLog::S_getSingleton()->write(
        0, "CFolderMenu::insertRootItem() failed: the menu is full, %s left out",
        rItem.str_name.c_str());
    return false;
  }
  CMenuItem* lpItem = addMenuItem(rItem.str_name);
  lpItem->setIcon(S_RootFolderPicture.at(CMenuItem::S_iconSize()));
  lpItem->setHasSubMenu(true);
  if (!insertOwnerDrawnEntry(lpItem, m_lpSubFolderMenu->getHMENU())) {
    SLog::S_getSingleton()->writeLastError(
        0, "CFolderMenu::insertRootItem() failed: InsertMenuItem() failed with error: %i");
    return false;
  }
  m_RootItems.push_back(rItem);
  return true;
}

bool CRootMenu::setRootItemList(std::vector<ROOTITEM>& rList) {
  KVX_CALLSTACK_TRACK;
  clear();
  m_nIconSize = CMenuItem::S_iconSize();
  for (size_t i = 0; i < rList.size(); ++i)
    if (!addRootItem(rList[i])) return false;
  return true;
}

bool CRootMenu::useIconSize() {
  KVX_CALLSTACK_TRACK;
  if (m_nIconSize == CMenuItem::S_iconSize()) return true;
  std::vector<ROOTITEM> roots = m_RootItems;
  return setRootItemList(roots);
}

// A drive root keeps its backslash: C: alone would name the drive's current
// folder, not its root.
void CRootMenu::getItemPath(int nPos, std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  const size_t rnItem = static_cast<size_t>(nPos);
  assert(rnItem < m_RootItems.size());
  rPath = S_withoutTrailingBackslash(m_RootItems[rnItem].str_path);
}

// The root's grouping settings travel down with the request; the two group
// flags are left as the caller made them.
bool CRootMenu::getItemFillInfo(int nPos, FILLINFO& rFillInfo) {
  KVX_CALLSTACK_TRACK;
  const size_t rnItem = static_cast<size_t>(nPos);
  assert(rnItem < m_RootItems.size());
  const ROOTITEM& rRoot = m_RootItems[rnItem];
  rFillInfo.str_path = rRoot.str_path;
  rFillInfo.str_search = "*";
  rFillInfo.b_symbols_only = false;
  rFillInfo.sort_type = rRoot.sort_type;
  rFillInfo.max_no_sort = rRoot.max_no_sort;
  return true;
}
