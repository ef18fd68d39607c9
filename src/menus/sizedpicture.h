#ifndef PATHWICK_MENUS_SIZEDPICTURE_H
#define PATHWICK_MENUS_SIZEDPICTURE_H

#include <windows.h>

#include <cstddef>
#include <map>

#include "iconmgr.h"

// One of the program's own menu pictures (the folder, the root folder) as a
// pair of bitmaps like the icon cache's, in the sizes it was drawn in (the
// small-icon sizes of 100% to 200%), and at any other size made once from
// the nearest bigger one. Entries borrow the pairs, which live until the
// process ends.
class CSizedPicture {
 public:
  // One size drawn: its image and mask bitmaps among the resources.
  struct SOURCE {
    int nSize;
    int nImageId;
    int nMaskId;
  };

  CSizedPicture() {}
  ~CSizedPicture() { release(); }

  void load(HINSTANCE hInstance, const SOURCE* lpSources, size_t nSources);
  // The pair nSize pixels square; empty when nothing was loaded.
  BMPPAIR at(int nSize);
  void release();

  CSizedPicture(const CSizedPicture&) = delete;
  CSizedPicture& operator=(const CSizedPicture&) = delete;

 private:
  BMPPAIR scaledTo(int nSize) const;

  std::map<int, BMPPAIR> m_Pairs;
};

#endif
