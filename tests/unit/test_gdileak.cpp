#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "diag/scoped.h"
#include "menus/foldermenu.h"
#include "menus/iconmgr.h"
#include "menus/menuitem.h"
#include "menus/rootmenu.h"
#include "menutest_support.h"
#include "support/handlecount.h"

using menutest::TempTree;

namespace {

// Measures and draws every owner-drawn entry, unselected and selected, the
// way the menu loop does while a menu is open.
void measureAndDrawAll(HMENU hMenu, HDC hDC) {
  const int nCount = GetMenuItemCount(hMenu);
  for (int i = 0; i < nCount; ++i) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    GetMenuItemInfoA(hMenu, i, TRUE, &info);
    CMenuItem* lpItem = reinterpret_cast<CMenuItem*>(info.dwItemData);
    if ((info.fType & MFT_OWNERDRAW) == 0 || lpItem == NULL) continue;
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    lpItem->handleMeasure(NULL, &measure);
    for (UINT nState : {0u, static_cast<UINT>(ODS_SELECTED)}) {
      DRAWITEMSTRUCT draw = {};
      draw.CtlType = ODT_MENU;
      draw.itemState = nState;
      draw.hDC = hDC;
      draw.rcItem.right = static_cast<LONG>(measure.itemWidth);
      draw.rcItem.bottom = static_cast<LONG>(measure.itemHeight);
      lpItem->handleDraw(NULL, &draw);
    }
  }
}

// A folder menu that tells how many entry objects it holds.
class CCountedFolderMenu : public CFolderMenu {
 public:
  size_t itemObjects() const { return m_MenuItems.size(); }
};

}  // namespace

TEST(GdiObjects, AThousandFillAndClearCyclesLeaveNoObjectBehind) {
  menutest::setUpMenuResources();
  TempTree tree("leak");
  tree.addMany("a", 3, 4, ".txt");
  tree.addMany("b", 0, 3, ".pwkleak");
  tree.addMany("c", 0, 2, "");
  CRootMenu root;
  CCountedFolderMenu menu;
  CFolderMenu sub;
  ASSERT_TRUE(root.init());
  ASSERT_TRUE(menu.init());
  ASSERT_TRUE(sub.init());
  root.setSubFolderMenu(&menu);
  const CWindowDC screen(NULL);
  const CMemoryDC canvasDC(screen.get());
  const CGdiObject canvas(CreateCompatibleBitmap(screen.get(), 400, 40));
  const CSelectObject select(canvasDC.get(), canvas.get());
  const HDC hDC = canvasDC.get();

  const int sortTypes[] = {SORT_NONE, SORT_ABC, SORT_EXT};
  unsigned long nBefore = 0;
  for (int nCycle = -1; nCycle < 1000; ++nCycle) {
    // The first cycle fills the icon cache, which keeps its bitmaps.
    if (nCycle == 0) nBefore = testsupport::countGdiObjects();
    std::vector<ROOTITEM> roots(2);
    roots[0].str_name = "Leak";
    roots[0].str_path = tree.path();
    roots[1].str_name = "C Drive";
    roots[1].str_path = "C:\\";
    root.setRootItemList(roots);
    measureAndDrawAll(root.getHMENU(), hDC);

    FILLINFO info;
    info.str_path = tree.path();
    info.str_search = "*";
    info.sort_type = sortTypes[(nCycle + 3) % 3];
    info.max_no_sort = 5;
    ASSERT_TRUE(menu.fillFolderMenu(&sub, info, nCycle % 2 == 0 ? 0 : CFolderMenu::TYPE_ABC));
    measureAndDrawAll(menu.getHMENU(), hDC);
    menu.clear();
    // The entries' objects go with the entries.
    ASSERT_EQ(0u, menu.itemObjects()) << "cycle " << nCycle;
  }
  EXPECT_EQ(nBefore, testsupport::countGdiObjects());
  EXPECT_GT(nBefore, 0u);
}

// Each shell query hands over an icon, which holds bitmaps of its own: with
// the cache emptied before every fill, every cycle asks the shell again, and
// nothing of its answers may stay behind.
TEST(GdiObjects, ShellIconsAreReleasedOnceConverted) {
  menutest::setUpMenuResources();
  TempTree tree("iconleak");
  tree.addMany("i", 0, 2, ".pwkicon");
  tree.addMany("j", 0, 2, ".pwkother");
  CFolderMenu menu;
  CFolderMenu sub;
  ASSERT_TRUE(menu.init());
  ASSERT_TRUE(sub.init());
  SIconMgr* lpIcons = SIconMgr::S_getSingleton();
  unsigned long nBefore = 0;
  unsigned long nQueriesBefore = 0;
  for (int nCycle = -1; nCycle < 40; ++nCycle) {
    lpIcons->releaseAll();
    if (nCycle == 0) {
      nBefore = testsupport::countGdiObjects();
      nQueriesBefore = lpIcons->getShellQueryCount();
    }
    FILLINFO info;
    info.str_path = tree.path();
    info.str_search = "*";
    ASSERT_TRUE(menu.fillFolderMenu(&sub, info, 0));
    menu.clear();
  }
  lpIcons->releaseAll();
  EXPECT_EQ(nQueriesBefore + 80, lpIcons->getShellQueryCount());
  EXPECT_EQ(nBefore, testsupport::countGdiObjects());
}
