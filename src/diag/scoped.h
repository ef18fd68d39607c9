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

// One handle and the call that releases it. TTraits names the empty value
// and the release call.
template <typename TTraits>
class CScopedHandle {
 public:
  typedef typename TTraits::HandleType HandleType;

  explicit CScopedHandle(HandleType hHandle = TTraits::empty()) : m_hHandle(hHandle) {
    KVX_CALLSTACK_TRACK;
  }
  ~CScopedHandle() {
    KVX_CALLSTACK_TRACK;
    reset();
  }

  HandleType get() const { return m_hHandle; }
  bool valid() const { return m_hHandle != TTraits::empty(); }
  // Releases what is held and takes the new handle.
  void reset(HandleType hHandle = TTraits::empty()) {
    if (valid()) TTraits::release(m_hHandle);
    m_hHandle = hHandle;
  }
  // Where a call that hands out a handle writes it; what was held goes first.
  HandleType* receive() {
    reset();
    return &m_hHandle;
  }
  // Gives the handle up to the caller, who releases it.
  HandleType detach() {
    const HandleType hHandle = m_hHandle;
    m_hHandle = TTraits::empty();
    return hHandle;
  }

  CScopedHandle(const CScopedHandle&) = delete;
  CScopedHandle& operator=(const CScopedHandle&) = delete;

 private:
  HandleType m_hHandle;
};

struct SRegKeyTraits {
  typedef HKEY HandleType;
  static HKEY empty() { return NULL; }
  static void release(HKEY hKey) { RegCloseKey(hKey); }
};
struct SMenuTraits {
  typedef HMENU HandleType;
  static HMENU empty() { return NULL; }
  static void release(HMENU hMenu) { DestroyMenu(hMenu); }
};
struct SFindTraits {
  typedef HANDLE HandleType;
  static HANDLE empty() { return INVALID_HANDLE_VALUE; }
  static void release(HANDLE hFind) { FindClose(hFind); }
};
struct SHookTraits {
  typedef HHOOK HandleType;
  static HHOOK empty() { return NULL; }
  static void release(HHOOK hHook) { UnhookWindowsHookEx(hHook); }
};
struct SGdiObjectTraits {
  typedef HGDIOBJ HandleType;
  static HGDIOBJ empty() { return NULL; }
  static void release(HGDIOBJ hObject) { DeleteObject(hObject); }
};
struct SMemoryDCTraits {
  typedef HDC HandleType;
  static HDC empty() { return NULL; }
  static void release(HDC hDC) { DeleteDC(hDC); }
};
struct STaskMemTraits {
  typedef ITEMIDLIST* HandleType;
  static ITEMIDLIST* empty() { return NULL; }
  static void release(ITEMIDLIST* lpList) { CoTaskMemFree(lpList); }
};

// A popup menu made here and not handed on, destroyed on exit.
typedef CScopedHandle<SMenuTraits> CPopupMenu;
// A search of FindFirstFile, closed on exit.
typedef CScopedHandle<SFindTraits> CFindHandle;
// A hook of this thread, removed on exit.
typedef CScopedHandle<SHookTraits> CHookHandle;
// A GDI object this code made and nobody else keeps, deleted on exit.
typedef CScopedHandle<SGdiObjectTraits> CGdiObject;
// A shell identifier list, freed with the task allocator on exit.
typedef CScopedHandle<STaskMemTraits> CItemIdList;

// A memory device context compatible with another one, deleted on exit.
class CMemoryDC : public CScopedHandle<SMemoryDCTraits> {
 public:
  explicit CMemoryDC(HDC hCompatible) : CScopedHandle(CreateCompatibleDC(hCompatible)) {
    KVX_CALLSTACK_TRACK;
  }
};

// A key of the current user's registry, closed on exit.
class CRegKey : public CScopedHandle<SRegKeyTraits> {
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
