#include "dialogs/Form3.h"

#include <array>

#include "dialogs/PlaceOverMain.h"

namespace dialogs {

namespace {

using platform::Align;
using platform::Control;
using platform::ControlKind;
using platform::Font;

constexpr Font kTitleFont{L"Arial Rounded MT Bold", 36, 700};
constexpr Font kLinkFont{L"MS Sans Serif", 8.25f, 700, true};
constexpr unsigned long kGreen = 0x008000;
constexpr unsigned long kBlue = 0xFF0000;  // 0x00BBGGRR
constexpr unsigned long kRed = 0x0000FF;

constexpr platform::LinkProperties kContact{L"mailto:vorlind@example.org", kBlue, kBlue, kRed};

constexpr std::array kControls{
    Control{Form3::kLabel1, ControlKind::Label, L"Vorlind", 120, 60, 4395, 855, 0, &kTitleFont, Align::Centre, kGreen},
    Control{Form3::kLabel2, ControlKind::Label, L"Version 2.0", 3720, 720, 795, 195, 5, nullptr, Align::Left,
            platform::kNoColour, true},
    Control{Form3::kLabel3, ControlKind::Label, L"Tips und Anregungen sowie Kritik bitte an:", 120, 1020, 4395, 255, 1,
            &platform::kBoldFont},
    Control{Form3::kContactLabel, ControlKind::LinkLabel, L"Vorlind-Team (vorlind@example.org)", 120, 1320, 4395, 255,
            4, &kLinkFont, Align::Centre, platform::kNoColour, false, &kContact},
    Control{Form3::kLabel4, ControlKind::Label, L"Ich beantworte Mails auf Deutsch und Englisch.", 120, 1680, 4395, 255,
            2},
    Control{Form3::kLabel5, ControlKind::Label, L"I answer on mails in German and English.", 120, 1920, 4395, 255, 3},
};

constexpr platform::FormLayout kLayout{L"Info", platform::Border::FixedDialog, 4650, 2250, false, 0, kControls};

}  // namespace

Form3& Form3::Instance() {
  static Form3& form = *new Form3;  // never destroyed: the program ends with ExitProcess
  return form;
}

Form3::Form3() : Form(kLayout) {}

void Form3::Form_Load() { PlaceOverMain(*this); }

}  // namespace dialogs
