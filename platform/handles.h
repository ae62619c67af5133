#pragma once
// Owners for the Win32 handles the program holds. Copying is deleted so a
// handle can never be closed twice; moving hands ownership on.
#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace platform {

template <typename Handle, auto Close, Handle Invalid = Handle{}>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Invalid));
    return *this;
  }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Invalid; }
  Handle release() { return std::exchange(h_, Invalid); }  // the caller owns it now
  void reset(Handle h = Invalid) {
    if (h_ != Invalid) Close(h_);
    h_ = h;
  }

 private:
  Handle h_ = Invalid;
};

inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void DeleteGdiFont(HFONT f) { ::DeleteObject(f); }
inline void DeleteGdiRegion(HRGN r) { ::DeleteObject(r); }
inline void FreeLibraryHandle(HMODULE m) { ::FreeLibrary(m); }
inline void DestroyIconHandle(HICON i) { ::DestroyIcon(i); }
inline void ReleaseComObject(IUnknown* o) { o->Release(); }

using UniqueHandleObject = UniqueHandle<HANDLE, CloseKernelHandle>;
using UniqueFont = UniqueHandle<HFONT, DeleteGdiFont>;
using UniqueRegion = UniqueHandle<HRGN, DeleteGdiRegion>;
using UniqueModule = UniqueHandle<HMODULE, FreeLibraryHandle>;
using UniqueIcon = UniqueHandle<HICON, DestroyIconHandle>;
using UniqueComObject = UniqueHandle<IUnknown*, ReleaseComObject>;

}  // namespace platform
