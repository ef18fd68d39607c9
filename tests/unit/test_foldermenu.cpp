#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "menus/foldermenu.h"
#include "menus/iconmgr.h"
#include "menutest_support.h"
#include "support/runlog.h"

using testsupport::LogWatch;
using menutest::menuIds;
using menutest::menuState;
using menutest::menuTexts;
using menutest::TempTree;

typedef std::vector<std::string> Names;

// ---- The name ordering ----------------------------------------------------

TEST(NameOrdering, DecidesTheDocumentedCases) {
  struct Case {
    const char* lpszBefore;
    const char* lpszAfter;
  };
  const Case cases[] = {
      {"apple", "Banana"}, {"Banana", "cherry"},    {"Data", "Data2"},      {"a_b", "ab"},
      {"a_b", "aB"},       {"\xE9t\xE9", "3 days"}, {"\xE9t\xE9", "apple"}, {".profile", "3 days"},
      {"Ab", "AD"},        {"ab", "AbC"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(case_insensitive(c.lpszBefore, c.lpszAfter))
        << c.lpszBefore << " < " << c.lpszAfter;
    EXPECT_FALSE(case_insensitive(c.lpszAfter, c.lpszBefore))
        << c.lpszAfter << " < " << c.lpszBefore;
  }
}

// The bare rule leaves names that differ first in letter case undecided,
// which is not an ordering a sort may rely on. Every pair must be ordered
// one way exactly once, and the order must be transitive.
TEST(NameOrdering, IsAStrictTotalOrderOverNamesThatDifferInCase) {
  const std::string alphabet[] = {"a", "A", "b", "B", "_", "\xE9", "1"};
  Names names(1, "");
  for (const std::string& x : alphabet) {
    names.push_back(x);
    for (const std::string& y : alphabet) names.push_back(x + y);
  }
  for (const std::string& a : names) {
    EXPECT_FALSE(case_insensitive(a, a)) << a;
    for (const std::string& b : names) {
      if (a == b) continue;
      EXPECT_NE(case_insensitive(a, b), case_insensitive(b, a)) << a << " / " << b;
      if (!case_insensitive(a, b)) continue;
      for (const std::string& c : names) {
        if (case_insensitive(b, c)) {
          EXPECT_TRUE(case_insensitive(a, c)) << a << " " << b << " " << c;
        }
      }
    }
  }
}

// ---- Filling from real folders --------------------------------------------

class FolderMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    menutest::setUpMenuResources();
    ASSERT_TRUE(m_Menu.init());
    ASSERT_TRUE(m_Sub.init());
    ASSERT_TRUE(m_Child.init());
  }

  FILLINFO fill(const std::string& rPath, int nSortType, unsigned int nMaxNoSort,
                int nParentType = CFolderMenu::TYPE_PLAIN, const std::string& rSearch = "*") {
    FILLINFO info;
    info.str_path = rPath;
    info.str_search = rSearch;
    info.sort_type = nSortType;
    info.max_no_sort = nMaxNoSort;
    EXPECT_TRUE(m_Menu.fillFolderMenu(&m_Sub, info, nParentType));
    return info;
  }

  // Fills m_Child from the entry at nPos the way the controller will.
  Names fillChildFrom(int nPos) {
    FILLINFO info;
    EXPECT_TRUE(m_Menu.getItemFillInfo(nPos, info));
    m_Sub.clear();
    EXPECT_TRUE(m_Sub.fillFolderMenu(&m_Child, info, m_Menu.getType()));
    return menuTexts(m_Sub);
  }

  CFolderMenu m_Menu;
  CFolderMenu m_Sub;
  CFolderMenu m_Child;
};

