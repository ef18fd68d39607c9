#ifndef PATHWICK_DIAG_SINGLETON_H
#define PATHWICK_DIAG_SINGLETON_H

#include <cassert>
#include <cstddef>

#include "callstack.h"

// The process-wide objects (the log, the main window, the icon cache, the
// dialogs) exist once, are made and ended at fixed points of start-up and
// shutdown, and are reached through an accessor that refuses to hand out a
// missing one. A class T takes part by deriving from SSingleton<T> and
// befriending it (its constructor and destructor stay private).
template <class T>
class SSingleton {
 public:
  // Makes the object unless it exists.
  static void S_createSingleton() {
    KVX_CALLSTACK_TRACK;
    if (S_lpSingleton == NULL) S_lpSingleton = new T();
  }

  // Ends the object if it exists.
  static void S_destroySingleton() {
    KVX_CALLSTACK_TRACK;
    if (S_lpSingleton != NULL) {
      delete S_lpSingleton;
      S_lpSingleton = NULL;
    }
  }

  static T* S_getSingleton() {
    KVX_CALLSTACK_TRACK;
    assert(S_lpSingleton != NULL);
    return S_lpSingleton;
  }

 protected:
  SSingleton() {}
  ~SSingleton() {}
  SSingleton(const SSingleton&) = delete;
  SSingleton& operator=(const SSingleton&) = delete;

  static inline T* S_lpSingleton = NULL;
};

#endif
