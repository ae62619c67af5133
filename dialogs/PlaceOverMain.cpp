#include "dialogs/PlaceOverMain.h"

#include "dialogs/CentreOverMain.h"
#include "main_window/Form1.h"

namespace dialogs {

void PlaceOverMain(platform::Form& dialog) {
  auto& main = main_window::Form1::Instance();
  const Placement p =
      CentreOverMain(main.Left(), main.Top(), main.Width(), main.Height(), dialog.Width(), dialog.Height());
  dialog.SetTop(p.Top);
  dialog.SetLeft(p.Left);
}

}  // namespace dialogs
