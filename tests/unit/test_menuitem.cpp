#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "menus/menuitem.h"
#include "menutest_support.h"

namespace {

const int kWidth = 200;
const int kHeight = 24;
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);

// A 32-bit canvas whose pixels can be read back exactly.
class Canvas {
 public:
  Canvas() {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_hDC = CreateCompatibleDC(NULL);
    m_hBitmap = CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, &m_lpBits, NULL, 0);
    m_hOld = SelectObject(m_hDC, m_hBitmap);
    fill(kMagenta);
  }
  ~Canvas() {
    SelectObject(m_hDC, m_hOld);
    DeleteObject(m_hBitmap);
    DeleteDC(m_hDC);
  }
  HDC dc() const { return m_hDC; }
  // Each draw starts from a context without clipping, as each paint of a
  // menu does.
  void fill(COLORREF colour) {
    SelectClipRgn(m_hDC, NULL);
    HBRUSH hBrush = CreateSolidBrush(colour);
    const RECT whole = {0, 0, kWidth, kHeight};
    FillRect(m_hDC, &whole, hBrush);
    DeleteObject(hBrush);
  }
  COLORREF at(int x, int y) const {
    GdiFlush();
    const DWORD p = static_cast<const DWORD*>(m_lpBits)[y * kWidth + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  std::vector<COLORREF> pixels() const {
    std::vector<COLORREF> all;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) all.push_back(at(x, y));
    return all;
  }

 private:
  HDC m_hDC;
  HBITMAP m_hBitmap;
  HGDIOBJ m_hOld;
  void* m_lpBits = NULL;
};

// A 16 x 16 icon pair: left half opaque green, right half transparent.
class HalfGreenPair {
 public:
  HalfGreenPair() {
    HDC hScreen = GetDC(NULL);
    m_Pair.first = CreateCompatibleBitmap(hScreen, 16, 16);
    m_Pair.second = CreateCompatibleBitmap(hScreen, 16, 16);
    HDC hMemory = CreateCompatibleDC(hScreen);
    const RECT whole = {0, 0, 16, 16};
    const RECT left = {0, 0, 8, 16};
    HGDIOBJ hOld = SelectObject(hMemory, m_Pair.first);
    FillRect(hMemory, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HBRUSH hGreen = CreateSolidBrush(kGreen);
    FillRect(hMemory, &left, hGreen);
    DeleteObject(hGreen);
    SelectObject(hMemory, m_Pair.second);
    FillRect(hMemory, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FillRect(hMemory, &left, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(hMemory, hOld);
    DeleteDC(hMemory);
    ReleaseDC(NULL, hScreen);
  }
  ~HalfGreenPair() {
    DeleteObject(m_Pair.first);
    DeleteObject(m_Pair.second);
  }
  const BMPPAIR& pair() const { return m_Pair; }

 private:
  BMPPAIR m_Pair;
};

DRAWITEMSTRUCT drawRequest(HDC hDC, CMenuItem& rItem, UINT nState, UINT nAction = ODA_DRAWENTIRE) {
  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_MENU;
  draw.itemID = 1;
  draw.itemAction = nAction;
  draw.itemState = nState;
  draw.hDC = hDC;
  draw.rcItem.left = 0;
  draw.rcItem.top = 0;
  draw.rcItem.right = kWidth;
  draw.rcItem.bottom = kHeight;
  draw.itemData = reinterpret_cast<ULONG_PTR>(&rItem);
  return draw;
}

class MenuItemDrawing : public ::testing::Test {
 protected:
  void SetUp() override { menutest::setUpMenuResources(); }

  void draw(CMenuItem& rItem, UINT nState, UINT nAction = ODA_DRAWENTIRE) {
    SelectClipRgn(m_Canvas.dc(), NULL);
    DRAWITEMSTRUCT request = drawRequest(m_Canvas.dc(), rItem, nState, nAction);
    EXPECT_EQ(TRUE, rItem.handleDraw(NULL, &request));
  }

  Canvas m_Canvas;
};

// The arrow lies in the last columns of an entry of kWidth, at 96 DPI.
const int kArrowArea = kWidth - 18;

}  // namespace

TEST(MenuItemMeasure, LabelPlusMarginsAndSixteenMoreForAnArrow) {
  menutest::setUpMenuResources();
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
  HFONT hFont = CreateFontIndirectA(&metrics.lfMenuFont);
  HDC hScreen = GetDC(NULL);
  HGDIOBJ hOld = SelectObject(hScreen, hFont);
  const std::string strLabel = "Quarterly report.xlsx";
  SIZE size = {};
  GetTextExtentPoint32A(hScreen, strLabel.c_str(), static_cast<int>(strLabel.size()), &size);
  SelectObject(hScreen, hOld);
  ReleaseDC(NULL, hScreen);
  DeleteObject(hFont);

  CMenuItem file;
  file.setText(strLabel);
  MEASUREITEMSTRUCT measure = {};
  EXPECT_EQ(TRUE, file.handleMeasure(NULL, &measure));
  EXPECT_EQ(static_cast<UINT>(size.cx + 25), measure.itemWidth);
  EXPECT_EQ(static_cast<UINT>(size.cy + 6), measure.itemHeight);

  CMenuItem folder;
  folder.setText(strLabel);
  folder.setHasSubMenu(true);
  MEASUREITEMSTRUCT folderMeasure = {};
  folder.handleMeasure(NULL, &folderMeasure);
  EXPECT_EQ(measure.itemWidth + 16, folderMeasure.itemWidth);
  EXPECT_EQ(measure.itemHeight, folderMeasure.itemHeight);
}

// The system's arrow, in the row's text colour on its background: the
// menu text colour on the menu colour, the highlight text colour on the
// highlight, whatever those are (high-contrast schemes paint white on
// black), and nothing of another colour around it.
TEST_F(MenuItemDrawing, ArrowIsDrawnInTheRowsTextColour) {
  CMenuItem folder;
  folder.setText("Projects");
  folder.setHasSubMenu(true);
  struct Case {
    UINT nState;
    COLORREF background;
    COLORREF arrow;
  };
  const Case cases[] = {
      {0, GetSysColor(COLOR_MENU), GetSysColor(COLOR_MENUTEXT)},
      {ODS_SELECTED, GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nState);
    m_Canvas.fill(kMagenta);
    draw(folder, c.nState);
    EXPECT_EQ(c.background, m_Canvas.at(kWidth - 1, kHeight - 1));
    int nArrowPixels = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = kArrowArea; x < kWidth; ++x) {
        const COLORREF pixel = m_Canvas.at(x, y);
        EXPECT_TRUE(pixel == c.background || pixel == c.arrow) << x << "," << y;
        if (pixel == c.arrow) ++nArrowPixels;
      }
    }
    EXPECT_GT(nArrowPixels, 8);
  }
}

