// Built with MinGW-w64 only, into Vorlind.exe beside lean_runtime.cpp and like
// it without link-time optimisation: two functions the C runtime's start-up
// code calls, whose own versions bring in 3.5 KB the program never runs.

// Pseudo-relocations patch the addresses of data a DLL exports and the code
// uses without dllimport (auto-import). cmake/LeanLink.cmake links with
// --disable-auto-import, so that such a use fails the link instead and the
// program holds none: the start-up's pass over them has nothing to do. The
// runtime's version walks the image's sections and prints its failures.
extern "C" void _pei386_runtime_relocator() {}

// The start-up installs the runtime's math error handler, which prints to
// stderr, only when _MINGW_INSTALL_DEBUG_MATHERR is 1; it is 0, but the
// reference alone would link it with fprintf. 0 asks for the C runtime's
// default handling.
struct _exception;
extern "C" int _matherr(_exception*) { return 0; }
