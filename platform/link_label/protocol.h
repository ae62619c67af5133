#pragma once
// How a host talks to the link-label control in LinkLabel.dll. The caption
// comes with the window text and the font with WM_SETFONT; these messages set
// the rest. Plain numbers, so both sides agree without sharing code.

namespace platform::link_label {

inline constexpr const wchar_t* kClassName = L"VorlindLinkLabel";
inline constexpr const char* kRegisterExport = "LinkLabelRegister";

inline constexpr unsigned kSetHyperlink = 0x0400 + 1;  // lParam: const wchar_t*
inline constexpr unsigned kSetColour = 0x0400 + 2;     // wParam: ColourSlot, lParam: 0x00BBGGRR
inline constexpr unsigned kSetAlignment = 0x0400 + 3;  // wParam: 0 left, 1 right, 2 centred
inline constexpr unsigned kIsVisited = 0x0400 + 4;     // returns 1 once the link was opened

enum ColourSlot : unsigned { kLink = 0, kVisited = 1, kActive = 2 };

}  // namespace platform::link_label
