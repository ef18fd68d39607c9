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

inline BOOL CALLBACK countWindowOfThisProcess(HWND hwnd, LPARAM lParam) {
  DWORD dwOwner = 0;
  GetWindowThreadProcessId(hwnd, &dwOwner);
  if (dwOwner == GetCurrentProcessId()) ++*reinterpret_cast<unsigned long*>(lParam);
  return TRUE;
}

// A top-level window and its descendants.
inline BOOL CALLBACK countWindowTree(HWND hwnd, LPARAM lParam) {
  countWindowOfThisProcess(hwnd, lParam);
  EnumChildWindows(hwnd, countWindowOfThisProcess, lParam);
  return TRUE;
}

// The windows of this process and the menus (a menu names no owner to ask).
// Windows are found from the desktop and the message-only parent: probing
// their slots would ask the server about each one.
inline unsigned long countUserObjects() {
  const DWORD dwCount = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (dwCount != 0) return dwCount;
  unsigned long nWindows = 0;
  EnumWindows(countWindowTree, reinterpret_cast<LPARAM>(&nWindows));
  for (HWND hwnd = FindWindowExA(HWND_MESSAGE, NULL, NULL, NULL); hwnd != NULL;
       hwnd = FindWindowExA(HWND_MESSAGE, hwnd, NULL, NULL))
    countWindowTree(hwnd, reinterpret_cast<LPARAM>(&nWindows));
  return nWindows + countMenus();
}

// Kernel handles are multiples of four. Where their count is not kept,
// each one is asked after, up to a gap of 4096 free ones: the lowest free
// handle is the one handed out next.
inline unsigned long countKernelHandles() {
  DWORD dwHandles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &dwHandles);
  if (dwHandles != 0) return dwHandles;
  DWORD dwFlags = 0;
  ULONG_PTR nFree = 0;
  for (ULONG_PTR nSlot = 4; nSlot < 0x10000 && nFree < 4096; nSlot += 4) {
    if (GetHandleInformation(reinterpret_cast<HANDLE>(nSlot), &dwFlags)) {
      ++dwHandles;
      nFree = 0;
    } else {
      ++nFree;
    }
  }
  return dwHandles;
}

}  // namespace testsupport

#endif
