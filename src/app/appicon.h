#ifndef PATHWICK_APP_APPICON_H
#define PATHWICK_APP_APPICON_H

#include <windows.h>

namespace appicon {

// The two sizes the system shows icons at: in the notification area, a
// caption and a menu; on the task switcher and the desktop.
enum SIZE_KIND { SMALL, LARGE };

// The icon resource nId at the size the system shows that kind at on the
// system's DPI, from the image drawn for that size where the icon has one.
// The icon is the caller's, who destroys it (DestroyIcon): unlike
// LoadIcon's, it is not shared. NULL when it cannot be loaded.
HICON load(HINSTANCE hInstance, int nId, SIZE_KIND eKind);

}  // namespace appicon

#endif
