#include "platform/link_label/link_label_host.h"

#include <string>

#include "platform/processes/process.h"
#include "platform/runtime/library_search.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace platform {

namespace {

[[noreturn]] void RaiseAbout(const std::wstring& path, int number, const char* what) {
  Raise(RunTimeError(number, Filled("Die Komponente \"\1\2", {path, what})));
}

}  // namespace

LinkLabelLibrary::~LinkLabelLibrary() { Release(); }

LinkLabelLibrary& LinkLabelLibrary::operator=(LinkLabelLibrary&& other) noexcept {
  if (this != &other) {
    Release();
    module_ = std::move(other.module_);
  }
  return *this;
}

void LinkLabelLibrary::Release() {
  // The class belongs to the DLL's code: it goes before the code does, so a
  // later load registers it afresh at wherever the DLL then lies.
  if (module_) ::UnregisterClassW(kLinkLabelClass, module_.get());
  module_.reset();
}

LinkLabelLibrary LinkLabelLibrary::Load() {
  std::wstring path = ProgramFolder();
  if (path.empty() || path.back() != L'\\') path += L'\\';
  path += L"LinkLabel.dll";
  LinkLabelLibrary library;
  // By its full path, which is all that is searched for the DLL itself; its
  // imports come from System32 alone, never from beside it.
  library.module_.reset(::LoadLibraryExW(path.c_str(), nullptr, kLibrarySearch));
  if (!library.module_) {
    RaiseAbout(path, kFileNotFound,
               "\" oder eine ihrer Abhängigkeiten ist nicht richtig registriert: eine Datei fehlt oder ist ungültig.");
  }
  using RegisterFunction = BOOL(WINAPI*)();
  const auto registerClass = reinterpret_cast<RegisterFunction>(
      reinterpret_cast<void*>(::GetProcAddress(library.module_.get(), link_label::kRegisterExport)));
  if (!registerClass || !registerClass()) {
    RaiseAbout(path, kComponentMissing, "\" ist ungültig.");
  }
  return library;
}

void LinkLabelLibrary::Configure(HWND control, const LinkProperties& link, Align align) const {
  ::SendMessageW(control, link_label::kSetHyperlink, 0, reinterpret_cast<LPARAM>(link.hyperlink));
  ::SendMessageW(control, link_label::kSetColour, link_label::kLink, static_cast<LPARAM>(link.colourLink));
  ::SendMessageW(control, link_label::kSetColour, link_label::kVisited, static_cast<LPARAM>(link.colourVisited));
  ::SendMessageW(control, link_label::kSetColour, link_label::kActive, static_cast<LPARAM>(link.colourActive));
  ::SendMessageW(control, link_label::kSetAlignment, align == Align::Centre ? 2 : 0, 0);
}

}  // namespace platform
