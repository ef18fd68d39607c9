#include "menuitem.h"

#include <algorithm>
#include <climits>
#include <cstddef>

#include "../diag/dpi.h"
#include "../diag/pathtext.h"
#include "../diag/scoped.h"
#include "../diag/workarea.h"

namespace {

// The pixel measures of an entry at 100% (96 DPI); every one of them is
// scaled to the DPI of the monitor the menu opens on.
const int kIconMargin = 2;
const int kIconGap = 2;
const int kTextTop = 2;
const int kSpareRight = 5;
const int kArrowWidth = 16;
const int kArrowRight = 2;
const int kHeightPadding = 6;
// An entry is at most this share of the work area wide.
const int kWorkAreaShare = 3;
// (brush XOR destination) AND source, XOR brush: the brush where the source
// is black, the destination where it is white. With the arrow drawn black
// on white, that paints the arrow in the brush's colour on any background.
const DWORD kRopBrushWhereBlack = 0x00B8074A;

}  // namespace

HFONT CMenuItem::S_hMenuFont = NULL;
std::map<UINT, HFONT> CMenuItem::S_MenuFonts;
std::map<int, HBITMAP> CMenuItem::S_ArrowMasks;
HDC CMenuItem::S_hMeasureDC = NULL;
HGDIOBJ CMenuItem::S_hMeasureDCFont = NULL;
int CMenuItem::S_nWidthCap = INT_MAX;
CMenuItem::ENTRYMETRICS CMenuItem::S_Metrics = CMenuItem::S_metricsFor(dpi::kBase, 16);

std::unordered_set<const CMenuItem*> CMenuItem::S_LiveItems;

CMenuItem::CMenuItem() : m_hBmpImage(NULL), m_hBmpMask(NULL), m_bHasSubMenu(false) {
  KVX_CALLSTACK_TRACK;
  S_LiveItems.insert(this);
}

CMenuItem::~CMenuItem() {
  KVX_CALLSTACK_TRACK;
  S_LiveItems.erase(this);
}

CMenuItem* CMenuItem::S_fromItemData(ULONG_PTR nItemData) {
  KVX_CALLSTACK_TRACK;
  CMenuItem* lpItem = reinterpret_cast<CMenuItem*>(nItemData);
  return S_LiveItems.count(lpItem) != 0 ? lpItem : NULL;
}

void CMenuItem::setText(const std::string& rText) {
  KVX_CALLSTACK_TRACK;
  m_strText = rText;
  m_strLabel = rText;
  m_strWideLabel.clear();
}

void CMenuItem::setIcon(const BMPPAIR& rPair) {
  KVX_CALLSTACK_TRACK;
  m_hBmpImage = rPair.first;
  m_hBmpMask = rPair.second;
}

void CMenuItem::setHasSubMenu(bool bHasSubMenu) {
  KVX_CALLSTACK_TRACK;
  m_bHasSubMenu = bHasSubMenu;
}

CMenuItem::ENTRYMETRICS CMenuItem::S_metricsFor(UINT nDpi, int nIconSize) {
  KVX_CALLSTACK_TRACK;
  ENTRYMETRICS metrics;
  metrics.nDpi = nDpi;
  metrics.nIconSize = nIconSize;
  metrics.nIconMargin = dpi::scale(kIconMargin, nDpi);
  metrics.nTextLeft = metrics.nIconMargin + nIconSize + dpi::scale(kIconGap, nDpi);
  metrics.nTextTop = dpi::scale(kTextTop, nDpi);
  metrics.nSpareRight = dpi::scale(kSpareRight, nDpi);
  metrics.nArrowWidth = dpi::scale(kArrowWidth, nDpi);
  metrics.nArrowRight = dpi::scale(kArrowRight, nDpi);
  metrics.nArrowSize = dpi::systemMetric(SM_CXMENUCHECK, nDpi);
  metrics.nHeightPadding = dpi::scale(kHeightPadding, nDpi);
  return metrics;
}

// The entries of the first menu are measured at the system's DPI until a
// menu says where it opens. A menu of a thousand entries is measured entry
// by entry as it opens: one context with the font in it, kept, spares a
// device context and two selections per entry, which is most of the time a
// big folder takes to show.
void CMenuItem::S_loadFont() {
  KVX_CALLSTACK_TRACK;
  S_hMeasureDC = CreateCompatibleDC(NULL);
  S_useDpi(dpi::system());
}

// Without the system's menu font the entries use whatever font the device
// context has; nothing else depends on it. One font per DPI met, kept.
HFONT CMenuItem::S_menuFontFor(UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  const std::map<UINT, HFONT>::const_iterator it = S_MenuFonts.find(nDpi);
  if (it != S_MenuFonts.end()) return it->second;
  NONCLIENTMETRICSW metrics;
  const HFONT hFont = dpi::nonClientMetrics(metrics, nDpi) ? CreateFontIndirectW(&metrics.lfMenuFont) : NULL;
  if (hFont != NULL) S_MenuFonts[nDpi] = hFont;
  return hFont;
}

