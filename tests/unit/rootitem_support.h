#ifndef PATHWICK_TESTS_ROOTITEM_SUPPORT_H
#define PATHWICK_TESTS_ROOTITEM_SUPPORT_H

#include <string>

#include "settings/rootitem.h"

// A root folder of the given fields, as the tests of the store and of the
// root menu write them in one line.
inline ROOTITEM makeRootItem(const std::string& rName, const std::string& rPath, int nSortType,
                             unsigned int nMaxNoSort) {
  ROOTITEM item;
  item.str_name = rName;
  item.str_path = rPath;
  item.sort_type = nSortType;
  item.max_no_sort = nMaxNoSort;
  return item;
}

#endif
