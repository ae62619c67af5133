#pragma once
// The live window of a loaded form: its handle, controls, fonts and icons at
// the window's DPI. Destroying it unloads the form. Its members are spread
// over files by concern: form_window.cpp (creation, messages, focus),
// form_controls.cpp (controls and menu from the tables), form_dpi.cpp
// (layout, fonts and icons at a DPI), text_box.cpp (the text box's keys),
// suggestions.cpp (the suggestion list under a text box).
#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "platform/forms/form.h"
#include "platform/handles.h"
#include "platform/link_label/link_label_host.h"

namespace platform {

class Form::Live {
 public:
  Live(Form& form, HWND owner);
  ~Live();
  Live(const Live&) = delete;
  Live& operator=(const Live&) = delete;

  HWND Handle() const { return hwnd_; }
  int Dpi() const { return dpi_; }
  HWND ControlWindow(int id) const { return ::GetDlgItem(hwnd_, id); }

  void FocusFirstTabStop();
  void Focus(HWND control);

 private:
  friend class Form;
  friend bool IsFormWindow(HWND hwnd);

  // form_controls.cpp
  static HMENU BuildMenu(std::span<const MenuEntry> entries);
  bool CreateControls();  // false when a control could not be created
  void ClipUnderTopControls();
  const Control* ControlEntry(int id) const;

  // form_dpi.cpp
  void SetIcons();
  SIZE OuterSizeAt(int dpi) const;
  PixelBounds ControlBounds(const Control& c) const;
  void ApplyFonts();
  void LayOutControls();
  LRESULT OnDpiChanged(int dpi, const RECT& suggested);
  LRESULT OnGetDpiScaledSize(int dpi, SIZE& size) const;
  void SizeAndCentre();

  // dropped_files.cpp
  void AcceptFiles();
  LRESULT OnDropFiles(HDROP drop);

  // form_window.cpp
  void Destroy();
  LRESULT DefaultButton() const;
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  LRESULT OnActivate(WORD state);
  LRESULT OnControlColour(HDC dc, HWND control);
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM w, LPARAM l);

  // text_box.cpp
  static LRESULT CALLBACK TextBoxProcedure(HWND control, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data);

  // suggestions.cpp
  void Suggest(int id, std::wstring_view lines);
  bool Suggesting() const;
  void KeyComing(WPARAM key);
  UniqueComObject DropDown() const;  // the object's IAutoCompleteDropDown, if it has one
  std::wstring Highlighted() const;  // the line highlighted in the list shown; empty when none is
  bool RemoveHighlighted(int id);    // false when no line is highlighted

  Form& form_;
  LinkLabelLibrary linkLabel_;  // outlives the window, whose controls use its class
  HWND hwnd_ = nullptr;
  DWORD style_ = 0;
  DWORD exStyle_ = 0;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  HWND lastFocus_ = nullptr;
  UniqueFont defaultFont_;
  std::unique_ptr<UniqueFont[]> fonts_;  // one for each control, set where it has a font of its own
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  UniqueComObject autoComplete_;  // the shell's object (IAutoComplete2), once a form asks for suggestions
  UniqueComObject suggested_;     // the lines it offers (IEnumString)
  std::wstring typed_;            // the text the list was last filled for
};

// The lines a suggestion list reads (an IEnumString), each handed out as a
// copy made with `alloc` (CoTaskMemAlloc). suggestions.cpp.
IUnknown* NewLineEnumerator(void*(WINAPI* alloc)(SIZE_T), std::wstring_view lines);

HINSTANCE Instance();
inline constexpr wchar_t kFormClass[] = L"VorlindForm";
bool IsFormWindow(HWND hwnd);

}  // namespace platform
