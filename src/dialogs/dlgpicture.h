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

  // Shows the picture in control nId of a dialog at nDpi, the dialog's, as
  // it opens: the control's size then is the room the template gives the
  // picture. Where the dialog's font grew less than its DPI (Wine's
  // "MS Sans Serif" stops at its 150% size), the texts around that room
  // did too, and the picture is made for the room's scale instead: a
  // picture never covers the dialog's texts.
  void showIn(HWND hDlg, int nId, HINSTANCE hInstance, UINT nDpi);
  // The dialog moved to a monitor of nDpi: the system scales its layout,
  // and with it the room, by the change of DPI.
  void moveTo(HWND hDlg, int nId, HINSTANCE hInstance, UINT nDpi);

  CDialogPicture(const CDialogPicture&) = delete;
  CDialogPicture& operator=(const CDialogPicture&) = delete;

 private:
  HBITMAP make(HINSTANCE hInstance, UINT nDpi) const;
  void show(HWND hDlg, int nId, HINSTANCE hInstance);

  const SOURCE* m_lpSources;
  size_t m_nSources;
  FINISH m_lpfnFinish;
  std::map<UINT, HBITMAP> m_Bitmaps;
  // The shown dialog's DPI, and the DPI at which the picture fills the
  // room its template gives.
  UINT m_nDpi;
  UINT m_nRoomDpi;
};

#endif
