#ifndef PATHWICK_DIALOGS_DLGPICTURE_H
#define PATHWICK_DIALOGS_DLGPICTURE_H

#include <windows.h>

#include <cstddef>
#include <map>

// One picture of a dialog, drawn at several scales (the resources hold it at
// 100%, 150% and 200%). At a DPI it is the one drawn for that DPI, else the
// nearest bigger one shrunk to it: a picture enlarged by the system would
// be blurred, and one too big for the DPI would cover the texts the
// template lays out around it. Above the biggest, the biggest as drawn.
// Each bitmap is made on first use and kept until the object goes.
class CDialogPicture {
 public:
  // One scale drawn: the DPI it was drawn for and its bitmap resource.
  struct SOURCE {
    UINT nDpi;
    int nBitmapId;
  };
  // Called once on every bitmap made, with the DPI it is for: a dialog
  // draws what it adds to its picture.
  typedef void (*FINISH)(HBITMAP hBitmap, UINT nDpi);

  CDialogPicture(const SOURCE* lpSources, size_t nSources, FINISH lpfnFinish = NULL);
  ~CDialogPicture() { release(); }

  // NULL when the resources hold none that can be loaded.
  HBITMAP at(HINSTANCE hInstance, UINT nDpi);
  void release();

  CDialogPicture(const CDialogPicture&) = delete;
  CDialogPicture& operator=(const CDialogPicture&) = delete;

 private:
  HBITMAP make(HINSTANCE hInstance, UINT nDpi) const;

  const SOURCE* m_lpSources;
  size_t m_nSources;
  FINISH m_lpfnFinish;
  std::map<UINT, HBITMAP> m_Bitmaps;
};

#endif
