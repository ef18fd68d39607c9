#ifndef PATHWICK_SETTINGS_SAVELOAD_H
#define PATHWICK_SETTINGS_SAVELOAD_H

#include <vector>

#include "rootitem.h"

// The options in force, one flag per registry value of the same name. The
// defaults are what a first start, with nothing stored, runs with.
struct PROGRAMOPTIONS {
  bool LeftClickRoot = true;  // left button: Folder Menu; right: Configuration Menu
  bool RunOnStartup = false;
  bool TrayHelpAtStartup = true;
  bool SplashScreenAtStartup = true;
};
static_assert(sizeof(PROGRAMOPTIONS) == 4, "four one-byte flags");

// Everything below reads and writes the current user's registry and reports
// each failure with one line in the run log. Loading leaves whatever it could
// not read as it was.

// Writes the four options and adds or deletes the autostart value.
bool saveOptions(const PROGRAMOPTIONS& rOptions);
// False when the key or one of the first two values cannot be read.
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
