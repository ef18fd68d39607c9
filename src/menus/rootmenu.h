#ifndef PATHWICK_MENUS_ROOTMENU_H
#define PATHWICK_MENUS_ROOTMENU_H

#include <string>
#include <vector>

#include "../settings/rootitem.h"
#include "foldermenu.h"

// The top popup of the Folder Menu: one entry per configured root folder, in
// list order. Built in advance from the root list rather than from a folder
// search; its own copy of the list maps an entry back to the root's path and
// to the fill request (with the root's grouping) of the submenu it opens.
// Its type stays 0, so the first level below a root may be grouped.
class CRootMenu : public CFolderMenu {
 public:
  static void S_setRootFolderBMP(HBITMAP hImage, HBITMAP hMask);
  static void S_destroyRootFolderBMP();

  CRootMenu();
  ~CRootMenu() override;

  // Keeps m_lpSubFolderMenu: every root entry always opens that one menu.
  void clear() override;
  // May append a backslash to rItem.str_path.
  bool addRootItem(ROOTITEM& rItem);
  // Stops at the first root that cannot be added; later ones are neither
  // shown nor kept, so position i is always m_RootItems[i].
  bool setRootItemList(std::vector<ROOTITEM>& rList);
  const std::vector<ROOTITEM>& getRootItems() const {
    KVX_CALLSTACK_TRACK;
    return m_RootItems;
  }

  bool getItemFillInfo(int nPos, FILLINFO& rFillInfo) override;
  void getItemPath(int nPos, std::string& rPath) override;

 private:
  static BMPPAIR S_bpRootFolderIcon;

  std::vector<ROOTITEM> m_RootItems;
};

#endif
