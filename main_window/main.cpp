// The program starts by showing the command window; everything after that
// happens in its event handlers.
#include "main_window/Form1.h"
#include "platform/entry.h"

int platform::ProgramMain() {
  main_window::Form1::Instance().Show();
  platform::RunEventLoop();
  return 0;
}
