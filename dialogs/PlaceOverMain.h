#pragma once
#include "platform/form.h"

namespace dialogs {

// Moves a dialog by CentreOverMain over the main window: Top, then Left.
void PlaceOverMain(platform::Form& dialog);

}  // namespace dialogs
