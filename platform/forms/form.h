#pragma once
// A small form runtime: a window described by a table of controls in twips,
// created on first reference, shown modelessly or modally, hidden (it stays
// loaded) or unloaded (its window and controls are gone until the next
// reference). Forms react through virtual handlers named after the event.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/forms/form_layout.h"

struct HWND__;

namespace platform {

inline constexpr int kModal = 1;

// Modifier keys, as a bit mask.
inline constexpr int kShiftKey = 1;
inline constexpr int kCtrlKey = 2;
inline constexpr int kAltKey = 4;

// The modifier keys held when the message now handled was sent.
int ShiftState();

// Virtual-key codes a text box's KeyDown tells apart.
inline constexpr int kKeyTab = 0x09;
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyDown = 0x28;
inline constexpr int kKeyDelete = 0x2E;

// Whether a key may change a text box's text: Backspace, the space bar,
// Delete and every code from '0' up (letters, digits, punctuation, typed
// Unicode); not Enter, Esc, Tab, a caret key or a modifier key alone.
bool ChangesText(int keyCode);

struct PixelBounds {
  int left, top, width, height;
};

class Form {
 public:
  explicit Form(const FormLayout& layout);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window and its controls if they do not exist yet, then runs
  // Form_Load. Every other member that needs the window loads it first.
  void Load();
  bool Loaded() const;
  // Shows the form; modal shows disable the owner and return when the form
  // is hidden or unloaded. A form first shown modally is owned by the form
  // that is active at that moment: it stays above it and is centred over it.
  void Show(int style = 0);
  void Hide();
  void Unload();

  // Outer bounds in physical pixels, frame and caption included, and the
  // window's DPI; placement converts them to twips (dialogs/CentreOverMain.h).
  PixelBounds Bounds();
  int Dpi();
  void MoveTo(int left, int top);  // pixels

  // The form this one is owned by, if any.
  Form* Owner() const { return owner_; }

  std::wstring Text(int controlId);
  void SetText(int controlId, std::wstring_view text);
  int Value(int controlId);  // check box: 0 unticked, 1 ticked
  void SetFocusTo(int controlId);
  // A text box's selection, in characters; start == end is the caret.
  std::pair<int, int> Selection(int controlId);
  void SetSelection(int controlId, int start, int end);
  // Offers lines in a list under a text box while the user types text they
  // begin with (the platform's autocomplete); each line is followed by a
  // zero. A later call replaces them. The first call with lines loads COM
  // and the shell. Enter still reaches the form at once while the list shows.
  void Suggest(int controlId, std::wstring_view lines);
  void MsgBox(std::wstring_view text, bool error);
  bool AskYesNo(std::wstring_view text);  // true for Ja

  HWND__* Window() const;

 protected:
  // Not virtual: a form is never destroyed through a pointer to its base
  // (the program's three live until it ends).
  ~Form();
  virtual void Form_Load() {}
  // A click on a button, check box or menu entry.
  virtual void Click(int /*id*/) {}
  // A character typed into a text box. Setting keyAscii to 0 swallows it.
  virtual void KeyPress(int /*id*/, int& /*keyAscii*/) {}
  // A key pressed in a text box (a virtual-key code), with the modifier keys
  // held (kShiftKey | kCtrlKey | kAltKey). Setting keyCode to 0 swallows it.
  // Tab comes before the dialog manager acts on it: swallowed, it stays in
  // the text box; otherwise it moves the focus.
  virtual void KeyDown(int /*id*/, int& /*keyCode*/, int /*shift*/) {}
  // Shift+Del on the line highlighted in a text box's suggestion list,
  // where the system's list lets the text box see the key: the form forgets
  // the line and offers the rest (Suggest); the text box then shows again
  // what was typed, and the list is filled anew for it.
  virtual void SuggestionRemoved(int /*id*/, const std::wstring& /*line*/) {}
  // Files or folders dropped on the form, full paths in the order given.
  virtual void FilesDropped(const std::vector<std::wstring>& /*paths*/) {}
  // The close box: unloads the form unless a form decides otherwise.
  virtual void CloseBox() { Unload(); }

 private:
  class Live;
  friend class Live;
  friend bool IsFormWindow(HWND__* hwnd);
  // The form whose window this is; nullptr for any other window.
  static Form* FromWindow(HWND__* hwnd);

  const FormLayout& layout_;
  Form* owner_ = nullptr;
  std::unique_ptr<Live> window_;
  bool modal_ = false;
};

// Runs the program's event loop until keepRunning says no; with none it runs
// until the process ends.
void RunEventLoop(bool (*keepRunning)(const void*) = nullptr, const void* context = nullptr);

}  // namespace platform
