#include "menuitem.h"

#include <climits>
#include <cstddef>

#include "../resources/resource.h"
#include "../diag/pathtext.h"
#include "../diag/scoped.h"
#include "../diag/workarea.h"

namespace {

// The menu font lies within the first 340 bytes of NONCLIENTMETRICS; asking
// for that older layout works on every version of the system.
const UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
static_assert(offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth) == 340,
              "NONCLIENTMETRICS without its padded border is 340 bytes");

const int kIconSize = 16;
const int kIconMargin = 2;
const int kTextLeft = 20;
const int kTextTop = 2;
const int kSpareRight = 5;
const int kArrowWidth = 16;
const int kArrowRightOffset = 14;
const int kArrowTop = 1;
const int kHeightPadding = 6;
// An entry is at most this share of the work area wide.
const int kWorkAreaShare = 3;
// (NOT source) OR destination: the black arrow turns white on the highlight.
const DWORD kRopNotSourceOrDest = 0x00BB00CE;

}  // namespace

HBITMAP CMenuItem::S_BmpArrow = NULL;
HFONT CMenuItem::S_hMenuFont = NULL;
HDC CMenuItem::S_hMeasureDC = NULL;
HGDIOBJ CMenuItem::S_hMeasureDCFont = NULL;
int CMenuItem::S_nWidthCap = INT_MAX;

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

void CMenuItem::S_loadArrow(HINSTANCE hInstance) {
  KVX_CALLSTACK_TRACK;
  S_BmpArrow = LoadBitmapA(hInstance, MAKEINTRESOURCEA(IDB_ARROW));
}

void CMenuItem::S_unloadArrow() {
  KVX_CALLSTACK_TRACK;
  if (S_BmpArrow != NULL) DeleteObject(S_BmpArrow);
  S_BmpArrow = NULL;
}

// Without the system's menu font the entries use whatever font the device
// context has; nothing else depends on it.
void CMenuItem::S_loadFont() {
  KVX_CALLSTACK_TRACK;
  NONCLIENTMETRICSA metrics;
  ZeroMemory(&metrics, sizeof(metrics));
  metrics.cbSize = kNonClientMetricsSize;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0))
    S_hMenuFont = CreateFontIndirectA(&metrics.lfMenuFont);
  // A menu of a thousand entries is measured entry by entry as it opens:
  // one context with the font in it, kept, spares a device context and two
  // selections per entry, which is most of the time a big folder takes to
  // show.
  if (S_hMenuFont == NULL) return;
  S_hMeasureDC = CreateCompatibleDC(NULL);
  if (S_hMeasureDC != NULL) S_hMeasureDCFont = SelectObject(S_hMeasureDC, S_hMenuFont);
}

void CMenuItem::S_unloadFont() {
  KVX_CALLSTACK_TRACK;
  if (S_hMeasureDC != NULL) {
    SelectObject(S_hMeasureDC, S_hMeasureDCFont);
    DeleteDC(S_hMeasureDC);
  }
  S_hMeasureDC = NULL;
  S_hMeasureDCFont = NULL;
  if (S_hMenuFont != NULL) DeleteObject(S_hMenuFont);
  S_hMenuFont = NULL;
}

// Margin, icon, gap and label, 5 pixels to spare, and 16 more for an arrow;
// no wider than the cap. A name of 200 characters would otherwise open a
// menu wider than the screen, over its parent, and cut off its end.
LRESULT CMenuItem::handleMeasure(HWND hWnd, MEASUREITEMSTRUCT* lpMeasure) {
  KVX_CALLSTACK_TRACK;
  const int nFrame = kTextLeft + kSpareRight + (m_bHasSubMenu ? kArrowWidth : 0);
  m_strLabel = m_strText;
  SIZE size = S_measureText(hWnd, m_strLabel);
  const int nRoom = S_nWidthCap - nFrame;
  if (size.cx > nRoom) size = fitLabel(hWnd, nRoom);
  m_strWideLabel = wideText(m_strLabel);
  lpMeasure->itemWidth = size.cx + nFrame;
  lpMeasure->itemHeight = size.cy + kHeightPadding;
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
    if (S_measureText(hWnd, shortenInMiddle(m_strText, nKeep)).cx <= nRoom)
      nFits = nKeep;
    else
      nTooMany = nKeep;
  }
  m_strLabel = shortenInMiddle(m_strText, nFits);
  return S_measureText(hWnd, m_strLabel);
}

// Measured as it is drawn, in UTF-16.
SIZE CMenuItem::S_measureText(HWND hWnd, const std::string& rText) {
  KVX_CALLSTACK_TRACK;
  SIZE size = {0, 0};
  const std::wstring strWide = wideText(rText);
  const int nLength = static_cast<int>(strWide.size());
  if (S_hMeasureDC != NULL) {
    GetTextExtentPoint32W(S_hMeasureDC, strWide.c_str(), nLength, &size);
  } else {
    const CWindowDC windowDC(hWnd);
    const CSelectObject font(windowDC.get(), S_hMenuFont);
    GetTextExtentPoint32W(windowDC.get(), strWide.c_str(), nLength, &size);
  }
  return size;
}

void CMenuItem::S_capWidthAt(const POINT& rPoint) {
  KVX_CALLSTACK_TRACK;
  const RECT rcWork = workAreaOf(MonitorFromPoint(rPoint, MONITOR_DEFAULTTONEAREST));
  S_nWidthCap = (rcWork.right - rcWork.left) / kWorkAreaShare;
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
  ExtTextOutW(hDC, rItem.left + kTextLeft, rItem.top + kTextTop, ETO_OPAQUE, &rItem,
              m_strWideLabel.c_str(), static_cast<UINT>(m_strWideLabel.size()), NULL);
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
// without one of its own. An entry whose file had no icon shows none.
void CMenuItem::drawIcon(HDC hDC, HDC hMemoryDC, const RECT& rItem) {
  KVX_CALLSTACK_TRACK;
  const int x = rItem.left + kIconMargin;
  const int y = rItem.top + kIconMargin;
  if (m_hBmpMask != NULL) {
    const CSelectObject mask(hMemoryDC, m_hBmpMask);
    BitBlt(hDC, x, y, kIconSize, kIconSize, hMemoryDC, 0, 0, SRCAND);
  }
  if (m_hBmpImage != NULL) {
    const CSelectObject image(hMemoryDC, m_hBmpImage);
    BitBlt(hDC, x, y, kIconSize, kIconSize, hMemoryDC, 0, 0, SRCINVERT);
  }
}

void CMenuItem::drawArrow(HDC hDC, HDC hMemoryDC, const RECT& rItem, bool bSelected) {
  KVX_CALLSTACK_TRACK;
  if (S_BmpArrow == NULL) return;
  const CSelectObject arrow(hMemoryDC, S_BmpArrow);
  BitBlt(hDC, rItem.right - kArrowRightOffset, rItem.top + kArrowTop, kArrowWidth, kArrowWidth,
         hMemoryDC, 0, 0, bSelected ? kRopNotSourceOrDest : SRCAND);
}
