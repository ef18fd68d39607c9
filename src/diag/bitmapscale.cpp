#include "bitmapscale.h"

#include "scoped.h"

HBITMAP scaledBitmapCopy(HBITMAP hSource, const SIZE& rFrom, const SIZE& rTo, int nStretchMode) {
  KVX_CALLSTACK_TRACK;
  const CWindowDC screen(NULL);
  const HBITMAP hTarget = CreateCompatibleBitmap(screen.get(), rTo.cx, rTo.cy);
  if (hTarget == NULL) return NULL;
  const CMemoryDC sourceDC(screen.get());
  const CMemoryDC targetDC(screen.get());
  const CSelectObject source(sourceDC.get(), hSource);
  const CSelectObject target(targetDC.get(), hTarget);
  SetStretchBltMode(targetDC.get(), nStretchMode);
  // HALFTONE reads the brush origin, which the mode's change leaves undefined.
  SetBrushOrgEx(targetDC.get(), 0, 0, NULL);
  StretchBlt(targetDC.get(), 0, 0, rTo.cx, rTo.cy, sourceDC.get(), 0, 0, rFrom.cx, rFrom.cy,
             SRCCOPY);
  return hTarget;
}
