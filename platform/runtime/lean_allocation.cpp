// The forms of new and delete beside those every program uses
// (platform/runtime/lean_runtime.cpp): without failure, over-aligned. Built like lean_runtime.cpp, but
// linked from a library before the C++ runtime, so that they are in the
// program only where it uses them. The runtime's own forms of these throw or
// catch; where one is used, this library is found first.
#include <malloc.h>

#include <cstdlib>
#include <new>

#include "platform/runtime/lean_runtime.h"

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

// Over-aligned types. The runtime's own forms throw; msvcrt keeps aligned
// blocks apart from malloc's, so they go back through _aligned_free.
void* operator new(std::size_t size, std::align_val_t align) {
  if (void* p = ::_aligned_malloc(size ? size : 1, static_cast<std::size_t>(align))) return p;
  platform::EndOutOfMemory();
}
void* operator new[](std::size_t size, std::align_val_t align) { return ::operator new(size, align); }
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
  return ::_aligned_malloc(size ? size : 1, static_cast<std::size_t>(align));
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
  return ::_aligned_malloc(size ? size : 1, static_cast<std::size_t>(align));
}
void operator delete(void* p, std::align_val_t) noexcept { ::_aligned_free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { ::_aligned_free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { ::_aligned_free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { ::_aligned_free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { ::_aligned_free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { ::_aligned_free(p); }
