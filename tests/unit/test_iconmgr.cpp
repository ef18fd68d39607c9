#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "diag/scoped.h"
#include "menus/iconmgr.h"
#include "menutest_support.h"
#include "support/handlecount.h"
#include "support/runlog.h"

using testsupport::LogWatch;
using menutest::TempTree;

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// A 32 x 32 colour icon: its left half opaque red, its right half transparent.
HICON makeHalfRedIcon() {
  const int n = 32;
  const CWindowDC screen(NULL);
  const CGdiObject colour(CreateCompatibleBitmap(screen.get(), n, n));
  const CGdiObject mask(CreateBitmap(n, n, 1, 1, NULL));
  const CGdiObject red(CreateSolidBrush(kRed));
  const CMemoryDC memory(screen.get());
  const RECT whole = {0, 0, n, n};
  const RECT left = {0, 0, n / 2, n};
  {
    const CSelectObject select(memory.get(), colour.get());
    FillRect(memory.get(), &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(memory.get(), &left, static_cast<HBRUSH>(red.get()));
  }
  {
    const CSelectObject select(memory.get(), mask.get());
    FillRect(memory.get(), &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FillRect(memory.get(), &left, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  ICONINFO info = {TRUE, 0, 0, static_cast<HBITMAP>(mask.get()),
                   static_cast<HBITMAP>(colour.get())};
  return CreateIconIndirect(&info);
}

// A 32 x 32 monochrome icon: left half opaque white, right half transparent.
HICON makeHalfWhiteMonochromeIcon() {
  BYTE andBits[32 * 4];
  BYTE xorBits[32 * 4];
  for (int row = 0; row < 32; ++row) {
    for (int b = 0; b < 4; ++b) {
      andBits[row * 4 + b] = b < 2 ? 0x00 : 0xFF;
      xorBits[row * 4 + b] = b < 2 ? 0xFF : 0x00;
    }
  }
  return CreateIcon(NULL, 32, 32, 1, 1, andBits, xorBits);
}

// An opaque n x n icon whose column x has the colour lpColumns[x].
HICON makeColumnIcon(int n, const COLORREF* lpColumns) {
  const CWindowDC screen(NULL);
  const CGdiObject colour(CreateCompatibleBitmap(screen.get(), n, n));
  const CGdiObject mask(CreateBitmap(n, n, 1, 1, NULL));
  const CMemoryDC memory(screen.get());
  {
    const CSelectObject select(memory.get(), colour.get());
    for (int x = 0; x < n; ++x)
      for (int y = 0; y < n; ++y) SetPixel(memory.get(), x, y, lpColumns[x]);
  }
  {
    const CSelectObject select(memory.get(), mask.get());
    const RECT whole = {0, 0, n, n};
    FillRect(memory.get(), &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  ICONINFO info = {TRUE, 0, 0, static_cast<HBITMAP>(mask.get()),
                   static_cast<HBITMAP>(colour.get())};
  return CreateIconIndirect(&info);
}

COLORREF pixelOf(HBITMAP hBitmap, int x, int y) {
  const CMemoryDC memory(NULL);
  const CSelectObject select(memory.get(), hBitmap);
  return GetPixel(memory.get(), x, y);
}

SIZE sizeOf(HBITMAP hBitmap) {
  BITMAP bitmap = {};
  GetObjectA(hBitmap, sizeof(bitmap), &bitmap);
  SIZE size = {bitmap.bmWidth, bitmap.bmHeight};
  return size;
}

class IconCache : public ::testing::Test {
 protected:
  void SetUp() override {
    menutest::setUpMenuResources();
    m_lpIcons = SIconMgr::S_getSingleton();
  }
  SIconMgr* m_lpIcons = NULL;
};

}  // namespace

TEST(IconCacheKeys, TheFileNamesOwnExtensionLowerCased) {
  struct Case {
    const char* lpszPath;
    bool bFound;
    const char* lpszExt;
  };
  const Case cases[] = {
      {"C:\\Data\\A.TXT", true, "txt"},
      {"C:\\Data\\b.txt", true, "txt"},
      {"C:\\notes.old\\readme", false, "unchanged"},
      {"C:\\Users\\john.doe\\.git\\HEAD", false, "unchanged"},
      {"C:\\Users\\john.doe\\.gitignore", true, "gitignore"},
      {"C:\\v1.2\\setup.EXE", true, "exe"},
      {"C:\\Data\\archive.tar.GZ", true, "gz"},
      {"C:\\Data\\trailing.", true, ""},
      {"C:\\Data\\README", false, "unchanged"},
  };
  for (const Case& c : cases) {
    std::string strExt = "unchanged";
    EXPECT_EQ(c.bFound, SIconMgr::getFileExt(c.lpszPath, strExt)) << c.lpszPath;
    EXPECT_EQ(c.lpszExt, strExt) << c.lpszPath;
  }
}

TEST_F(IconCache, FilesOfOneTypeShareOneEntryAndOneShellQuery) {
  TempTree tree("iconshare");
  tree.addFile("A.PWKA");
  tree.addFile("b.pwka");
  const unsigned long nBefore = m_lpIcons->getShellQueryCount();
  BMPPAIR first(NULL, NULL), second(NULL, NULL);
  ASSERT_TRUE(m_lpIcons->getBmpIconForFile(tree.path() + "A.PWKA", first));
  ASSERT_TRUE(m_lpIcons->getBmpIconForFile(tree.path() + "b.pwka", second));
  EXPECT_EQ(nBefore + 1, m_lpIcons->getShellQueryCount());
  EXPECT_TRUE(m_lpIcons->isCached("pwka"));
  EXPECT_NE(static_cast<HBITMAP>(NULL), first.first);
  EXPECT_NE(static_cast<HBITMAP>(NULL), first.second);
  EXPECT_EQ(first, second);
  const SIZE size = sizeOf(first.first);
  EXPECT_EQ(16, size.cx);
  EXPECT_EQ(16, size.cy);
}

// Below a folder such as john.doe or .git, files without an extension
// share the empty key with every other such file: one shell query and one
// pair of bitmaps for all of them, not one each.
TEST_F(IconCache, FilesWithoutExtensionShareOneEntryWhateverTheirFolderIsCalled) {
  TempTree tree("iconfolderdot");
  tree.addFolder("john.doe");
  for (int i = 0; i < 30; ++i) tree.addFile("john.doe\\README" + std::to_string(i));
  tree.addFile("LICENSE");
  BMPPAIR first(NULL, NULL);
  ASSERT_TRUE(m_lpIcons->getBmpIconForFile(tree.path() + "LICENSE", first));
  const unsigned long nQueries = m_lpIcons->getShellQueryCount();
  const unsigned long nObjects = testsupport::countGdiObjects();
  for (int i = 0; i < 30; ++i) {
    BMPPAIR pair(NULL, NULL);
    ASSERT_TRUE(m_lpIcons->getBmpIconForFile(tree.path() + "john.doe\\README" + std::to_string(i),
                                             pair));
    EXPECT_EQ(first, pair) << i;
  }
  EXPECT_EQ(nQueries, m_lpIcons->getShellQueryCount());
  EXPECT_EQ(nObjects, testsupport::countGdiObjects());
  EXPECT_TRUE(m_lpIcons->isCached(""));
  EXPECT_FALSE(m_lpIcons->isCached("doe\\readme0"));
}

// Once associations change, an index of the shell's image list may show
// another picture: a type seen afterwards gets a pair of its own, not the
// one an earlier type of the same index had.
TEST_F(IconCache, AfterAssociationsChangeANewTypeIsNotGivenAnOldIndexsPicture) {
  BMPPAIR first(NULL, NULL), sharing(NULL, NULL), after(NULL, NULL);
  ASSERT_TRUE(m_lpIcons->getBmpIconForFile("x.pwkassoca", first));
  ASSERT_TRUE(m_lpIcons->getBmpIconForFile("x.pwkassocb", sharing));
  ASSERT_EQ(first, sharing) << "types of one index share a pair";
  m_lpIcons->forgetSharedPictures();
  ASSERT_TRUE(m_lpIcons->getBmpIconForFile("x.pwkassocc", after));
  EXPECT_NE(first, after);
}

// The type's icon comes from the name alone: a file on a share that does
// not answer, or one that is gone, still gets it, and it is cached. No
// picture an earlier test made may stand in for it: the icon is made here.
TEST_F(IconCache, AFileTheShellCannotReachGetsItsTypesIcon) {
  m_lpIcons->forgetSharedPictures();
  const unsigned long nBefore = m_lpIcons->getShellQueryCount();
  BMPPAIR pair(NULL, NULL);
  EXPECT_TRUE(m_lpIcons->getBmpIconForFile("\\\\nohost\\share\\ghost.pwkfar", pair));
  EXPECT_NE(static_cast<HBITMAP>(NULL), pair.first);
  EXPECT_TRUE(m_lpIcons->isCached("pwkfar"));
  EXPECT_EQ(nBefore + 1, m_lpIcons->getShellQueryCount());
}

// The type would otherwise draw nothing for the rest of the run.
TEST_F(IconCache, AnIconWhoseBitmapsCannotBeReadCachesNothing) {
  HICON hIcon = makeHalfRedIcon();
  DestroyIcon(hIcon);
  std::string strExt = "pwkbroken";
  LogWatch log;
  m_lpIcons->setBmpIconForExt(strExt, hIcon, 32, 32);
  const std::vector<std::string> lines = log.newMessages();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(0u, lines[0].find("SIconMgr::convertIcon() failed: GetIconInfo() failed with error: "))
      << lines[0];
  EXPECT_FALSE(m_lpIcons->isCached("pwkbroken"));
}

TEST_F(IconCache, ASeededTypeNeverAsksTheShellAndIsScaledToSixteen) {
  std::string strExt = "PwkSeed";
  HICON hIcon = makeHalfRedIcon();
  m_lpIcons->setBmpIconForExt(strExt, hIcon, 32, 32);
  EXPECT_EQ("pwkseed", strExt);
  const unsigned long nBefore = m_lpIcons->getShellQueryCount();
  BMPPAIR pair(NULL, NULL);
  ASSERT_TRUE(m_lpIcons->getBmpIconForFile("C:\\nowhere\\x.PWKSEED", pair));
  EXPECT_EQ(nBefore, m_lpIcons->getShellQueryCount());
  EXPECT_EQ(16, sizeOf(pair.first).cx);
  EXPECT_EQ(16, sizeOf(pair.second).cy);
  // Image: the colours where opaque, black where transparent. Mask: black
  // where opaque, white where transparent.
  EXPECT_EQ(kRed, pixelOf(pair.first, 3, 8));
  EXPECT_EQ(kBlack, pixelOf(pair.first, 12, 8));
  EXPECT_EQ(kBlack, pixelOf(pair.second, 3, 8));
  EXPECT_EQ(kWhite, pixelOf(pair.second, 12, 8));
  // The icon stays the caller's.
  ICONINFO info = {};
  EXPECT_TRUE(GetIconInfo(hIcon, &info));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(hIcon);
}

TEST_F(IconCache, AMonochromeIconKeepsImageAndMaskInOneBitmap) {
  std::string strExt = "pwkmono";
  HICON hIcon = makeHalfWhiteMonochromeIcon();
  ASSERT_NE(static_cast<HICON>(NULL), hIcon);
  m_lpIcons->setBmpIconForExt(strExt, hIcon, 32, 32);
  DestroyIcon(hIcon);
  BMPPAIR pair(NULL, NULL);
  ASSERT_TRUE(m_lpIcons->getBmpIconForFile("x.pwkmono", pair));
  EXPECT_EQ(kWhite, pixelOf(pair.first, 3, 8));
  EXPECT_EQ(kBlack, pixelOf(pair.first, 12, 8));
  EXPECT_EQ(kBlack, pixelOf(pair.second, 3, 8));
  EXPECT_EQ(kWhite, pixelOf(pair.second, 12, 8));
}

TEST_F(IconCache, ReplacingAndReleasingFreeTheBitmaps) {
  HICON hIcon = makeHalfRedIcon();
  std::string strExt = "pwkagain";
  m_lpIcons->setBmpIconForExt(strExt, hIcon, 32, 32);
  const unsigned long nOnce = testsupport::countGdiObjects();
  m_lpIcons->setBmpIconForExt(strExt, hIcon, 32, 32);
  EXPECT_EQ(nOnce, testsupport::countGdiObjects());

  m_lpIcons->releaseAll();
  EXPECT_FALSE(m_lpIcons->isCached("pwkagain"));
  const unsigned long nEmpty = testsupport::countGdiObjects();
  std::string strOther = "pwkother";
  m_lpIcons->setBmpIconForExt(strExt, hIcon, 32, 32);
  m_lpIcons->setBmpIconForExt(strOther, hIcon, 32, 32);
  EXPECT_EQ(nEmpty + 4, testsupport::countGdiObjects());
  m_lpIcons->releaseAll();
  EXPECT_EQ(nEmpty, testsupport::countGdiObjects());
  DestroyIcon(hIcon);
}

// The shell's small icons are 20 x 20 at 120 DPI: the whole icon is scaled
// down, not its top-left 16 x 16 cut out, whatever size the caller guessed.
TEST_F(IconCache, IconsOfAnotherSizeAreScaledWhole) {
  const COLORREF kBlue = RGB(0, 0, 255);
  COLORREF columns[20];
  for (int x = 0; x < 20; ++x) columns[x] = x < 16 ? kRed : kBlue;
  HICON hIcon = makeColumnIcon(20, columns);
  std::string strExt = "pwktwenty";
  m_lpIcons->setBmpIconForExt(strExt, hIcon, 16, 16);
  DestroyIcon(hIcon);
  BMPPAIR pair(NULL, NULL);
  ASSERT_TRUE(m_lpIcons->getBmpIconForFile("x.pwktwenty", pair));
  EXPECT_EQ(kRed, pixelOf(pair.first, 2, 8));
  EXPECT_EQ(kBlue, pixelOf(pair.first, 15, 8));
}

// Shrinking keeps colours as they are: one source pixel per target pixel,
// not the AND of the pixels dropped (red AND green would be black).
TEST_F(IconCache, ShrinkingKeepsTheColoursOfTheIcon) {
  const COLORREF kGreen = RGB(0, 255, 0);
  COLORREF columns[32];
  for (int x = 0; x < 32; ++x) columns[x] = x % 2 == 0 ? kRed : kGreen;
  HICON hIcon = makeColumnIcon(32, columns);
  std::string strExt = "pwkstripes";
  m_lpIcons->setBmpIconForExt(strExt, hIcon, 32, 32);
  DestroyIcon(hIcon);
  BMPPAIR pair(NULL, NULL);
  ASSERT_TRUE(m_lpIcons->getBmpIconForFile("x.pwkstripes", pair));
  for (int x = 0; x < 16; ++x) {
    const COLORREF colour = pixelOf(pair.first, x, 8);
    EXPECT_TRUE(colour == kRed || colour == kGreen) << "column " << x << ": " << std::hex << colour;
  }
}
