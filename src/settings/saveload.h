#ifndef PATHWICK_SETTINGS_SAVELOAD_H
#define PATHWICK_SETTINGS_SAVELOAD_H

#include <windows.h>

#include <vector>

#include "rootitem.h"

// The options in force, each stored under the registry value of its name.
// The defaults are what a first start, with nothing stored, runs with.
struct PROGRAMOPTIONS {
  bool LeftClickRoot = true;  // left button: Folder Menu; right: Configuration Menu
  bool RunOnStartup = false;
  bool TrayHelpAtStartup = true;
  bool SplashScreenAtStartup = true;
  // The key combination that opens the Folder Menu, in the hotkey control's
  // own form: the virtual key in the low byte, HOTKEYF_ flags in the high
  // byte. 0 is none, the default: a combination taken from under another
  // program's feet would surprise its user.
  WORD HotKey = 0;
};

// Whether a stored number is a hotkey of the form above: none, or a key with
// nothing but HOTKEYF_ flags beside it.
bool isHotKeyValue(DWORD dwValue);

// Everything below reads and writes the current user's registry and reports
// each failure with one line in the run log. Loading leaves whatever it could
// not read as it was.

// Writes the options and adds or deletes the autostart value.
bool saveOptions(const PROGRAMOPTIONS& rOptions);
// False when the key or one of the first two values cannot be read. A
// missing hotkey is none, and no failure: starts before it existed stored
// none.
bool loadOptions(PROGRAMOPTIONS& rOptions);

// One root item under its zero-based position in the list.
bool saveItem(int nPosition, const ROOTITEM& rItem);
bool loadItem(int nPosition, ROOTITEM& rItem);

// Stores the list as a whole: the keys of positions past its end go. False
// when an item could not be written; the list stored before is then put
// back, so the registry never holds half of one list.
bool saveMenuItems(const std::vector<ROOTITEM>& rItemList);
// Empty when nothing could be read. The first missing key ends the list; an
// item whose key holds unreadable values is left out and the rest still load.
// Texts stored as REG_EXPAND_SZ load with their variables expanded.
void loadMenuItems(std::vector<ROOTITEM>& rItemList);

#endif
