#include "platform/link_label/link_look.h"

#include <gtest/gtest.h>

using namespace platform::link_label;

TEST(LinkLook, HostColoursOutsideHighContrastTheThemesHyperlinkColourInIt) {
  constexpr unsigned long kHost[3] = {1, 2, 3};  // link, visited, active
  constexpr ThemeColours kTheme{4, 5};           // hyperlink, window
  struct Row {
    bool highContrast, visited, pressed;
    LinkLook look;
  };
  const Row rows[] = {
      {false, false, false, {1, kParentBackground, false, false}},
      {false, true, false, {2, kParentBackground, false, false}},
      {false, true, true, {3, kParentBackground, false, false}},
      {true, false, false, {4, 5, false, false}},
      {true, true, false, {4, 5, true, false}},
      {true, false, true, {4, 5, false, true}},
  };
  for (const Row& r : rows)
    EXPECT_TRUE(ChooseLook(r.highContrast, r.visited, r.pressed, kHost, kTheme) == r.look)
        << r.highContrast << r.visited << r.pressed;
}
