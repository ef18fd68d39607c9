#ifndef PATHWICK_SETTINGS_ROOTITEM_H
#define PATHWICK_SETTINGS_ROOTITEM_H

#include <string>

// How a large folder below a root is split into submenus.
enum { SORT_NONE = 0, SORT_ABC = 1, SORT_EXT = 2 };

// One root folder of the Folder Menu. A plain value, copied freely.
struct ROOTITEM {
  std::string str_name;
  std::string str_path;
  int sort_type = SORT_NONE;
  // The largest number of entries still listed without groups.
  unsigned int max_no_sort = 0;
};

#endif
