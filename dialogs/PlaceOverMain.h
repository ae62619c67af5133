#pragma once
#include "platform/forms/form.h"

namespace dialogs {

// Moves a dialog by CentreOverMain over the form that owns it.
void PlaceOverMain(platform::Form& dialog);

}  // namespace dialogs
