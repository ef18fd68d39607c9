#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "menus/navmenu.h"
#include "menutest_support.h"
#include "rootitem_support.h"
#include "support/runlog.h"

using testsupport::LogWatch;
using menutest::menuTexts;
using menutest::TempTree;

namespace {

// The controller fed the popup messages of the menu loop, as the owner
// window hands them on: a cascade opened level by level and closed from
// the top, the way the system reports it.
class NavMenuTest : public ::testing::Test {
 protected:
  NavMenuTest() : m_Tree("navmenu") {}

  void SetUp() override {
    menutest::setUpMenuResources();
    m_Tree.addFolder("one");
    m_Tree.addFolder("one\\two");
    m_Tree.addFolder("one\\two\\three");
    m_Tree.addFile("one\\two\\three\\leaf.txt");
    m_Tree.addFile("top.txt");
    m_Tree.addFolder("other");
    m_Tree.addFolder("other\\inner");
    ASSERT_TRUE(m_Nav.init(NULL));
    std::vector<ROOTITEM> roots = {makeRootItem("Tree", m_Tree.path(), SORT_NONE, 25),
                                   makeRootItem("Other", m_Tree.path() + "other", SORT_NONE, 25)};
    ASSERT_TRUE(m_Nav.getRootMenu().setRootItemList(roots));
  }

  // The tray click: the root menu comes up.
  void openRoot() {
    m_Nav.handleInitPopup(reinterpret_cast<WPARAM>(m_Nav.getRootMenu().getHMENU()), 0);
    m_Open.assign(1, &m_Nav.getRootMenu());
    m_nDeepest = std::max(m_nDeepest, m_Open.size());
  }
  // The entry at nPos of the top level opens its submenu.
  void openAt(int nPos) {
    CFolderMenu* lpChild = m_Open.back()->getSubFolderMenu();
    ASSERT_NE(nullptr, lpChild);
    m_Nav.handleInitPopup(reinterpret_cast<WPARAM>(lpChild->getHMENU()), MAKELPARAM(nPos, 0));
    m_Open.push_back(lpChild);
    m_nDeepest = std::max(m_nDeepest, m_Open.size());
  }
  void closeTop() {
    m_Nav.handleUnInitPopup(reinterpret_cast<WPARAM>(m_Open.back()->getHMENU()), 0);
    m_Open.pop_back();
  }
  void closeAll() {
    while (!m_Open.empty()) closeTop();
  }
  // Every level of the deepest cascade opened so far but the root, whose
  // child is a member menu, has borrowed one menu from the pool.
  size_t mostLent() const { return m_nDeepest - 1; }

  TempTree m_Tree;
  CNavMenu m_Nav;
  std::vector<CFolderMenu*> m_Open;
  size_t m_nDeepest = 0;
};

}  // namespace

// Folder, subfolder, back, another root, and again: the menus come back to
// the pool and are lent out again, never more than the deepest cascade.
TEST_F(NavMenuTest, PoolNeverHoldsMoreMenusThanTheDeepestCascade) {
  for (int nRound = 0; nRound < 5; ++nRound) {
    openRoot();
    openAt(0);  // Tree: Open Folder, one, other, top.txt
    EXPECT_EQ(std::vector<std::string>({"Open Folder", "one", "other", "top.txt"}),
              menuTexts(*m_Open.back()));
    openAt(1);  // one
    openAt(1);  // two
    openAt(1);  // three
    EXPECT_EQ(std::vector<std::string>({"Open Folder", "leaf.txt"}), menuTexts(*m_Open.back()));
    EXPECT_EQ(5u, m_Nav.getOpenMenuCount());
    EXPECT_EQ(0u, m_Nav.getTempMenuCount()) << "round " << nRound;
    closeTop();
    closeTop();
    EXPECT_LE(m_Nav.getTempMenuCount(), mostLent());
    closeTop();
    closeTop();  // the root's popup: its child comes back, it is emptied
    EXPECT_EQ(0, GetMenuItemCount(m_Nav.getRootMenu().getSubFolderMenu()->getHMENU()));
    openAt(1);  // the other root
    openAt(1);  // inner
    EXPECT_LE(m_Nav.getTempMenuCount(), mostLent());
    closeAll();
    EXPECT_EQ(0u, m_Nav.getOpenMenuCount());
    EXPECT_EQ(mostLent(), m_Nav.getTempMenuCount()) << "round " << nRound;
    // The root menu keeps its entries for the next display.
    EXPECT_EQ(std::vector<std::string>({"Tree", "Other"}), menuTexts(m_Nav.getRootMenu()));
  }
}

