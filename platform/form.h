#pragma once
// A small form runtime: a window described by a table of controls in twips,
// created on first reference, shown modelessly or modally, hidden (it stays
// loaded) or unloaded (its window and controls are gone until the next
// reference). Forms react through virtual handlers named after the event.
#include <memory>
#include <string>
#include <string_view>

#include "platform/form_layout.h"

struct HWND__;

namespace platform {

inline constexpr int kModal = 1;

class Form {
 public:
  explicit Form(const FormLayout& layout);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window and its controls if they do not exist yet, then runs
  // Form_Load. Every other member that needs the window loads it first.
  void Load();
  bool Loaded() const;
  // Shows the form; modal shows disable the owner and return when the form
  // is hidden or unloaded.
  void Show(int style = 0);
  void Hide();
  void Unload();

  // Outer bounds in twips, frame and caption included.
  float Left();
  float Top();
  float Width();
  float Height();
  void SetLeft(float twips);
  void SetTop(float twips);

  std::wstring Text(int controlId);
  void SetText(int controlId, std::wstring_view text);
  int Value(int controlId);  // check box: 0 unticked, 1 ticked
  void SetFocusTo(int controlId);
  void MsgBox(std::wstring_view text, bool error);

  HWND__* Window() const;

 protected:
  // Forms whose owner is another form name it here, before they load.
  void SetOwner(Form* owner) { owner_ = owner; }

  virtual void Form_Load() {}
  // A click on a button, check box or menu entry.
  virtual void Click(int /*id*/) {}
  // A character typed into a text box. Setting keyAscii to 0 swallows it.
  virtual void KeyPress(int /*id*/, int& /*keyAscii*/) {}
  // The close box: unloads the form unless a form decides otherwise.
  virtual void CloseBox() { Unload(); }

 private:
  class Live;
  friend class Live;
  const FormLayout& layout_;
  Form* owner_ = nullptr;
  std::unique_ptr<Live> window_;
  bool modal_ = false;
};

// Runs the program's event loop until keepRunning says no; with none it runs
// until the process ends.
void RunEventLoop(bool (*keepRunning)(const void*) = nullptr, const void* context = nullptr);

}  // namespace platform
