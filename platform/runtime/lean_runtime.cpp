// Built with MinGW-w64 only, into Vorlind.exe itself and without link-time
// optimisation (cmake/LeanLink.cmake): from a static library, or as LTO code,
// the runtime's own copies of these functions can win without a word. As a
// plain object linked first its definitions are the ones the program gets,
// and a function of the runtime's not replaced here, whose object defines
// these again, fails the link with a duplicate definition.
//
// The program is built without exceptions: a run-time error reports and ends
// where it is raised. GCC's static C++ runtime still reports its own few
// failures (memory exhausted, a length beyond what a container holds, an
// empty std::function called) by throwing, and any one of those functions
// links the whole exception machinery: unwinder, exception allocator, thread
// library and a terminate handler that prints to a stderr a GUI program does
// not have. That was two thirds of the executable. Here the same failures end
// the program the way a run-time error does. The forms of new and delete the
// program rarely uses are in platform/runtime/lean_allocation.cpp.
#include <windows.h>

#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

#include "platform/runtime/lean_runtime.h"

namespace {

// No formatting and no allocation: memory may be what ran out.
[[noreturn]] void End(const wchar_t* message) {
  ::MessageBoxW(nullptr, message, L"Vorlind", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ::ExitProcess(1);
}

[[noreturn]] void Internal() { End(L"Laufzeitfehler '51':\n\nInterner Fehler."); }

}  // namespace

void platform::EndOutOfMemory() { End(L"Laufzeitfehler '7':\n\nNicht genügend Speicher."); }

using platform::EndOutOfMemory;

void* operator new(std::size_t size) {
  if (void* p = std::malloc(size ? size : 1)) return p;
  EndOutOfMemory();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace std {

void __throw_bad_alloc() { EndOutOfMemory(); }
void __throw_bad_array_new_length() { EndOutOfMemory(); }
void __throw_length_error(const char*) { EndOutOfMemory(); }
void __throw_logic_error(const char*) { Internal(); }
void __throw_out_of_range(const char*) { Internal(); }
void __throw_out_of_range_fmt(const char*, ...) { Internal(); }
void __throw_invalid_argument(const char*) { Internal(); }
void __throw_bad_function_call() { Internal(); }

}  // namespace std

namespace __gnu_cxx {

void __verbose_terminate_handler() { Internal(); }

}  // namespace __gnu_cxx
