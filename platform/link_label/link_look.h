#pragma once
// How the link control looks in each of its states: a plain function of the
// high-contrast setting, the host's colours and the system's, so that it can
// be checked without switching a theme (which Wine cannot do).

namespace platform::link_label {

// 0x00BBGGRR, as COLORREF.
struct LinkLook {
  unsigned long text;
  unsigned long background;  // kParentBackground: the parent's WM_CTLCOLORSTATIC brush
  bool underline;            // drawn under the text, whatever the font says
  bool frame;                // the focus rectangle, focused or not
  bool operator==(const LinkLook&) const = default;
};

inline constexpr unsigned long kParentBackground = 0xFFFFFFFF;

// The system colours the look is made of in high contrast.
struct ThemeColours {
  unsigned long hotlight;  // COLOR_HOTLIGHT, the theme's hyperlink colour
  unsigned long window;    // COLOR_WINDOW, the theme's background for it
};

// hostColours: link, visited, active (the slots of ColourSlot). In high
// contrast every state takes the theme's hyperlink colour on its background:
// a visited link is underlined and a pressed one framed instead of coloured.
constexpr LinkLook ChooseLook(bool highContrast, bool visited, bool pressed, const unsigned long (&hostColours)[3],
                              ThemeColours theme) {
  if (highContrast) return {theme.hotlight, theme.window, visited, pressed};
  return {hostColours[pressed ? 2 : visited ? 1 : 0], kParentBackground, false, false};
}

}  // namespace platform::link_label
