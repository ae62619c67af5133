#include "dialogs/PlaceOverMain.h"

#include "dialogs/CentreOverMain.h"

namespace dialogs {

void PlaceOverMain(platform::Form& dialog) {
  platform::Form* main = dialog.Owner();
  if (!main) return;  // shown on its own: it stays where the platform put it
  const platform::PixelBounds m = main->Bounds();
  const platform::PixelBounds d = dialog.Bounds();
  const PixelPoint at =
      DialogPosition({m.left, m.top, m.width, m.height}, main->Dpi(), d.width, d.height, dialog.Dpi());
  dialog.MoveTo(at.x, at.y);
}

}  // namespace dialogs
