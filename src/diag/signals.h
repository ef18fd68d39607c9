#ifndef PATHWICK_DIAG_SIGNALS_H
#define PATHWICK_DIAG_SIGNALS_H

// Crash handlers: each writes the tracked call stack to the run log, tells the
// user and ends the process with exit code 0. None of them returns. A
// handling that cannot get its box on screen within seconds (a fault while
// the heap's or the loader's lock was held) ends the process without it.
void impliment_sig_handlers();
[[noreturn]] void handle_sig_abort(int);
[[noreturn]] void handle_sig_fpe(int);
[[noreturn]] void handle_sig_ill(int);
[[noreturn]] void handle_sig_segv(int);

// What a crashed program must not leave behind, such as its tray icon, which
// would stay in the notification area until the mouse passes over it. Run by
// the first crash, on the crash handling's thread, after its block is logged
// and before the user is told; not at all when the handling gets stuck
// before it. NULL for nothing.
typedef void (*CRASHCLEANUPPROC)();
void setCrashCleanup(CRASHCLEANUPPROC lpfnCleanup);

#endif
