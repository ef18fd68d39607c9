#include "sizedpicture.h"

#include "../diag/bitmapscale.h"

namespace {

// Each target pixel takes one source pixel: image and mask stay exact
// partners, which blending would not keep them.
HBITMAP scaleBitmap(HBITMAP hSource, int nFrom, int nSize) {
  KVX_CALLSTACK_TRACK;
  const SIZE from = {nFrom, nFrom};
  const SIZE to = {nSize, nSize};
  return scaledBitmapCopy(hSource, from, to, COLORONCOLOR);
}

}  // namespace

void CSizedPicture::load(HINSTANCE hInstance, const SOURCE* lpSources, size_t nSources) {
  KVX_CALLSTACK_TRACK;
  for (size_t i = 0; i < nSources; ++i) {
    BMPPAIR pair(LoadBitmapA(hInstance, MAKEINTRESOURCEA(lpSources[i].nImageId)),
                 LoadBitmapA(hInstance, MAKEINTRESOURCEA(lpSources[i].nMaskId)));
    // A size missing from the resources is made from another when needed.
    if (pair.first != NULL && pair.second != NULL)
      m_Pairs[lpSources[i].nSize] = pair;
    else
      deleteBitmapPair(pair);
  }
}

BMPPAIR CSizedPicture::at(int nSize) {
  KVX_CALLSTACK_TRACK;
  const std::map<int, BMPPAIR>::const_iterator it = m_Pairs.find(nSize);
  if (it != m_Pairs.end()) return it->second;
  const BMPPAIR pair = scaledTo(nSize);
  if (pair.first != NULL) m_Pairs[nSize] = pair;
  return pair;
}

// From the smallest drawn size that is at least nSize, else the biggest.
BMPPAIR CSizedPicture::scaledTo(int nSize) const {
  KVX_CALLSTACK_TRACK;
  if (m_Pairs.empty() || nSize <= 0) return BMPPAIR(NULL, NULL);
  std::map<int, BMPPAIR>::const_iterator source = m_Pairs.lower_bound(nSize);
  if (source == m_Pairs.end()) --source;
  BMPPAIR pair(scaleBitmap(source->second.first, source->first, nSize),
               scaleBitmap(source->second.second, source->first, nSize));
  if (pair.first == NULL || pair.second == NULL) deleteBitmapPair(pair);
  return pair;
}

void CSizedPicture::release() {
  KVX_CALLSTACK_TRACK;
  for (std::map<int, BMPPAIR>::iterator it = m_Pairs.begin(); it != m_Pairs.end(); ++it)
    deleteBitmapPair(it->second);
  m_Pairs.clear();
}
