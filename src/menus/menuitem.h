#ifndef PATHWICK_MENUS_MENUITEM_H
#define PATHWICK_MENUS_MENUITEM_H

#include <windows.h>

#include <map>
#include <string>
#include <unordered_set>

#include "../diag/callstack.h"
#include "iconmgr.h"

// One owner-drawn entry of the Folder Menu (a root, folder or file): its
// label, the pair of bitmaps of its 16 x 16 icon and whether it opens a
// submenu. It answers WM_MEASUREITEM and WM_DRAWITEM for its entry; a label
// too wide for a third of the work area is drawn shortened in the middle,
// while its text stays whole. The bitmaps are borrowed from the icon cache
// or the shared folder bitmaps.
class CMenuItem {
 public:
  CMenuItem();
  ~CMenuItem();

  void setText(const std::string& rText);
  const std::string& getTextRef() const {
    KVX_CALLSTACK_TRACK;
    return m_strText;
  }
  void setIcon(const BMPPAIR& rPair);
  // Root and folder entries: drawn with an arrow and measured wider.
  void setHasSubMenu(bool bHasSubMenu);

  LRESULT handleMeasure(HWND hWnd, MEASUREITEMSTRUCT* lpMeasure);
  LRESULT handleDraw(HWND hWnd, DRAWITEMSTRUCT* lpDraw);

  // The entry whose item data this is, or NULL when the data is not one of
  // ours: the shell's extensions draw entries of their own through the same
  // window, with whatever item data they chose.
  static CMenuItem* S_fromItemData(ULONG_PTR nItemData);

  // Entries measured and drawn from now on are for the monitor that holds
  // rPoint: at most a third of its work area wide, and every pixel measure
  // (font, icon size, margins, arrow) at its DPI. Set where a menu opens,
  // once for all its entries and submenus rather than asked for each of
  // thousands of entries. Until then, the system's DPI and no cap.
  static void S_prepareAt(const POINT& rPoint);
  // The side of the icons entries are drawn with now: the small-icon size
  // of the DPI they are drawn at.
  static int S_iconSize();

  // Shared by every entry; loaded once at start-up, kept until the end.
  static void S_loadFont();
  // The fonts and the arrow masks of every DPI met.
  static void S_unloadShared();

  CMenuItem(const CMenuItem&) = delete;
  CMenuItem& operator=(const CMenuItem&) = delete;

 private:
  SIZE fitLabel(HWND hWnd, int nRoom);
  void drawIcon(HDC hDC, HDC hMemoryDC, const RECT& rItem);
  void drawArrow(HDC hDC, HDC hMemoryDC, const RECT& rItem, bool bSelected);

  static SIZE S_measureText(HWND hWnd, const std::wstring& rWideText);

  // The pixel measures of an entry at one DPI.
  struct ENTRYMETRICS {
    UINT nDpi;
    int nIconSize;
    int nIconMargin;
    int nTextLeft;
    int nTextTop;
    int nSpareRight;
    int nArrowWidth;
    int nArrowRight;
    int nArrowSize;
    int nHeightPadding;
  };
  static ENTRYMETRICS S_metricsFor(UINT nDpi, int nIconSize);
  static void S_useDpi(UINT nDpi);
  static HFONT S_menuFontFor(UINT nDpi);

  static ENTRYMETRICS S_Metrics;
  // The menu font of each DPI met, and the one in use.
  static std::map<UINT, HFONT> S_MenuFonts;
  // The submenu arrow, black on white, of each side met.
  static HBITMAP S_arrowMask(int nSize);
  static std::map<int, HBITMAP> S_ArrowMasks;
  static HFONT S_hMenuFont;
  // Measures with the menu font; made and deleted with it.
  static HDC S_hMeasureDC;
  static HGDIOBJ S_hMeasureDCFont;
  static int S_nWidthCap;
  // Every entry alive, so that item data is never taken on trust.
  static std::unordered_set<const CMenuItem*> S_LiveItems;

  HBITMAP m_hBmpImage;
  HBITMAP m_hBmpMask;
  std::string m_strText;
  // The text as drawn: the whole text, or as much of it as fits; made at
  // each measuring, with the UTF-16 the drawing takes (empty until made).
  std::string m_strLabel;
  std::wstring m_strWideLabel;
  bool m_bHasSubMenu;
};

#endif
