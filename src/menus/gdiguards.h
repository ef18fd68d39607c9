#ifndef PATHWICK_MENUS_GDIGUARDS_H
#define PATHWICK_MENUS_GDIGUARDS_H

#include <windows.h>

#include "../diag/callstack.h"

// Scoped owners of the GDI objects that drawing and icon conversion borrow.
// Entries are drawn hundreds of times while a menu is open, so every path out
// of a drawing function must give back what it took; these make that the
// default. None of them can be copied: a copy would release twice.

// A window's device context (the screen's for a null window), released on exit.
class CWindowDC {
 public:
  explicit CWindowDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(GetDC(hWnd)) { KVX_CALLSTACK_TRACK; }
  ~CWindowDC() {
    KVX_CALLSTACK_TRACK;
    if (m_hDC != NULL) ReleaseDC(m_hWnd, m_hDC);
  }
  HDC get() const { return m_hDC; }

  CWindowDC(const CWindowDC&) = delete;
  CWindowDC& operator=(const CWindowDC&) = delete;

 private:
  HWND m_hWnd;
  HDC m_hDC;
};

// A memory device context compatible with another one, deleted on exit.
class CMemoryDC {
 public:
  explicit CMemoryDC(HDC hCompatible) : m_hDC(CreateCompatibleDC(hCompatible)) {
    KVX_CALLSTACK_TRACK;
  }
  ~CMemoryDC() {
    KVX_CALLSTACK_TRACK;
    if (m_hDC != NULL) DeleteDC(m_hDC);
  }
  HDC get() const { return m_hDC; }

  CMemoryDC(const CMemoryDC&) = delete;
  CMemoryDC& operator=(const CMemoryDC&) = delete;

 private:
  HDC m_hDC;
};

// An object selected into a device context; the previous one goes back on
// exit, so the context can be deleted or released cleanly. A null object is
// not selected.
class CSelectObject {
 public:
  CSelectObject(HDC hDC, HGDIOBJ hObject)
      : m_hDC(hDC), m_hOld(hObject != NULL && hDC != NULL ? SelectObject(hDC, hObject) : NULL) {
    KVX_CALLSTACK_TRACK;
  }
  ~CSelectObject() {
    KVX_CALLSTACK_TRACK;
    if (m_hOld != NULL && m_hOld != HGDI_ERROR) SelectObject(m_hDC, m_hOld);
  }

  CSelectObject(const CSelectObject&) = delete;
  CSelectObject& operator=(const CSelectObject&) = delete;

 private:
  HDC m_hDC;
  HGDIOBJ m_hOld;
};

// A GDI object this code made and nobody else keeps, deleted on exit.
class CGdiObject {
 public:
  explicit CGdiObject(HGDIOBJ hObject) : m_hObject(hObject) { KVX_CALLSTACK_TRACK; }
  ~CGdiObject() {
    KVX_CALLSTACK_TRACK;
    if (m_hObject != NULL) DeleteObject(m_hObject);
  }
  HGDIOBJ get() const { return m_hObject; }

  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

 private:
  HGDIOBJ m_hObject;
};

#endif
