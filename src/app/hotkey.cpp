#include "hotkey.h"

#include <commctrl.h>

#include <cstdio>

#include "../diag/log.h"

CHotKey::CHotKey() : m_hWnd(NULL), m_wHeld(0) { KVX_CALLSTACK_TRACK; }

CHotKey::~CHotKey() {
  KVX_CALLSTACK_TRACK;
  release();
}

void CHotKey::setWindow(HWND hWnd) {
  KVX_CALLSTACK_TRACK;
  m_hWnd = hWnd;
}

// Taking the combination held already would fail: the system counts it as
// taken, by us.
bool CHotKey::use(WORD wHotKey) {
  KVX_CALLSTACK_TRACK;
  if (wHotKey == m_wHeld) return true;
  release();
  if (wHotKey == 0) return true;
  if (!RegisterHotKey(m_hWnd, ID, S_modifiersOf(wHotKey), LOBYTE(wHotKey))) {
    SLog::S_getSingleton()->write(
        0, "CHotKey::use() failed: RegisterHotKey() failed for %s (0x%04X) with error: %i",
        S_describe(wHotKey).c_str(), static_cast<unsigned>(wHotKey),
        static_cast<int>(GetLastError()));
    return false;
  }
  m_wHeld = wHotKey;
  return true;
}

void CHotKey::release() {
  KVX_CALLSTACK_TRACK;
  if (m_wHeld == 0) return;
  UnregisterHotKey(m_hWnd, ID);
  m_wHeld = 0;
}

UINT CHotKey::S_modifiersOf(WORD wHotKey) {
  KVX_CALLSTACK_TRACK;
  const BYTE nFlags = HIBYTE(wHotKey);
  return ((nFlags & HOTKEYF_SHIFT) != 0 ? MOD_SHIFT : 0) |
         ((nFlags & HOTKEYF_CONTROL) != 0 ? MOD_CONTROL : 0) |
         ((nFlags & HOTKEYF_ALT) != 0 ? MOD_ALT : 0);
}

// The key's name is the keyboard layout's, as the hotkey control shows it.
std::string CHotKey::S_describe(WORD wHotKey) {
  KVX_CALLSTACK_TRACK;
  const BYTE nFlags = HIBYTE(wHotKey);
  std::string strText;
  if ((nFlags & HOTKEYF_CONTROL) != 0) strText += "Ctrl+";
  if ((nFlags & HOTKEYF_SHIFT) != 0) strText += "Shift+";
  if ((nFlags & HOTKEYF_ALT) != 0) strText += "Alt+";
  const UINT nScanCode = MapVirtualKeyA(LOBYTE(wHotKey), MAPVK_VK_TO_VSC);
  const LONG lKey =
      static_cast<LONG>((nScanCode << 16) | ((nFlags & HOTKEYF_EXT) != 0 ? (1u << 24) : 0));
  char szName[64] = {0};
  if (nScanCode != 0 && GetKeyNameTextA(lKey, szName, sizeof(szName)) > 0) return strText + szName;
  char szCode[16];
  snprintf(szCode, sizeof(szCode), "key 0x%02X", LOBYTE(wHotKey));
  return strText + szCode;
}
