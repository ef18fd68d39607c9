#include "dlgpicture.h"

#include "../diag/bitmapscale.h"
#include "../diag/scoped.h"
#include "dlgcommon.h"

namespace {

// The picture's colours blended, not dropped, as it shrinks: every source
// pixel counts.
HBITMAP shrink(HBITMAP hSource, UINT nFromDpi, UINT nToDpi) {
  KVX_CALLSTACK_TRACK;
  const SIZE from = dlg::bitmapSize(hSource);
  const SIZE to = {MulDiv(from.cx, static_cast<int>(nToDpi), static_cast<int>(nFromDpi)),
                   MulDiv(from.cy, static_cast<int>(nToDpi), static_cast<int>(nFromDpi))};
  return scaledBitmapCopy(hSource, from, to, HALFTONE);
}

}  // namespace

CDialogPicture::CDialogPicture(const SOURCE* lpSources, size_t nSources, FINISH lpfnFinish)
    : m_lpSources(lpSources),
      m_nSources(nSources),
      m_lpfnFinish(lpfnFinish),
      m_nDpi(0),
      m_nRoomDpi(0) {
  KVX_CALLSTACK_TRACK;
}

HBITMAP CDialogPicture::at(HINSTANCE hInstance, UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  const std::map<UINT, HBITMAP>::const_iterator it = m_Bitmaps.find(nDpi);
  if (it != m_Bitmaps.end()) return it->second;
  const HBITMAP hBitmap = make(hInstance, nDpi);
  if (hBitmap == NULL) return NULL;
  if (m_lpfnFinish != NULL) m_lpfnFinish(hBitmap, nDpi);
  m_Bitmaps[nDpi] = hBitmap;
  return hBitmap;
}

// The sources are in rising order of DPI.
HBITMAP CDialogPicture::make(HINSTANCE hInstance, UINT nDpi) const {
  KVX_CALLSTACK_TRACK;
  if (m_nSources == 0) return NULL;
  size_t nSource = 0;
  while (nSource + 1 < m_nSources && m_lpSources[nSource].nDpi < nDpi) ++nSource;
  const SOURCE& rSource = m_lpSources[nSource];
  const HBITMAP hDrawn = LoadBitmapA(hInstance, MAKEINTRESOURCEA(rSource.nBitmapId));
  if (hDrawn == NULL || rSource.nDpi <= nDpi) return hDrawn;
  const CGdiObject drawn(hDrawn);
  return shrink(hDrawn, rSource.nDpi, nDpi);
}

void CDialogPicture::showIn(HWND hDlg, int nId, HINSTANCE hInstance, UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  RECT rcRoom = {};
  GetClientRect(GetDlgItem(hDlg, nId), &rcRoom);
  const HBITMAP hBase = at(hInstance, m_nSources > 0 ? m_lpSources[0].nDpi : nDpi);
  const SIZE base = hBase != NULL ? dlg::bitmapSize(hBase) : SIZE();
  m_nDpi = nDpi;
  m_nRoomDpi = nDpi;
  if (base.cx > 0 && base.cy > 0 && m_nSources > 0) {
    const UINT nAcross =
        static_cast<UINT>(MulDiv(rcRoom.right, static_cast<int>(m_lpSources[0].nDpi), base.cx));
    const UINT nDown =
        static_cast<UINT>(MulDiv(rcRoom.bottom, static_cast<int>(m_lpSources[0].nDpi), base.cy));
    m_nRoomDpi = nAcross < nDown ? nAcross : nDown;
  }
  show(hDlg, nId, hInstance);
}

void CDialogPicture::moveTo(HWND hDlg, int nId, HINSTANCE hInstance, UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  if (m_nDpi == 0) return;
  m_nRoomDpi = static_cast<UINT>(
      MulDiv(static_cast<int>(m_nRoomDpi), static_cast<int>(nDpi), static_cast<int>(m_nDpi)));
  m_nDpi = nDpi;
  show(hDlg, nId, hInstance);
}

// A room a few percent short of the DPI is the rounding of dialog units,
// not a font that stopped growing: the picture keeps the dialog's DPI.
void CDialogPicture::show(HWND hDlg, int nId, HINSTANCE hInstance) {
  KVX_CALLSTACK_TRACK;
  const bool bRoomShort = m_nRoomDpi * 100 < m_nDpi * 96;
  dlg::setPicture(hDlg, nId, at(hInstance, bRoomShort ? m_nRoomDpi : m_nDpi));
}

void CDialogPicture::release() {
  KVX_CALLSTACK_TRACK;
  for (std::map<UINT, HBITMAP>::iterator it = m_Bitmaps.begin(); it != m_Bitmaps.end(); ++it)
    DeleteObject(it->second);
  m_Bitmaps.clear();
}
