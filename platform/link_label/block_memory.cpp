// LinkLabel.dll links no C runtime (-nostdlib), yet the compiler may call
// memset and memcpy for a large zero-fill or a block copy, depending on its
// version, optimisation level and tuning. These are the DLL's own. Volatile,
// so that GCC cannot turn the loops back into calls to themselves.
#include <cstddef>

extern "C" void* memset(void* to, int value, std::size_t count) {
  auto* out = static_cast<volatile unsigned char*>(to);
  while (count--) *out++ = static_cast<unsigned char>(value);
  return to;
}

extern "C" void* memcpy(void* to, const void* from, std::size_t count) {
  auto* out = static_cast<volatile unsigned char*>(to);
  const auto* in = static_cast<const unsigned char*>(from);
  while (count--) *out++ = *in++;
  return to;
}
