// A program linked the way Vorlind.exe is, holding one use of the C++ runtime
// that decides whether the link may succeed (LEAN_PROBE_*, see
// tests/CMakeLists.txt).
#include <bits/functexcept.h>

#include <new>

namespace {

struct alignas(64) Block {
  unsigned char bytes[64];
};

}  // namespace

// Seen from outside the program, so the optimiser keeps the allocation.
Block* volatile g_block = nullptr;

#if defined(LEAN_PROBE_AUTOIMPORT)
extern "C" int _sys_nerr;  // data of msvcrt.dll, declared without dllimport
#endif

#if defined(LEAN_PROBE_GLOBALCONSTRUCTOR)
struct Constructed {
  Constructed() { g_block = new Block; }
};
Constructed g_constructed;  // constructed before the entry point, by nobody
#endif

// What platform/runtime/lean_startup.cpp calls, declared without <windows.h>, whose
// own declaration of _sys_nerr would hide the probe's.
extern "C" int wWinMain(void*, void*, wchar_t*, int) {
  g_block = new Block;  // over-aligned: the aligned operator new
  delete g_block;
#if defined(LEAN_PROBE_UNREPLACED)
  std::__throw_system_error(0);  // its object in the runtime defines the replaced ones again
#elif defined(LEAN_PROBE_THROW)
  throw 0;
#elif defined(LEAN_PROBE_AUTOIMPORT)
  return _sys_nerr;
#endif
  return 0;
}
