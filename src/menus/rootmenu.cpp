#include "rootmenu.h"

#include <cassert>

#include "../diag/log.h"
#include "menuitem.h"
#include "../diag/pathtext.h"

BMPPAIR CRootMenu::S_bpRootFolderIcon(NULL, NULL);

void CRootMenu::S_setRootFolderBMP(HBITMAP hImage, HBITMAP hMask) {
  KVX_CALLSTACK_TRACK;
  S_bpRootFolderIcon = BMPPAIR(hImage, hMask);
}

void CRootMenu::S_destroyRootFolderBMP() {
  KVX_CALLSTACK_TRACK;
  deleteBitmapPair(S_bpRootFolderIcon);
}

CRootMenu::CRootMenu() { KVX_CALLSTACK_TRACK; }

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
  lpItem->setIcon(S_bpRootFolderIcon);
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
  for (size_t i = 0; i < rList.size(); ++i)
    if (!addRootItem(rList[i])) return false;
  return true;
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
