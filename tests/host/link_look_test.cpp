#include "platform/link_label/link_look.h"

#include <gtest/gtest.h>

using platform::link_label::ChooseLook;
using platform::link_label::kParentBackground;

TEST(LinkLook, HostColoursOutsideHighContrastTheThemesHyperlinkColourInIt) {
  constexpr unsigned long kHost[3] = {0xFF0000, 0x800080, 0x0000FF};  // link, visited, active
  constexpr unsigned long kHotlight = 0x00FFFF, kWindow = 0x000000;
  struct Row {
    bool highContrast, visited, pressed;
    unsigned long text, background;
    bool underline, frame;
  };
  const Row rows[] = {
      {false, false, false, 0xFF0000, kParentBackground, false, false},
      {false, true, false, 0x800080, kParentBackground, false, false},
      {false, true, true, 0x0000FF, kParentBackground, false, false},
      {true, false, false, kHotlight, kWindow, false, false},
      {true, true, false, kHotlight, kWindow, true, false},
      {true, false, true, kHotlight, kWindow, false, true},
  };
  for (const Row& r : rows) {
    const auto look = ChooseLook(r.highContrast, r.visited, r.pressed, kHost, {kHotlight, kWindow});
    SCOPED_TRACE(testing::Message() << r.highContrast << r.visited << r.pressed);
    EXPECT_EQ(look.text, r.text);
    EXPECT_EQ(look.background, r.background);
    EXPECT_EQ(look.underline, r.underline);
    EXPECT_EQ(look.frame, r.frame);
  }
}
