#pragma once
// A form described as data: its window, its controls in twips and its menu.
// The twips conversions come with it.
#include <span>

#include "platform/forms/twips.h"

namespace platform {

struct Font {
  const wchar_t* face;
  float points;
  int weight;
  bool underline = false;
};

// The window's default font; controls without a font of their own use it.
inline constexpr Font kDefaultFont{L"MS Sans Serif", 8.25f, 400};
inline constexpr Font kBoldFont{L"MS Sans Serif", 8.25f, 700};

// Colours as 0x00BBGGRR.
inline constexpr unsigned long kNoColour = 0xFFFFFFFF;

enum class ControlKind { Label, TextBox, PushButton, CheckBox, LinkLabel };
enum class Align { Left, Centre };

struct LinkProperties {
  const wchar_t* hyperlink;
  unsigned long colourLink;
  unsigned long colourVisited;
  unsigned long colourActive;
};

struct Control {
  int id;
  ControlKind kind;
  const wchar_t* caption;
  float left, top, width, height;  // twips, from the client area's corner
  int tabIndex;
  const Font* font = nullptr;  // nullptr: the window's default font
  Align align = Align::Left;
  unsigned long colour = kNoColour;
  bool drawnOnTop = false;  // painted over the controls it overlaps
  const LinkProperties* link = nullptr;
};

inline constexpr const wchar_t* kSeparator = L"-";

struct MenuEntry {
  int id;
  const wchar_t* caption;  // kSeparator draws a separator line
  int parentId;            // 0: an entry of the menu bar
};

enum class Border { FixedSingle, FixedDialog };

struct FormLayout {
  const wchar_t* caption;
  Border border;
  float clientWidth, clientHeight;  // twips
  bool showInTaskbar;
  int iconResource;  // 0: none
  std::span<const Control> controls;
  std::span<const MenuEntry> menu = {};
  bool acceptsFiles = false;  // files dropped from the shell reach FilesDropped
};

}  // namespace platform
