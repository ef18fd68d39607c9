// Type-ahead: which entry a typed character selects.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "menus/menukeys.h"

// Empty labels are entries that cannot be chosen ("[Empty]").
TEST(TypeAhead, SelectsTheNextEntryWhoseLabelBeginsWithTheCharacter) {
  const std::vector<std::string> kLabels = {
      "Open Folder", "apple", "Banana", "apricot", "", "1st", "\xE9t\xE9", "\xCE\xA9mega", "Symbols"};
  const struct {
    const char* lpszWhat;
    int nHighlighted;
    UINT nTyped;
    int nWant;
  } kCases[] = {{"a letter, none highlighted", -1, 'a', 1}, {"either case", -1, 'b', 2},
                {"the same again moves on", 1, 'A', 3},    {"round past the end", 3, 'a', 1},
                {"the only match stays", 2, 'B', 2},       {"a digit", 0, '1', 5},
                {"a group label", 5, 's', 8},              {"Open Folder", 8, 'o', 0},
                {"one byte outside ASCII", -1, 0xE9, 6},    {"not case-folded there", -1, 0xC9, -1},
                {"two bytes, lead high", -1, 0xCEA9, 7},    {"no match", 3, 'z', -1},
                {"no character", -1, 0, -1}};
  for (const auto& rCase : kCases)
    EXPECT_EQ(rCase.nWant, findTypedEntry(static_cast<int>(kLabels.size()), rCase.nHighlighted,
                                          rCase.nTyped, [&](int i) { return kLabels[i]; }))
        << rCase.lpszWhat;
}
