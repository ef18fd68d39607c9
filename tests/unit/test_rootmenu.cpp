#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "menus/navmenu.h"
#include "menus/rootmenu.h"
#include "menutest_support.h"
#include "rootitem_support.h"
#include "support/runlog.h"

using testsupport::LogWatch;
using menutest::menuIds;
using menutest::menuTexts;
using menutest::TempTree;

namespace {

class RootMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    menutest::setUpMenuResources();
    ASSERT_TRUE(m_Root.init());
    ASSERT_TRUE(m_RootTemp.init());
    ASSERT_TRUE(m_Child.init());
    m_Root.setSubFolderMenu(&m_RootTemp);
  }

  CRootMenu m_Root;
  CFolderMenu m_RootTemp;
  CFolderMenu m_Child;
};

}  // namespace

TEST_F(RootMenuTest, OneOwnerDrawnEntryPerRootInListOrder) {
  std::vector<ROOTITEM> roots = {makeRootItem("Projects", "D:\\Projects", SORT_ABC, 25),
                                 makeRootItem("C Drive", "C:\\", SORT_ABC, 25),
                                 makeRootItem("Music", "E:\\Music\\", SORT_EXT, 10)};
  ASSERT_TRUE(m_Root.setRootItemList(roots));
  EXPECT_EQ(std::vector<std::string>({"Projects", "C Drive", "Music"}), menuTexts(m_Root));
  EXPECT_EQ(std::vector<UINT>({0, 1, 2}), menuIds(m_Root.getHMENU()));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(m_RootTemp.getHMENU(), GetSubMenu(m_Root.getHMENU(), i));
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(m_Root.getHMENU(), i, TRUE, &info);
    EXPECT_NE(0u, info.fType & MFT_OWNERDRAW);
  }
  EXPECT_EQ(CFolderMenu::TYPE_NONE, m_Root.getType());
}

TEST_F(RootMenuTest, PathsGainABackslashThatOnlyDriveRootsKeepWhenAsked) {
  std::vector<ROOTITEM> roots = {makeRootItem("Projects", "D:\\Projects", SORT_ABC, 25),
                                 makeRootItem("C Drive", "C:\\", SORT_ABC, 25),
                                 makeRootItem("Music", "E:\\Music\\", SORT_EXT, 10),
                                 makeRootItem("Nowhere", "", SORT_NONE, 0)};
  ASSERT_TRUE(m_Root.setRootItemList(roots));
  // The caller's list and the menu's copy both gain it.
  EXPECT_EQ("D:\\Projects\\", roots[0].str_path);
  EXPECT_EQ("D:\\Projects\\", m_Root.getRootItems()[0].str_path);
  EXPECT_EQ("", roots[3].str_path);
  const char* expected[] = {"D:\\Projects", "C:\\", "E:\\Music", ""};
  for (int i = 0; i < 4; ++i) {
    std::string strPath = "unchanged";
    m_Root.getItemPath(i, strPath);
    EXPECT_EQ(expected[i], strPath) << i;
  }
}

TEST_F(RootMenuTest, FillRequestCarriesTheRootsGrouping) {
  std::vector<ROOTITEM> roots = {makeRootItem("A", "C:\\a", SORT_NONE, 0),
                                 makeRootItem("B", "C:\\b", SORT_ABC, 25),
                                 makeRootItem("C", "C:\\c", SORT_EXT, 10)};
  ASSERT_TRUE(m_Root.setRootItemList(roots));
  FILLINFO info;
  info.b_symbols_only = true;
  info.b_folders_only = true;  // left as the caller made it
  EXPECT_TRUE(m_Root.getItemFillInfo(2, info));
  EXPECT_EQ("C:\\c\\", info.str_path);
  EXPECT_EQ("*", info.str_search);
  EXPECT_EQ(SORT_EXT, info.sort_type);
  EXPECT_EQ(10u, info.max_no_sort);
  EXPECT_FALSE(info.b_symbols_only);
  EXPECT_TRUE(info.b_folders_only);
}

TEST_F(RootMenuTest, TheFirstLevelBelowARootGroupsByTheRootsSettings) {
  TempTree eleven("root11");
  eleven.addMany("r", 1, 10, ".txt");
  TempTree ten("root10");
  ten.addMany("r", 1, 9, ".txt");
  std::vector<ROOTITEM> roots = {makeRootItem("Eleven", eleven.path(), SORT_EXT, 10),
                                 makeRootItem("Ten", ten.path(), SORT_EXT, 10)};
  ASSERT_TRUE(m_Root.setRootItemList(roots));
  struct Case {
    int nRoot;
    int nType;
    int nCount;
  };
  const Case cases[] = {{0, CFolderMenu::TYPE_EXT, 4}, {1, CFolderMenu::TYPE_PLAIN, 11}};
  for (const Case& c : cases) {
    FILLINFO info;
    ASSERT_TRUE(m_Root.getItemFillInfo(c.nRoot, info));
    ASSERT_TRUE(m_RootTemp.fillFolderMenu(&m_Child, info, m_Root.getType()));
    EXPECT_EQ(c.nType, m_RootTemp.getType()) << c.nRoot;
    EXPECT_EQ(c.nCount, GetMenuItemCount(m_RootTemp.getHMENU())) << c.nRoot;
    m_RootTemp.clear();
  }
}