void CMenuItem::S_useDpi(UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  S_Metrics = S_metricsFor(nDpi, dpi::systemMetric(SM_CXSMICON, nDpi));
  S_hMenuFont = S_menuFontFor(nDpi);
  if (S_hMeasureDC == NULL || S_hMenuFont == NULL) return;
  const HGDIOBJ hOld = SelectObject(S_hMeasureDC, S_hMenuFont);
  if (S_hMeasureDCFont == NULL) S_hMeasureDCFont = hOld;
}

void CMenuItem::S_unloadShared() {
  KVX_CALLSTACK_TRACK;
  if (S_hMeasureDC != NULL) {
    if (S_hMeasureDCFont != NULL) SelectObject(S_hMeasureDC, S_hMeasureDCFont);
    DeleteDC(S_hMeasureDC);
  }
  S_hMeasureDC = NULL;
  S_hMeasureDCFont = NULL;
  for (const std::pair<const UINT, HFONT>& rFont : S_MenuFonts) DeleteObject(rFont.second);
  S_MenuFonts.clear();
  S_hMenuFont = NULL;
  for (const std::pair<const int, HBITMAP>& rMask : S_ArrowMasks) DeleteObject(rMask.second);
  S_ArrowMasks.clear();
}

// Margin, icon, gap and label, 5 pixels to spare, and 16 more for an arrow
// (at 100%); no wider than the cap. A name of 200 characters would
// otherwise open a menu wider than the screen, over its parent, and cut off
// its end. The row holds the label and the icon with its margins.
LRESULT CMenuItem::handleMeasure(HWND hWnd, MEASUREITEMSTRUCT* lpMeasure) {
  KVX_CALLSTACK_TRACK;
  const ENTRYMETRICS& rMetrics = S_Metrics;
  const int nFrame =
      rMetrics.nTextLeft + rMetrics.nSpareRight + (m_bHasSubMenu ? rMetrics.nArrowWidth : 0);
  m_strLabel = m_strText;
  m_strWideLabel = wideText(m_strLabel);
  SIZE size = S_measureText(hWnd, m_strWideLabel);
  const int nRoom = S_nWidthCap - nFrame;
  if (size.cx > nRoom) size = fitLabel(hWnd, nRoom);
  lpMeasure->itemWidth = size.cx + nFrame;
  lpMeasure->itemHeight = std::max(size.cy + rMetrics.nHeightPadding,
                                   static_cast<LONG>(rMetrics.nIconSize + 2 * rMetrics.nIconMargin));
  return TRUE;
}

// The most characters whose shortened label fits nRoom pixels, found by
// halving: a few measurements, and only for the rare long name.
SIZE CMenuItem::fitLabel(HWND hWnd, int nRoom) {
  KVX_CALLSTACK_TRACK;
  std::string::size_type nFits = 0;
  std::string::size_type nTooMany = m_strText.size();
  while (nTooMany - nFits > 1) {
    const std::string::size_type nKeep = nFits + (nTooMany - nFits) / 2;
    if (S_measureText(hWnd, wideText(shortenInMiddle(m_strText, nKeep))).cx <= nRoom)
      nFits = nKeep;
    else
      nTooMany = nKeep;
  }
  m_strLabel = shortenInMiddle(m_strText, nFits);
  m_strWideLabel = wideText(m_strLabel);
  return S_measureText(hWnd, m_strWideLabel);
}

// Measured as it is drawn, in UTF-16.
SIZE CMenuItem::S_measureText(HWND hWnd, const std::wstring& rWideText) {
  KVX_CALLSTACK_TRACK;
  SIZE size = {0, 0};
  const int nLength = static_cast<int>(rWideText.size());
  if (S_hMeasureDC != NULL) {
    GetTextExtentPoint32W(S_hMeasureDC, rWideText.c_str(), nLength, &size);
  } else {
    const CWindowDC windowDC(hWnd);
    const CSelectObject font(windowDC.get(), S_hMenuFont);
    GetTextExtentPoint32W(windowDC.get(), rWideText.c_str(), nLength, &size);
  }
  return size;
}

void CMenuItem::S_prepareAt(const POINT& rPoint) {
  KVX_CALLSTACK_TRACK;
  const HMONITOR hMonitor = MonitorFromPoint(rPoint, MONITOR_DEFAULTTONEAREST);
  const RECT rcWork = workAreaOf(hMonitor);
  S_nWidthCap = (rcWork.right - rcWork.left) / kWorkAreaShare;
  const UINT nDpi = dpi::ofMonitor(hMonitor);
  if (nDpi != S_Metrics.nDpi) S_useDpi(nDpi);
}

