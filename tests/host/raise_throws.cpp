// In the host tests a raised run-time error is thrown instead of shown, so
// that a test can catch it and look at its number.
#include "platform/runtime_error.h"

namespace platform {

void Raise(const RunTimeError& error) { throw error; }

}  // namespace platform
