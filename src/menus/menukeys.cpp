#include "menukeys.h"

#include "../diag/callstack.h"
#include "../diag/pathtext.h"

namespace {

// The bytes the typed character is spelled with, and how many.
struct TYPEDBYTES {
  char bytes[2];
  size_t nCount;
};

TYPEDBYTES typedBytes(UINT nTyped) {
  KVX_CALLSTACK_TRACK;
  if (nTyped <= 0xFF) return {{static_cast<char>(nTyped), 0}, 1};
  return {{static_cast<char>(HIBYTE(nTyped)), static_cast<char>(LOBYTE(nTyped))}, 2};
}

bool beginsWith(const std::string& rLabel, const TYPEDBYTES& rTyped) {
  KVX_CALLSTACK_TRACK;
  if (rLabel.size() < rTyped.nCount) return false;
  if (rTyped.nCount == 1 && static_cast<unsigned char>(rTyped.bytes[0]) < 0x80)
    return upperAscii(rLabel[0]) == upperAscii(rTyped.bytes[0]);
  return rLabel.compare(0, rTyped.nCount, rTyped.bytes, rTyped.nCount) == 0;
}

}  // namespace

int findTypedEntry(int nCount, int nHighlighted, UINT nTyped,
                   const std::function<std::string(int)>& rLabelAt) {
  KVX_CALLSTACK_TRACK;
  if (nTyped == 0 || nTyped > 0xFFFF || nCount <= 0) return -1;
  const TYPEDBYTES typed = typedBytes(nTyped);
  const int nStart = nHighlighted >= 0 && nHighlighted < nCount ? nHighlighted + 1 : 0;
  for (int i = 0; i < nCount; ++i) {
    const int nPos = (nStart + i) % nCount;
    if (beginsWith(rLabelAt(nPos), typed)) return nPos;
  }
  return -1;
}

// The system keeps the highlight of the entry its menu loop selected in the
// entry's state, whoever draws the entry.
int highlightedEntry(HMENU hMenu) {
  KVX_CALLSTACK_TRACK;
  const int nCount = GetMenuItemCount(hMenu);
  for (int i = 0; i < nCount; ++i) {
    const UINT uState = GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
    if (uState != static_cast<UINT>(-1) && (uState & MF_HILITE) != 0) return i;
  }
  return -1;
}

void selectFirstEntryOnOpen(HWND hOwner) {
  KVX_CALLSTACK_TRACK;
  PostMessageA(hOwner, WM_KEYDOWN, VK_DOWN, 0);
}