// A popup whose fill fails opens empty and gives its borrowed menu back:
// failing again and again takes nothing more from the system.
TEST_F(NavMenuTest, AFailedFillOpensEmptyAndReturnsItsTempMenu) {
  openRoot();
  openAt(0);
  CFolderMenu* lpShared = m_Open.back()->getSubFolderMenu();
  const size_t nPool = m_Nav.getTempMenuCount();
  LogWatch log;
  for (int i = 0; i < 20; ++i) {
    // top.txt opens no submenu: there is nothing to fill it with.
    m_Nav.handleInitPopup(reinterpret_cast<WPARAM>(lpShared->getHMENU()), MAKELPARAM(3, 0));
    EXPECT_EQ(0, GetMenuItemCount(lpShared->getHMENU()));
    EXPECT_EQ(2u, m_Nav.getOpenMenuCount());
  }
  EXPECT_EQ(nPool + 1, m_Nav.getTempMenuCount());
  EXPECT_TRUE(
      log.saw("CNavMenu::handleInitPopup() failed : lp_top_menu->getItemFillInfo() failed"));
  // The same popup still fills for a folder afterwards, from scratch.
  openAt(1);
  EXPECT_EQ(std::vector<std::string>({"Open Folder", "two"}), menuTexts(*m_Open.back()));
  closeAll();
}

// Wine closes the root with submenus still open after a context menu and
// reports only the root: the levels above it close with it.
TEST_F(NavMenuTest, ClosingALowerLevelClosesTheLevelsAboveIt) {
  openRoot();
  openAt(0);
  openAt(1);
  openAt(1);
  m_Nav.handleUnInitPopup(reinterpret_cast<WPARAM>(m_Nav.getRootMenu().getHMENU()), 0);
  m_Open.clear();
  EXPECT_EQ(0u, m_Nav.getOpenMenuCount());
  EXPECT_EQ(3u, m_Nav.getTempMenuCount());
  EXPECT_EQ(0, GetMenuItemCount(m_Nav.getRootMenu().getSubFolderMenu()->getHMENU()));
  // The next display starts clean.
  openRoot();
  openAt(0);
  EXPECT_EQ(std::vector<std::string>({"Open Folder", "one", "other", "top.txt"}),
            menuTexts(*m_Open.back()));
  closeAll();
}

TEST_F(NavMenuTest, AStrayPopupOnlyLogsAnAlert) {
  openRoot();
  const HMENU hStray = CreatePopupMenu();
  LogWatch log;
  EXPECT_EQ(0, m_Nav.handleInitPopup(reinterpret_cast<WPARAM>(hStray), 0));
  EXPECT_EQ(std::vector<std::string>({"CNavMenu::handleInitPopup() alert: unhandled message."}),
            log.newMessages());
  EXPECT_EQ(1u, m_Nav.getOpenMenuCount());
  DestroyMenu(hStray);
  closeAll();
}

// The warm-up makes at most one shell query a step, so that input waiting
// for the program gets in between, never waits for a listing, and leaves
// the types of a fixed drive's root cached for the first click. Drives this
// machine cannot vouch for are not read.
TEST(IconWarmUp, AsksOneTypeAStepAndCachesTheRootsTypes) {
  menutest::setUpMenuResources();
  TempTree tree("warmup");
  tree.addFile("a.pwwarma");
  tree.addFile("b.pwwarma");
  tree.addFile("c.pwwarmb");
  CNavMenu nav;
  ASSERT_TRUE(nav.init(NULL));
  std::vector<ROOTITEM> roots = {makeRootItem("Local", tree.path(), SORT_NONE, 25),
                                 makeRootItem("Share", "\\\\nohost\\share\\", SORT_NONE, 25)};
  ASSERT_TRUE(nav.setRootItems(roots));
  SIconMgr* lpIcons = SIconMgr::S_getSingleton();
  const unsigned long nFirst = lpIcons->getShellQueryCount();
  unsigned long nMostInAStep = 0;
  bool bEnded = false;
  for (int nStep = 0; nStep < 100000 && !bEnded; ++nStep) {
    const unsigned long nBefore = lpIcons->getShellQueryCount();
    bEnded = !nav.stepIconWarmUp();
    nMostInAStep = std::max(nMostInAStep, lpIcons->getShellQueryCount() - nBefore);
    Sleep(0);
  }
  ASSERT_TRUE(bEnded);
  EXPECT_EQ(1u, nMostInAStep);
  // The first query (none if the log's type is cached already) and the
  // local root's two types.
  EXPECT_LE(nFirst + 2, lpIcons->getShellQueryCount());
  EXPECT_GE(nFirst + 3, lpIcons->getShellQueryCount());
  EXPECT_TRUE(lpIcons->isCached("pwwarma"));
  EXPECT_TRUE(lpIcons->isCached("pwwarmb"));
}
