// The Folder Menu's hotkey as the system takes it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "app/hotkey.h"

namespace {

// The control and the system number the same keys differently; the
// control's extended-key flag has no counterpart.
TEST(HotKey, ModifiersAreTheSystemsFlagsForTheControls) {
  const struct {
    BYTE nControl;
    UINT uWant;
  } kCases[] = {{0, 0},
                {HOTKEYF_SHIFT, MOD_SHIFT},
                {HOTKEYF_CONTROL, MOD_CONTROL},
                {HOTKEYF_ALT, MOD_ALT},
                {HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT,
                 MOD_SHIFT | MOD_CONTROL | MOD_ALT}};
  for (const auto& rCase : kCases)
    EXPECT_EQ(rCase.uWant, CHotKey::S_modifiersOf(MAKEWORD('P', rCase.nControl)))
        << "control flags " << static_cast<int>(rCase.nControl);
}

}  // namespace
