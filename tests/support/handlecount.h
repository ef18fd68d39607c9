#ifndef PATHWICK_TESTS_SUPPORT_HANDLECOUNT_H
#define PATHWICK_TESTS_SUPPORT_HANDLECOUNT_H

// This process's GDI objects, USER objects and kernel handles, for the tests
// and tools that check nothing is left behind. Windows counts them; Wine
// answers GetGuiResources and GetProcessHandleCount with 0, so there the
// handle tables are probed: a handle with a zero high word names whatever
// object lives in its slot.

#include <windows.h>

namespace testsupport {

// GDI handles are small numbers, one slot each.
inline unsigned long countGdiObjects() {
  const DWORD dwCount = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (dwCount != 0) return dwCount;
  unsigned long nProbed = 0;
  for (ULONG_PTR nSlot = 1; nSlot < 0x10000; ++nSlot)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(nSlot)) != 0) ++nProbed;
  return nProbed;
}

// USER handles start at 0x20, two apart: the odd value between two names the
// slot below it again, so probing it would count each object twice.
const ULONG_PTR kFirstUserSlot = 0x20;

inline unsigned long countMenus() {
  unsigned long nMenus = 0;
  for (ULONG_PTR nSlot = kFirstUserSlot; nSlot < 0x10000; nSlot += 2)
    if (IsMenu(reinterpret_cast<HMENU>(nSlot))) ++nMenus;
  return nMenus;
}

// The windows of this process and the menus (a menu names no owner to ask).
inline unsigned long countUserObjects() {
  const DWORD dwCount = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (dwCount != 0) return dwCount;
  const DWORD dwPid = GetCurrentProcessId();
  unsigned long nWindows = 0;
  for (ULONG_PTR nSlot = kFirstUserSlot; nSlot < 0x10000; nSlot += 2) {
    const HWND hwnd = reinterpret_cast<HWND>(nSlot);
    DWORD dwOwner = 0;
    if (IsWindow(hwnd) && GetWindowThreadProcessId(hwnd, &dwOwner) && dwOwner == dwPid) ++nWindows;
  }
  return nWindows + countMenus();
}

// Kernel handles are multiples of four; where their count is not kept, each
// one is asked after.
inline unsigned long countKernelHandles() {
  DWORD dwHandles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &dwHandles);
  if (dwHandles != 0) return dwHandles;
  DWORD dwFlags = 0;
  for (ULONG_PTR nSlot = 4; nSlot < 0x10000; nSlot += 4)
    if (GetHandleInformation(reinterpret_cast<HANDLE>(nSlot), &dwFlags)) ++dwHandles;
  return dwHandles;
}

}  // namespace testsupport

#endif
