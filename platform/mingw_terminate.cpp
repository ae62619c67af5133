// Built with MinGW-w64 only (see CMakeLists.txt).
//
// GCC's static C++ runtime ends an unhandled exception through a handler that
// demangles the exception's type name and prints it to stderr. Vorlind is a
// GUI program without stderr, and every entry from the platform into the
// program is guarded (runtime_error_report.h), so that handler could never
// tell anyone anything; yet it links the demangler and the runtime's printf
// into the executable, a third of its size. Defining the handler here keeps
// the runtime's own copy out of the link. It must be linked into the
// executable itself: from a static library the runtime's copy would win.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