TEST_F(MenuItemDrawing, LabelAndIconLieOverTheBackground) {
  HalfGreenPair icon;
  CMenuItem file;
  file.setText("WWWW");
  file.setIcon(icon.pair());
  for (UINT nState : {0u, static_cast<UINT>(ODS_SELECTED)}) {
    SCOPED_TRACE(nState);
    const COLORREF background = GetSysColor(nState ? COLOR_HIGHLIGHT : COLOR_MENU);
    const COLORREF text = GetSysColor(nState ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    m_Canvas.fill(kMagenta);
    draw(file, nState);
    // Icon at (2, 2): opaque half green, transparent half the background.
    EXPECT_EQ(kGreen, m_Canvas.at(2 + 3, 2 + 8));
    EXPECT_EQ(background, m_Canvas.at(2 + 12, 2 + 8));
    EXPECT_EQ(background, m_Canvas.at(1, 2 + 8));
    // The label starts 20 pixels in; nothing of it lies left of that.
    int nTextPixels = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 18; x < 20; ++x) EXPECT_EQ(background, m_Canvas.at(x, y)) << x << "," << y;
      for (int x = 20; x < 80; ++x)
        if (m_Canvas.at(x, y) == text) ++nTextPixels;
    }
    EXPECT_GT(nTextPixels, 10);
    // No arrow for a file entry.
    for (int y = 0; y < kHeight; ++y)
      for (int x = kArrowArea; x < kWidth; ++x) EXPECT_EQ(background, m_Canvas.at(x, y));
  }
}

TEST_F(MenuItemDrawing, AnEntryWithoutIconDrawsNone) {
  CMenuItem file;
  file.setText("no icon");
  draw(file, 0);
  for (int y = 2; y < 18; ++y)
    for (int x = 2; x < 18; ++x)
      EXPECT_EQ(GetSysColor(COLOR_MENU), m_Canvas.at(x, y)) << x << "," << y;
}

TEST_F(MenuItemDrawing, DisabledEntriesLookLikeEnabledOnesAndEveryRequestPaintsAll) {
  HalfGreenPair icon;
  CMenuItem folder;
  folder.setText("Shared");
  folder.setIcon(icon.pair());
  folder.setHasSubMenu(true);
  for (UINT nSelected : {0u, static_cast<UINT>(ODS_SELECTED)}) {
    m_Canvas.fill(kMagenta);
    draw(folder, nSelected);
    const std::vector<COLORREF> enabled = m_Canvas.pixels();
    // A selection change alone still repaints background, label, icon, arrow.
    m_Canvas.fill(kMagenta);
    draw(folder, nSelected | ODS_DISABLED | ODS_GRAYED, ODA_SELECT);
    EXPECT_TRUE(enabled == m_Canvas.pixels()) << "state " << nSelected;
    for (COLORREF pixel : enabled) ASSERT_NE(kMagenta, pixel);
  }
}

TEST_F(MenuItemDrawing, TheDeviceContextIsHandedBackAsItCame) {
  CMenuItem folder;
  folder.setText("Restore");
  folder.setHasSubMenu(true);
  SetTextColor(m_Canvas.dc(), RGB(1, 2, 3));
  SetBkColor(m_Canvas.dc(), RGB(4, 5, 6));
  const HGDIOBJ hFont = GetCurrentObject(m_Canvas.dc(), OBJ_FONT);
  const HGDIOBJ hBitmap = GetCurrentObject(m_Canvas.dc(), OBJ_BITMAP);
  draw(folder, ODS_SELECTED);
  EXPECT_EQ(RGB(1, 2, 3), GetTextColor(m_Canvas.dc()));
  EXPECT_EQ(RGB(4, 5, 6), GetBkColor(m_Canvas.dc()));
  EXPECT_EQ(hFont, GetCurrentObject(m_Canvas.dc(), OBJ_FONT));
  EXPECT_EQ(hBitmap, GetCurrentObject(m_Canvas.dc(), OBJ_BITMAP));
}

// The system draws its own submenu arrow into the context after the entry;
// a finished folder entry is clipped out so that only ours shows. A file
// entry leaves the context as it came.
TEST_F(MenuItemDrawing, AFolderEntryKeepsTheSystemsArrowOut) {
  for (bool bFolder : {true, false}) {
    CMenuItem item;
    item.setText("Clip");
    item.setHasSubMenu(bFolder);
    draw(item, 0);
    EXPECT_EQ(!bFolder, PtVisible(m_Canvas.dc(), kWidth - 8, kHeight / 2) != FALSE) << bFolder;
    EXPECT_EQ(!bFolder, PtVisible(m_Canvas.dc(), 0, 0) != FALSE) << bFolder;
  }
}