TEST_F(FolderMenuTest, ListsFoldersThenFilesEachInNameOrderHiddenIncluded) {
  TempTree tree("listing");
  for (const char* lpszFolder : {"zeta", "Alpha", "beta"}) tree.addFolder(lpszFolder);
  for (const char* lpszFile :
       {"cherry.txt", "Data2", "apple.txt", "ab", "Banana.txt", "Data", "a_b", "3d.txt",
        "\xE9"
        "clair.txt",
        ".dotfile"})
    tree.addFile(lpszFile);
  tree.addFile("secret.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  fill(tree.path(), SORT_NONE, 0);

  const Names expected = {"Open Folder",
                          "Alpha",
                          "beta",
                          "zeta",
                          "\xE9"
                          "clair.txt",
                          ".dotfile",
                          "3d.txt",
                          "a_b",
                          "ab",
                          "apple.txt",
                          "Banana.txt",
                          "cherry.txt",
                          "Data",
                          "Data2",
                          "secret.txt"};
  EXPECT_EQ(expected, menuTexts(m_Menu));  // "." and ".." never appear
  EXPECT_EQ(CFolderMenu::TYPE_PLAIN, m_Menu.getType());
  EXPECT_EQ(0u, GetMenuDefaultItem(m_Menu.getHMENU(), TRUE, 0));
  // Choices come back by position (WM_MENUCOMMAND), which is what an
  // entry's position maps to.
  MENUINFO style = {};
  style.cbSize = sizeof(style);
  style.fMask = MIM_STYLE;
  ASSERT_TRUE(GetMenuInfo(m_Menu.getHMENU(), &style));
  EXPECT_EQ(static_cast<DWORD>(MNS_NOTIFYBYPOS), style.dwStyle & MNS_NOTIFYBYPOS);

  // Owner-drawn entries carry their position as id; folders open the shared submenu.
  const std::vector<UINT> ids = menuIds(m_Menu.getHMENU());
  for (size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(i, ids[i]) << "position " << i;
  for (int i = 1; i < static_cast<int>(expected.size()); ++i)
    EXPECT_EQ(i <= 3 ? m_Sub.getHMENU() : NULL, GetSubMenu(m_Menu.getHMENU(), i)) << expected[i];
}

TEST_F(FolderMenuTest, EmptyFilteredOrUnreadableFoldersShowOpenFolderAndGrayedEmpty) {
  TempTree tree("empty");
  tree.addFolder("nothing");
  tree.addFolder("onlyfiles");
  tree.addFile("onlyfiles\\a.txt");
  struct Case {
    std::string strPath;
    std::string strSearch;
    bool bFoldersOnly;
    const char* lpszError;  // logged search error, if any
  };
  // Wine cannot refuse access to a folder here (the tests run as root), so a
  // folder that does not exist stands for one that cannot be read.
  const Case cases[] = {
      {tree.path() + "nothing\\", "*", false, NULL},
      {tree.path() + "onlyfiles\\", "*", true, NULL},
      {tree.path() + "nothing\\", "q*", false, NULL},
      {tree.path() + "missing\\", "*", false,
       "CFolderMenu::findFoldersAndFiles() error: FindNextFile() failed with error: 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.strPath + c.strSearch);
    LogWatch log;
    FILLINFO info;
    info.str_path = c.strPath;
    info.str_search = c.strSearch;
    info.b_folders_only = c.bFoldersOnly;
    info.sort_type = SORT_ABC;
    ASSERT_TRUE(m_Menu.fillFolderMenu(&m_Sub, info, CFolderMenu::TYPE_PLAIN));
    EXPECT_EQ(Names({"Open Folder", ""}), menuTexts(m_Menu));
    char szText[32] = {0};
    GetMenuStringA(m_Menu.getHMENU(), 1, szText, sizeof(szText), MF_BYPOSITION);
    EXPECT_STREQ("[Empty]", szText);
    EXPECT_EQ(MFS_GRAYED, menuState(m_Menu.getHMENU(), 1) & MFS_GRAYED);
    EXPECT_EQ(std::vector<UINT>({0, 0}), menuIds(m_Menu.getHMENU()));
    EXPECT_EQ(CFolderMenu::TYPE_NONE, m_Menu.getType());
    const Names logged = log.newMessages();
    const bool bLoggedError = std::any_of(logged.begin(), logged.end(), [](const std::string& s) {
      return s.find("findFoldersAndFiles() error") != std::string::npos;
    });
    if (c.lpszError != NULL) {
      EXPECT_TRUE(log.saw(c.lpszError));
    } else {
      EXPECT_FALSE(bLoggedError);
    }
    m_Menu.clear();
  }
}

TEST_F(FolderMenuTest, GroupsOnlyAboveTheThreshold) {
  TempTree tree25("n25");
  tree25.addMany("a", 5, 20, ".txt");
  TempTree tree26("n26");
  tree26.addMany("a", 6, 20, ".txt");
  TempTree tree1("n1");
  tree1.addFile("only.txt");
  struct Case {
    const TempTree* lpTree;
    int nSortType;
    unsigned int nMaxNoSort;
    int nParentType;
    int nExpectedType;
  };
  const Case cases[] = {
      {&tree25, SORT_ABC, 25, 0, CFolderMenu::TYPE_PLAIN},
      {&tree26, SORT_ABC, 25, 0, CFolderMenu::TYPE_ABC},
      {&tree26, SORT_EXT, 25, 2, CFolderMenu::TYPE_EXT},
      {&tree26, SORT_NONE, 25, 0, CFolderMenu::TYPE_PLAIN},
      {&tree26, SORT_NONE, 0, 0, CFolderMenu::TYPE_PLAIN},
      {&tree1, SORT_ABC, 0, 0, CFolderMenu::TYPE_ABC},
      {&tree1, SORT_EXT, 0, 2, CFolderMenu::TYPE_EXT},
      // A group's own submenu is never grouped, however big.
      {&tree26, SORT_ABC, 0, CFolderMenu::TYPE_ABC, CFolderMenu::TYPE_PLAIN},
      {&tree26, SORT_EXT, 0, CFolderMenu::TYPE_EXT, CFolderMenu::TYPE_PLAIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lpTree->path() << " sort " << c.nSortType << " max "
                                    << c.nMaxNoSort << " parent " << c.nParentType);
    fill(c.lpTree->path(), c.nSortType, c.nMaxNoSort, c.nParentType);
    EXPECT_EQ(c.nExpectedType, m_Menu.getType());
    if (c.nExpectedType == CFolderMenu::TYPE_PLAIN) {
      EXPECT_EQ(c.lpTree == &tree25 ? 26 : 27, GetMenuItemCount(m_Menu.getHMENU()));
    }
    m_Menu.clear();
  }
}

TEST_F(FolderMenuTest, UnknownSortTypeShowsOpenFolderAlone) {
  TempTree tree("sort3");
  tree.addMany("x", 2, 3, ".txt");
  for (int nSortType : {3, 7, -1}) {
    fill(tree.path(), nSortType, 0);
    EXPECT_EQ(Names({"Open Folder"}), menuTexts(m_Menu)) << nSortType;
    EXPECT_EQ(CFolderMenu::TYPE_NONE, m_Menu.getType());
    m_Menu.clear();
  }
}

TEST_F(FolderMenuTest, LetterGroupsAndTheirSubmenus) {
  TempTree tree("abc");
  // 64 entries beginning with b, B, 3, _, e-acute and the last digit and
  // letter, 9, z and Z. Names that differ only in case would be one name to
  // the file system.
  const char* prefixes[] = {"b", "Bo", "3", "_", "\xE9", "9", "z", "Zo"};
  for (const char* lpszPrefix : prefixes) tree.addMany(lpszPrefix, 2, 6, ".txt");
  fill(tree.path(), SORT_ABC, 25, 0);

  EXPECT_EQ(CFolderMenu::TYPE_ABC, m_Menu.getType());
  EXPECT_EQ(Names({"Open Folder", "Symbols", "3", "9", "B", "Z"}), menuTexts(m_Menu));
  EXPECT_EQ(std::vector<UINT>({0, 255, '3', '9', 'B', 'Z'}), menuIds(m_Menu.getHMENU()));
  for (int i = 1; i < 6; ++i) EXPECT_EQ(m_Sub.getHMENU(), GetSubMenu(m_Menu.getHMENU(), i));

  const Names symbols = fillChildFrom(1);
  EXPECT_EQ(Names({"Open Folder",
                   "\xE9"
                   "dir00000",
                   "\xE9"
                   "dir00001",
                   "_dir00000", "_dir00001",
                   "\xE9"
                   "file00000.txt",
                   "\xE9"
                   "file00001.txt",
                   "\xE9"
                   "file00002.txt",
                   "\xE9"
                   "file00003.txt",
                   "\xE9"
                   "file00004.txt",
                   "\xE9"
                   "file00005.txt",
                   "_file00000.txt", "_file00001.txt", "_file00002.txt", "_file00003.txt",
                   "_file00004.txt", "_file00005.txt"}),
            symbols);
  EXPECT_EQ(CFolderMenu::TYPE_PLAIN, m_Sub.getType());

  // Both cases of b, folders first.
  const Names letterB = fillChildFrom(4);
  ASSERT_EQ(17u, letterB.size());
  EXPECT_EQ(Names({"Open Folder", "bdir00000", "bdir00001", "Bodir00000", "Bodir00001",
                   "bfile00000.txt"}),
            Names(letterB.begin(), letterB.begin() + 6));
  EXPECT_EQ(CFolderMenu::TYPE_PLAIN, m_Sub.getType());
  EXPECT_EQ(9u, fillChildFrom(3).size());
  EXPECT_EQ(17u, fillChildFrom(5).size());
}

// The system's wildcard also matches 8.3 short names: "*.DOC" finds
// report.docx by its short name, and "G*" could find .gitignore. A group
// lists only the names of its own letter or type.
TEST_F(FolderMenuTest, GroupsListOnlyTheLongNamesOfTheirLetterOrType) {
  TempTree tree("shortnames");
  for (const char* lpszFile : {"memo.doc", "report.docx", "Guide.DOC", ".gitignore",
                               "go.txt", "longextension.htmlx", "page.htm"})
    tree.addFile(lpszFile);
  fill(tree.path(), SORT_EXT, 0, 0);
  ASSERT_EQ(Names({"Open Folder", "Folders", "No Extension", ".DOC", ".DOCX", ".GITIGNORE", ".HTM",
                   ".HTMLX", ".TXT"}),
            menuTexts(m_Menu));
  EXPECT_EQ(Names({"Open Folder", "Guide.DOC", "memo.doc"}), fillChildFrom(3));
  EXPECT_EQ(Names({"Open Folder", "page.htm"}), fillChildFrom(6));
  m_Menu.clear();

  fill(tree.path(), SORT_ABC, 0, 0);
  ASSERT_EQ(Names({"Open Folder", "Symbols", "G", "L", "M", "P", "R"}), menuTexts(m_Menu));
  EXPECT_EQ(Names({"Open Folder", "go.txt", "Guide.DOC"}), fillChildFrom(2));
  EXPECT_EQ(Names({"Open Folder", ".gitignore"}), fillChildFrom(1));
}

// A folder opened from inside a group lists everything in it: the group's
// filter stays with the group.
TEST_F(FolderMenuTest, AFolderOpenedInsideAGroupListsAllItHolds) {
  TempTree tree("ingroup");
  tree.addFolder("_box");
  tree.addFolder("_box\\sub");
  tree.addFile("_box\\apple.txt");
  tree.addFile("_box\\NOTES");
  for (const char* lpszFile : {"top.txt", "README", "a1.txt", "b1.txt"}) tree.addFile(lpszFile);
  CFolderMenu grandChild;
  ASSERT_TRUE(grandChild.init());
  struct Case {
    int nSortType;
    int nGroupPos;  // "Symbols" or "Folders"
  };
  for (const Case& c : {Case{SORT_ABC, 1}, Case{SORT_EXT, 1}}) {
    SCOPED_TRACE(testing::Message() << "sort " << c.nSortType);
    // Five entries are grouped; the three in _box are not.
    fill(tree.path(), c.nSortType, 3, 0);
    ASSERT_EQ(Names({"Open Folder", "_box"}), fillChildFrom(c.nGroupPos));
    FILLINFO info;
    ASSERT_TRUE(m_Sub.getItemFillInfo(1, info));
    EXPECT_FALSE(info.b_symbols_only || info.b_folders_only || info.b_no_extension_only);
    m_Child.clear();
    ASSERT_TRUE(m_Child.fillFolderMenu(&grandChild, info, m_Sub.getType()));
    EXPECT_EQ(Names({"Open Folder", "sub", "apple.txt", "NOTES"}), menuTexts(m_Child));
    m_Child.clear();
    m_Menu.clear();
  }
  // The entries of "No Extension" are files; what they ask for carries no
  // filter either.
  fill(tree.path(), SORT_EXT, 3, 0);
  ASSERT_EQ(Names({"Open Folder", "README"}), fillChildFrom(2));
  FILLINFO info;
  EXPECT_FALSE(m_Sub.getItemFillInfo(1, info));
  EXPECT_EQ(tree.path() + "README", info.str_path);
  EXPECT_FALSE(info.b_symbols_only || info.b_folders_only || info.b_no_extension_only);
}

TEST_F(FolderMenuTest, SymbolsIsAlwaysOfferedEvenWhenNothingBelongsToIt) {
  TempTree tree("nosymbols");
  tree.addMany("k", 1, 2, ".txt");
  fill(tree.path(), SORT_ABC, 0, 0);
  EXPECT_EQ(Names({"Open Folder", "Symbols", "K"}), menuTexts(m_Menu));
  EXPECT_EQ(Names({"Open Folder", ""}), fillChildFrom(1));
}

TEST_F(FolderMenuTest, FileTypeGroupsAndTheirSubmenus) {
  TempTree tree("ext");
  tree.addFolder("photos.bak");
  for (const char* lpszFile : {"a.txt", "b.TXT", "c.Txt", "p.html", "q.htm", "r.bat", "s.bak",
                               "t.7z", "README", "x.tar.gz", "y.gz", ".profile"})
    tree.addFile(lpszFile);
  fill(tree.path(), SORT_EXT, 0, 0);

  EXPECT_EQ(CFolderMenu::TYPE_EXT, m_Menu.getType());
  EXPECT_EQ(Names({"Open Folder", "Folders", "No Extension", ".7Z", ".BAK", ".BAT", ".GZ", ".HTM",
                   ".HTML", ".PROFILE", ".TXT"}),
            menuTexts(m_Menu));
  EXPECT_EQ(std::vector<UINT>({0, 255, 254, 1, 1, 1, 1, 1, 1, 1, 1}), menuIds(m_Menu.getHMENU()));

  EXPECT_EQ(Names({"Open Folder", "photos.bak"}), fillChildFrom(1));
  EXPECT_EQ(Names({"Open Folder", "README"}), fillChildFrom(2));
  // The system's wildcard ignores case and matches folders too.
  EXPECT_EQ(Names({"Open Folder", "a.txt", "b.TXT", "c.Txt"}), fillChildFrom(10));
  EXPECT_EQ(Names({"Open Folder", "photos.bak", "s.bak"}), fillChildFrom(4));
}

// ---- What entries stand for -----------------------------------------------

TEST_F(FolderMenuTest, PathsAndFillRequestsOfAPlainListing) {
  TempTree tree("paths");
  tree.addFolder("Sub");
  tree.addFile("report.txt");
  const std::string strFolder = tree.path().substr(0, tree.path().size() - 1);
  // Without its backslash: the fill adds it, in the caller's record too.
  const FILLINFO given = fill(strFolder, SORT_EXT, 7);
  EXPECT_EQ(tree.path(), given.str_path);

  std::string strPath;
  m_Menu.getItemPath(0, strPath);
  EXPECT_EQ(strFolder, strPath);
  m_Menu.getItemPath(1, strPath);
  EXPECT_EQ(tree.path() + "Sub", strPath);
  m_Menu.getItemPath(2, strPath);
  EXPECT_EQ(tree.path() + "report.txt", strPath);

  FILLINFO info;
  EXPECT_TRUE(m_Menu.getItemFillInfo(1, info));
  EXPECT_EQ(tree.path() + "Sub\\", info.str_path);
  EXPECT_EQ("*", info.str_search);
  EXPECT_EQ(SORT_EXT, info.sort_type);
  EXPECT_EQ(7u, info.max_no_sort);
  EXPECT_FALSE(m_Menu.getItemFillInfo(2, info));
  EXPECT_EQ(tree.path() + "report.txt", info.str_path);
  EXPECT_EQ("", info.str_search);
  EXPECT_FALSE(m_Menu.getItemFillInfo(0, info));
}

TEST_F(FolderMenuTest, GroupEntriesStandForTheFolderAndCarryTheirFilter) {
  TempTree tree("groups");
  tree.addMany("m", 1, 2, ".log");
  tree.addFile("_x");
  struct Case {
    int nSortType;
    int nPos;
    const char* lpszSearch;
    bool bSymbols, bFolders, bNoExtension;
  };
  const Case cases[] = {
      {SORT_ABC, 1, "*", true, false, false},      {SORT_ABC, 2, "M*", false, false, false},
      {SORT_EXT, 1, "*", false, true, false},      {SORT_EXT, 2, "*", false, false, true},
      {SORT_EXT, 3, "*.LOG", false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "sort " << c.nSortType << " position " << c.nPos);
    fill(tree.path(), c.nSortType, 0, 0);
    std::string strPath;
    m_Menu.getItemPath(c.nPos, strPath);
    EXPECT_EQ(tree.path().substr(0, tree.path().size() - 1), strPath);
    FILLINFO info;
    info.b_folders_only = !c.bFolders;  // must be reset
    EXPECT_TRUE(m_Menu.getItemFillInfo(c.nPos, info));
    EXPECT_EQ(tree.path(), info.str_path);
    EXPECT_EQ(c.lpszSearch, info.str_search);
    EXPECT_EQ(c.bSymbols, info.b_symbols_only);
    EXPECT_EQ(c.bFolders, info.b_folders_only);
    EXPECT_EQ(c.bNoExtension, info.b_no_extension_only);
    // "Open Folder" opens nothing.
    EXPECT_FALSE(m_Menu.getItemFillInfo(0, info));
    EXPECT_EQ("", info.str_path);
    m_Menu.clear();
  }
}

TEST_F(FolderMenuTest, DriveRootsKeepTheirBackslash) {
  // C:\ is the prefix's drive; C:\Data\ need not exist for its own path.
  fill("C:\\Data\\", SORT_NONE, 0);
  std::string strPath;
  m_Menu.getItemPath(0, strPath);
  EXPECT_EQ("C:\\Data", strPath);
  m_Menu.clear();

  fill("C:\\", SORT_ABC, 0, 0);
  ASSERT_EQ(CFolderMenu::TYPE_ABC, m_Menu.getType());
  m_Menu.getItemPath(0, strPath);
  EXPECT_EQ("C:\\", strPath);
  m_Menu.getItemPath(1, strPath);
  EXPECT_EQ("C:\\", strPath);
}

TEST_F(FolderMenuTest, AnEmptyMenuAnswersLikeAnUnfilledOne) {
  TempTree tree("unfilled");
  fill(tree.path(), SORT_NONE, 0);
  std::string strPath = "unchanged";
  m_Menu.getItemPath(1, strPath);
  EXPECT_EQ("unchanged", strPath);
  FILLINFO info;
  EXPECT_TRUE(m_Menu.getItemFillInfo(1, info));
  EXPECT_EQ(tree.path(), info.str_path);
  EXPECT_EQ("", info.str_search);
}

// A folder no name of the code page leads to is not listed by its spelling,
// which may name another folder: this one holds a file that must not show.
TEST_F(FolderMenuTest, AnUnreachableFolderShowsEmptyAndOpensNothing) {
  TempTree tree("unreachable");
  tree.addFile("other.txt");
  LogWatch log;
  FILLINFO info;
  info.str_path = tree.path();
  info.str_search = "*";
  info.b_unreachable = true;
  ASSERT_TRUE(m_Menu.fillFolderMenu(&m_Sub, info, CFolderMenu::TYPE_PLAIN));
  EXPECT_EQ(Names({"Open Folder", ""}), menuTexts(m_Menu));
  EXPECT_TRUE(log.saw("CFolderMenu::findFoldersAndFiles() error: " + tree.path() +
                      " cannot be reached in this code page"));
  std::string strPath = "unchanged";
  m_Menu.getItemPath(0, strPath);
  EXPECT_EQ("", strPath);
  EXPECT_EQ(tree.path().substr(0, tree.path().size() - 1), m_Menu.getItemSpelledPath(0));
}

// What a lookup of an entry's spelling found is the entry listed only with
// its kind, spelling and short name, and never where another looks the same.
TEST(SameEntry, NeedsKindSpellingAndShortNameAndNoLookalike) {
  FOUNDNAME found;
  found.str_name = "Omega.pwt";
  WIN32_FIND_DATAA data = {};
  lstrcpyA(data.cFileName, "Omega.pwt");
  EXPECT_TRUE(isSameEntry(found, false, data));
  EXPECT_FALSE(isSameEntry(found, true, data));
  lstrcpyA(data.cAlternateFileName, "_MEG~SCN.PWT");
  EXPECT_FALSE(isSameEntry(found, false, data));
  data.cAlternateFileName[0] = '\0';
  lstrcpyA(data.cFileName, "omega.pwt");
  EXPECT_FALSE(isSameEntry(found, false, data));
  lstrcpyA(data.cFileName, "Omega.pwt");
  found.b_lookalike = true;
  EXPECT_FALSE(isSameEntry(found, false, data));
}

// In UTF-8 a spelling is used as the search gave it, with no search of its
// own, unless it may have been cut to the search record's 259 bytes or
// holds a replaced character; in other code pages it is always looked up.
TEST(SameEntry, ASpellingIsExactOnlyInUtf8AndWholeAndUnreplaced) {
  const std::string kTokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";
  std::string strLongest;
  for (int i = 0; i < 85; ++i) strLongest += kTokyo.substr(0, 3);  // 255 bytes
  const struct {
    std::string strSpelling;
    UINT nCodePage;
    bool bExact;
  } kCases[] = {
      {kTokyo + " tokyo.pwt", CP_UTF8, true},
      {strLongest, CP_UTF8, true},
      {strLongest + "x", CP_UTF8, false},
      {"Omega?.pwt", CP_UTF8, false},
      {"bad\xEF\xBF\xBD.pwt", CP_UTF8, false},
      {"Omega.pwt", 1252, false},
  };
  for (const auto& rCase : kCases)
    EXPECT_EQ(rCase.bExact, isExactSpelling(rCase.strSpelling, rCase.nCodePage))
        << rCase.strSpelling << " in " << rCase.nCodePage;
}

// ---- Enabling and clearing ------------------------------------------------

TEST_F(FolderMenuTest, DisablingKeepsTheLookAndEmptyStaysGrayed) {
  TempTree tree("enable");
  tree.addFolder("f");
  fill(tree.path(), SORT_NONE, 0);
  const UINT nLook = MF_DISABLED | MF_GRAYED;
  m_Menu.enableItems(false);
  EXPECT_EQ(static_cast<UINT>(MF_DISABLED),
            GetMenuState(m_Menu.getHMENU(), 1, MF_BYPOSITION) & nLook);
  m_Menu.enableItems(true);
  EXPECT_EQ(0u, GetMenuState(m_Menu.getHMENU(), 1, MF_BYPOSITION) & nLook);
  m_Menu.clear();

  TempTree empty("enable_empty");
  fill(empty.path(), SORT_NONE, 0);
  m_Menu.enableItems(false);
  m_Menu.enableItems(true);
  EXPECT_EQ(0u, GetMenuState(m_Menu.getHMENU(), 0, MF_BYPOSITION) & nLook);
  EXPECT_EQ(nLook, GetMenuState(m_Menu.getHMENU(), 1, MF_BYPOSITION) & nLook);
}

TEST_F(FolderMenuTest, ClearEmptiesTheMenuButLeavesTheSharedSubmenu) {
  TempTree tree("clear");
  tree.addMany("c", 3, 3, ".txt");
  fill(tree.path(), SORT_NONE, 0);
  ASSERT_EQ(7, GetMenuItemCount(m_Menu.getHMENU()));
  m_Menu.clear();
  EXPECT_EQ(0, GetMenuItemCount(m_Menu.getHMENU()));
  EXPECT_EQ(CFolderMenu::TYPE_NONE, m_Menu.getType());
  EXPECT_EQ(NULL, m_Menu.getSubFolderMenu());
  EXPECT_TRUE(IsMenu(m_Sub.getHMENU()));
  // Refilled after clearing, it lists the folder once, not twice.
  fill(tree.path(), SORT_NONE, 0);
  EXPECT_EQ(7, GetMenuItemCount(m_Menu.getHMENU()));
  m_Menu.uninit();
  EXPECT_EQ(NULL, m_Menu.getHMENU());
  EXPECT_TRUE(IsMenu(m_Sub.getHMENU()));
}
