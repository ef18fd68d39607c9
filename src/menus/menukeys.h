#ifndef PATHWICK_MENUS_MENUKEYS_H
#define PATHWICK_MENUS_MENUKEYS_H

#include <windows.h>

#include <functional>
#include <string>

// Menus from the keyboard: finding an entry by the character typed, and a
// menu that opens with its first entry selected.

// The entry a typed character selects: the first one after nHighlighted
// (-1 for none), going round past the end, whose label begins with the
// character; -1 when no label does. An ASCII character matches either case
// of an ASCII letter. Any other character is in the program's code page and
// matches the label's first bytes as they are spelled: a code up to 0xFF is
// one byte, a larger one two bytes, the first in the high byte (a character
// of a double-byte code page, or of two bytes in UTF-8). Empty labels (entries
// that cannot be chosen) never match.
int findTypedEntry(int nCount, int nHighlighted, UINT nTyped,
                   const std::function<std::string(int)>& rLabelAt);

// The position of the menu's highlighted entry, -1 when none is.
int highlightedEntry(HMENU hMenu);

// The next menu tracked for hOwner opens with its first entry selected, as
// the system's own menus do when a key opens them: the Down key is waiting
// for it in the queue, where the menu loop takes its keys from.
void selectFirstEntryOnOpen(HWND hOwner);

#endif
