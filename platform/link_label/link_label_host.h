#pragma once
// Loads the link-label control from LinkLabel.dll beside the program and
// configures its instances.
#include <windows.h>

#include "platform/forms/form.h"
#include "platform/handles.h"
#include "platform/link_label/protocol.h"

namespace platform {

inline constexpr const wchar_t* kLinkLabelClass = link_label::kClassName;

class LinkLabelLibrary {
 public:
  LinkLabelLibrary() = default;
  ~LinkLabelLibrary();
  LinkLabelLibrary(LinkLabelLibrary&&) noexcept = default;
  LinkLabelLibrary& operator=(LinkLabelLibrary&& other) noexcept;

  // Loads the DLL from the program's own folder only, never from the current
  // folder or the search path, and its imports from System32 only. Raises the
  // run-time error when it or one of them is missing.
  static LinkLabelLibrary Load();

  void Configure(HWND control, const LinkProperties& link, Align align) const;

 private:
  void Release();
  UniqueModule module_;
};

}  // namespace platform
