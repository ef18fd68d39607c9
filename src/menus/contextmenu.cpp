// Placeholder until the shell context menu lands (see contextmenu.h).
#include "contextmenu.h"
