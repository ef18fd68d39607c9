#ifndef PATHWICK_DIAG_SCOPED_H
#define PATHWICK_DIAG_SCOPED_H

#include <windows.h>

#include <objbase.h>
#include <shtypes.h>

#include "callstack.h"

// Scoped owners of what must be given back to the system. Menu entries are
// drawn hundreds of times while a menu is open, the shell hands out objects
// and identifier lists on every right-click, and every way out of a function
// must release what it took; these make that the default. None of them can
// be copied: a copy would release twice.

// One handle and the call that releases it; nEmpty is the value that
// holds nothing (INVALID_HANDLE_VALUE is -1).
template <typename THandle, typename TResult, TResult(WINAPI* Release)(THandle),
          LONG_PTR nEmpty = 0>
class CScopedHandle {
 public:
  explicit CScopedHandle(THandle hHandle = empty()) : m_hHandle(hHandle) { KVX_CALLSTACK_TRACK; }
  ~CScopedHandle() {
    KVX_CALLSTACK_TRACK;
    reset();
  }

  static THandle empty() { return reinterpret_cast<THandle>(nEmpty); }
  THandle get() const { return m_hHandle; }
  bool valid() const { return m_hHandle != empty(); }
  // Releases what is held and takes the new handle.
  void reset(THandle hHandle = empty()) {
    if (valid()) Release(m_hHandle);
    m_hHandle = hHandle;
  }
  // Where a call that hands out a handle writes it; what was held goes first.
  THandle* receive() {
    reset();
    return &m_hHandle;
  }
  // Gives the handle up to the caller, who releases it.
  THandle detach() {
    const THandle hHandle = m_hHandle;
    m_hHandle = empty();
    return hHandle;
  }

  CScopedHandle(const CScopedHandle&) = delete;
  CScopedHandle& operator=(const CScopedHandle&) = delete;

 private:
  THandle m_hHandle;
};

inline void WINAPI freeItemIdList(ITEMIDLIST* lpList) { CoTaskMemFree(lpList); }

// A popup menu made here and not handed on, destroyed on exit.
typedef CScopedHandle<HMENU, BOOL, DestroyMenu> CPopupMenu;
// A kernel object (a mutex, an event, a thread), closed on exit.
typedef CScopedHandle<HANDLE, BOOL, CloseHandle> CKernelHandle;
// A search of FindFirstFile, closed on exit.
typedef CScopedHandle<HANDLE, BOOL, FindClose, -1> CFindHandle;
// A hook of this thread, removed on exit.
typedef CScopedHandle<HHOOK, BOOL, UnhookWindowsHookEx> CHookHandle;
// A GDI object this code made and nobody else keeps, deleted on exit.
typedef CScopedHandle<HGDIOBJ, BOOL, DeleteObject> CGdiObject;
// An icon made for this code alone (LoadImage without LR_SHARED, an icon
// drawn at a size), destroyed on exit.
typedef CScopedHandle<HICON, BOOL, DestroyIcon> CIconHandle;
// A shell identifier list, freed with the task allocator on exit.
typedef CScopedHandle<ITEMIDLIST*, void, freeItemIdList> CItemIdList;

// A memory device context compatible with another one, deleted on exit.
class CMemoryDC : public CScopedHandle<HDC, BOOL, DeleteDC> {
 public:
  explicit CMemoryDC(HDC hCompatible) : CScopedHandle(CreateCompatibleDC(hCompatible)) {
    KVX_CALLSTACK_TRACK;
  }
};

// A key of the current user's registry, closed on exit.
class CRegKey : public CScopedHandle<HKEY, LONG, RegCloseKey> {
 public:
  bool create(const char* lpszPath, REGSAM samDesired = KEY_WRITE,
              DWORD dwOptions = REG_OPTION_NON_VOLATILE) {
    KVX_CALLSTACK_TRACK;
    return RegCreateKeyExA(HKEY_CURRENT_USER, lpszPath, 0, NULL, dwOptions, samDesired, NULL,
                           receive(), NULL) == ERROR_SUCCESS;
  }
  bool open(const char* lpszPath, REGSAM samDesired) {
    KVX_CALLSTACK_TRACK;
    return RegOpenKeyExA(HKEY_CURRENT_USER, lpszPath, 0, samDesired, receive()) == ERROR_SUCCESS;
  }
};

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

// One reference to a COM object, released on exit.
template <typename T>
class CComRef {
 public:
  explicit CComRef(T* lpObject = NULL) : m_lpObject(lpObject) { KVX_CALLSTACK_TRACK; }
  ~CComRef() {
    KVX_CALLSTACK_TRACK;
    reset();
  }

  T* get() const { return m_lpObject; }
  T* operator->() const { return m_lpObject; }
  void reset(T* lpObject = NULL) {
    if (m_lpObject != NULL) m_lpObject->Release();
    m_lpObject = lpObject;
  }
  // Gives the reference up to the caller, who releases it.
  T* detach() {
    T* lpObject = m_lpObject;
    m_lpObject = NULL;
    return lpObject;
  }
  // The out-parameter of a call that hands out a reference.
  void** receive() {
    reset();
    return reinterpret_cast<void**>(&m_lpObject);
  }

  CComRef(const CComRef&) = delete;
  CComRef& operator=(const CComRef&) = delete;

 private:
  T* m_lpObject;
};

#endif