TEST_F(RootMenuTest, ClearKeepsTheSharedSubmenuForTheNextRoot) {
  std::vector<ROOTITEM> roots = {makeRootItem("One", "C:\\one", SORT_NONE, 0),
                                 makeRootItem("Two", "C:\\two", SORT_NONE, 0)};
  ASSERT_TRUE(m_Root.setRootItemList(roots));
  m_Root.clear();
  EXPECT_EQ(0, GetMenuItemCount(m_Root.getHMENU()));
  EXPECT_TRUE(m_Root.getRootItems().empty());
  EXPECT_EQ(&m_RootTemp, m_Root.getSubFolderMenu());
  ROOTITEM drive = makeRootItem("C Drive", "C:\\", SORT_ABC, 25);
  EXPECT_TRUE(m_Root.addRootItem(drive));
  EXPECT_EQ(std::vector<std::string>({"C Drive"}), menuTexts(m_Root));
  EXPECT_EQ(m_RootTemp.getHMENU(), GetSubMenu(m_Root.getHMENU(), 0));

  // A new list replaces the old one; an empty one leaves an empty popup.
  std::vector<ROOTITEM> none;
  EXPECT_TRUE(m_Root.setRootItemList(none));
  EXPECT_EQ(0, GetMenuItemCount(m_Root.getHMENU()));
}

using RootMenuDeathTest = RootMenuTest;

TEST_F(RootMenuDeathTest, AskingPastTheLastRootIsAProgrammingError) {
  std::vector<ROOTITEM> roots = {makeRootItem("One", "C:\\one", SORT_NONE, 0)};
  ASSERT_TRUE(m_Root.setRootItemList(roots));
  std::string strPath;
  FILLINFO info;
  EXPECT_DEATH(m_Root.getItemPath(1, strPath), "rnItem < m_RootItems.size\\(\\)");
  EXPECT_DEATH(m_Root.getItemFillInfo(-1, info), "rnItem < m_RootItems.size\\(\\)");
  CRootMenu detached;
  ROOTITEM item = makeRootItem("x", "C:\\", SORT_NONE, 0);
  EXPECT_DEATH(detached.addRootItem(item), "m_lpSubFolderMenu != NULL");
}

TEST(NavMenu, InitGivesTheRootMenuItsPermanentSubmenu) {
  menutest::setUpMenuResources();
  CNavMenu nav;
  ASSERT_TRUE(nav.init(NULL));
  CFolderMenu* lpRootTemp = nav.getRootMenu().getSubFolderMenu();
  ASSERT_NE(static_cast<CFolderMenu*>(NULL), lpRootTemp);
  EXPECT_TRUE(IsMenu(lpRootTemp->getHMENU()));
  EXPECT_TRUE(IsMenu(nav.getRootMenu().getHMENU()));
  // Loading the root list keeps it.
  std::vector<ROOTITEM> roots = {makeRootItem("C Drive", "C:\\", SORT_ABC, 25)};
  EXPECT_TRUE(nav.getRootMenu().setRootItemList(roots));
  EXPECT_EQ(lpRootTemp->getHMENU(), GetSubMenu(nav.getRootMenu().getHMENU(), 0));
}

TEST(NavMenu, AFailedDisplayIsLoggedAndLeavesTheMenuClosed) {
  menutest::setUpMenuResources();
  CNavMenu nav;
  // Without an owner window the menu cannot be tracked.
  ASSERT_TRUE(nav.init(NULL));
  // The code the system gives for the same call, which the line must name.
  HMENU hProbe = CreatePopupMenu();
  AppendMenuA(hProbe, MF_STRING, 1, "probe");
  SetLastError(0);
  ASSERT_FALSE(TrackPopupMenuEx(hProbe, 0, 10, 10, NULL, NULL));
  const DWORD dwError = GetLastError();
  DestroyMenu(hProbe);
  ASSERT_NE(0u, dwError);
  for (int nAttempt = 0; nAttempt < 2; ++nAttempt) {
    LogWatch log;
    EXPECT_FALSE(nav.display(10, 10));
    const std::vector<std::string> lines = log.newMessages();
    ASSERT_EQ(1u, lines.size()) << "attempt " << nAttempt;
    EXPECT_EQ("CNavMenu::display() Failed: TrackPopupMenuEx() failed with error: " +
                  std::to_string(dwError),
              lines[0]);
  }
}
