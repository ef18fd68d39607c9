#ifndef PATHWICK_DIAG_BITMAPSCALE_H
#define PATHWICK_DIAG_BITMAPSCALE_H

#include <windows.h>

// A copy of hSource (rFrom pixels) stretched to rTo pixels, in the screen's
// format, with nStretchMode: COLORONCOLOR where each pixel must stay one
// source pixel (an image and its mask), HALFTONE where colours may blend.
// The copy is the caller's (DeleteObject); NULL when it cannot be made.
HBITMAP scaledBitmapCopy(HBITMAP hSource, const SIZE& rFrom, const SIZE& rTo, int nStretchMode);

#endif
