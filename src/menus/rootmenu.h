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
  // The root folder picture in each size it was drawn in; kept until the
  // process ends.
  static void S_loadRootFolderPictures(HINSTANCE hInstance);

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

  // The entries with the picture of the icon size entries are drawn with
  // now, built again where that changed (the menu opens on a monitor of
  // another scale): the system then measures them anew.
  bool useIconSize();

  bool getItemFillInfo(int nPos, FILLINFO& rFillInfo) override;
  void getItemPath(int nPos, std::string& rPath) override;

 private:
  static CSizedPicture S_RootFolderPicture;

  std::vector<ROOTITEM> m_RootItems;
  // The icon size the entries were built for.
  int m_nIconSize;
};

#endif
