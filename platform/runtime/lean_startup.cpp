// Built with MinGW-w64 only, into Vorlind.exe beside lean_runtime.cpp and like
// it without link-time optimisation: the program's entry point, in place of
// the C runtime's start-up (cmake/LeanLink.cmake links with -nostartfiles).
//
// That start-up parses argv, sets up thread-local storage, runs global
// constructors and applies pseudo-relocations. The program uses none of it:
// it reads its command line from the system, has no thread-local data and no
// global constructors (the link check fails on one), and links with
// --disable-runtime-pseudo-reloc. The C runtime itself (msvcrt.dll) readies
// itself when it is loaded.
#include <windows.h>

// Statics are never destroyed: the program ends with ExitProcess, which
// gives back everything it holds, and no destructor of a static has work
// that must outlive the process. A function-local static registers its
// destructor here on first use.
extern "C" int atexit(void (*)()) { return 0; }

// wWinMain reads neither its command line nor its show command: the program
// takes both from the system (GetCommandLineW; the first ShowWindow follows
// the starter's STARTUPINFO on its own).
extern "C" [[noreturn]] void VorlindStart() {
  ::ExitProcess(static_cast<UINT>(wWinMain(::GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOWDEFAULT)));
}