// The whole entry is painted on every request, whatever its action, and
// disabled entries look like enabled ones: the controller disables entries
// while a context menu is up without wanting them to look different.
LRESULT CMenuItem::handleDraw(HWND, DRAWITEMSTRUCT* lpDraw) {
  KVX_CALLSTACK_TRACK;
  const HDC hDC = lpDraw->hDC;
  const RECT& rItem = lpDraw->rcItem;
  const bool bSelected = (lpDraw->itemState & ODS_SELECTED) != 0;
  const CSelectObject font(hDC, S_hMenuFont);
  const COLORREF oldText =
      SetTextColor(hDC, GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  const COLORREF oldBack = SetBkColor(hDC, GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_MENU));

  // One call fills the background and writes the label, in UTF-16 (see
  // wideText): the label may be in any script.
  if (m_strWideLabel.empty()) m_strWideLabel = wideText(m_strLabel);
  ExtTextOutW(hDC, rItem.left + S_Metrics.nTextLeft, rItem.top + S_Metrics.nTextTop, ETO_OPAQUE,
              &rItem, m_strWideLabel.c_str(), static_cast<UINT>(m_strWideLabel.size()), NULL);
  {
    const CMemoryDC memoryDC(hDC);
    drawIcon(hDC, memoryDC.get(), rItem);
    if (m_bHasSubMenu) drawArrow(hDC, memoryDC.get(), rItem, bSelected);
  }
  SetTextColor(hDC, oldText);
  SetBkColor(hDC, oldBack);
  // The system draws its own submenu arrow into the same context once this
  // returns, over ours; keeping it out of the finished entry leaves one arrow.
  if (m_bHasSubMenu) ExcludeClipRect(hDC, rItem.left, rItem.top, rItem.right, rItem.bottom);
  return TRUE;
}

// Mask with AND, then image with XOR: the icon lies over the background
// without one of its own, at the icon size of the entry's DPI, centred in
// the row. An entry whose file had no icon shows none.
void CMenuItem::drawIcon(HDC hDC, HDC hMemoryDC, const RECT& rItem) {
  KVX_CALLSTACK_TRACK;
  const int nSize = S_Metrics.nIconSize;
  const int x = rItem.left + S_Metrics.nIconMargin;
  const int y = rItem.top + (rItem.bottom - rItem.top - nSize) / 2;
  if (m_hBmpMask != NULL) {
    const CSelectObject mask(hMemoryDC, m_hBmpMask);
    BitBlt(hDC, x, y, nSize, nSize, hMemoryDC, 0, 0, SRCAND);
  }
  if (m_hBmpImage != NULL) {
    const CSelectObject image(hMemoryDC, m_hBmpImage);
    BitBlt(hDC, x, y, nSize, nSize, hMemoryDC, 0, 0, SRCINVERT);
  }
}

// The system's own submenu arrow, at the size of the entry's DPI, laid
// over the row in the row's text colour: visible on any menu colour,
// high-contrast schemes included. The mask is the same whatever the
// colours, so it is drawn once per size: a bitmap made and drawn for every
// row cost a group menu a sixth of its opening time.
void CMenuItem::drawArrow(HDC hDC, HDC hMemoryDC, const RECT& rItem, bool bSelected) {
  KVX_CALLSTACK_TRACK;
  const int nSize = S_Metrics.nArrowSize;
  const HBITMAP hMask = S_arrowMask(nSize);
  if (hMask == NULL) return;
  const CSelectObject arrowSource(hMemoryDC, hMask);
  const CSelectObject paint(hDC, GetSysColorBrush(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  const COLORREF oldText = SetTextColor(hDC, RGB(0, 0, 0));
  const COLORREF oldBack = SetBkColor(hDC, RGB(255, 255, 255));
  BitBlt(hDC, rItem.right - S_Metrics.nArrowRight - nSize,
         rItem.top + (rItem.bottom - rItem.top - nSize) / 2, nSize, nSize, hMemoryDC, 0, 0,
         kRopBrushWhereBlack);
  SetTextColor(hDC, oldText);
  SetBkColor(hDC, oldBack);
}

// Drawn black on white, as the system draws menu images, into a bitmap of
// its own.
HBITMAP CMenuItem::S_arrowMask(int nSize) {
  KVX_CALLSTACK_TRACK;
  const std::map<int, HBITMAP>::const_iterator it = S_ArrowMasks.find(nSize);
  if (it != S_ArrowMasks.end()) return it->second;
  CGdiObject mask(CreateBitmap(nSize, nSize, 1, 1, NULL));
  const CMemoryDC memoryDC(NULL);
  if (mask.get() == NULL || memoryDC.get() == NULL) return NULL;
  {
    const CSelectObject select(memoryDC.get(), mask.get());
    RECT rcArrow = {0, 0, nSize, nSize};
    if (!DrawFrameControl(memoryDC.get(), &rcArrow, DFC_MENU, DFCS_MENUARROW)) return NULL;
  }
  const HBITMAP hMask = static_cast<HBITMAP>(mask.detach());
  S_ArrowMasks[nSize] = hMask;
  return hMask;
}

int CMenuItem::S_iconSize() {
  KVX_CALLSTACK_TRACK;
  return S_Metrics.nIconSize;
}
