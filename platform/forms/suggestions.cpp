// The suggestion list under a text box: the shell's autocomplete object
// (IAutoComplete2) reading the form's lines through an enumerator of ours.
// COM and the shell are loaded when a form first asks for suggestions, never
// at start-up.
#include "platform/forms/form_window.h"

#include <shldisp.h>
#include <shobjidl.h>

#include <cstdint>
#include <cstring>

#include "platform/system_function.h"

namespace platform {

namespace {

constexpr CLSID kAutoComplete{0x00bb2763, 0x6a77, 0x11d0, {0xa5, 0x35, 0x00, 0xc0, 0x4f, 0xd7, 0xd0, 0x62}};

using TaskMemAlloc = void*(WINAPI*)(SIZE_T);
using TaskMemFree = void(WINAPI*)(void*);

// Compared as two words: the platform's comparison calls memcmp, which the
// program would import for this alone.
bool SameId(REFIID a, REFIID b) {
  std::uint64_t x[2];
  std::uint64_t y[2];
  std::memcpy(x, &a, sizeof x);
  std::memcpy(y, &b, sizeof y);
  return x[0] == y[0] && x[1] == y[1];
}

// Holds a lock from its construction to the end of its scope.
class Locked {
 public:
  explicit Locked(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockExclusive(&lock_); }
  ~Locked() { ::ReleaseSRWLockExclusive(&lock_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  SRWLOCK& lock_;
};

// Hands out copies of the lines (each followed by a zero), which the
// autocomplete object frees. The object may call from a thread of its own
// while the form replaces the lines: the reference count is interlocked, and
// the lines and the place in them are read and changed only under the lock,
// so no call sees them half replaced.
class LineEnumerator final : public IEnumString {
 public:
  explicit LineEnumerator(TaskMemAlloc alloc) : alloc_(alloc) {}

  // New lines, read from the first.
  void Replace(std::wstring_view lines) {
    const Locked locked(lock_);
    lines_.assign(lines);
    next_ = 0;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = SameId(iid, __uuidof(IUnknown)) || SameId(iid, __uuidof(IEnumString)) ? this : nullptr;
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, LPOLESTR* out, ULONG* fetched) override {
    const Locked locked(lock_);
    ULONG given = 0;
    for (std::size_t length; given < wanted && (length = Take()) > 0; ++given) {
      out[given] = static_cast<LPOLESTR>(alloc_(length * sizeof(wchar_t)));
      if (!out[given]) break;
      std::memcpy(out[given], lines_.c_str() + next_ - length, length * sizeof(wchar_t));
    }
    if (fetched) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const Locked locked(lock_);
    while (count > 0 && Take() > 0) --count;
    return count == 0 ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    const Locked locked(lock_);
    next_ = 0;
    return S_OK;
  }
  // A copy of the lines, read on from the same place.
  HRESULT STDMETHODCALLTYPE Clone(IEnumString** copy) override {
    if (!copy) return E_POINTER;
    auto* clone = new LineEnumerator(alloc_);
    const Locked locked(lock_);
    clone->lines_ = lines_;
    clone->next_ = next_;
    *copy = clone;
    return S_OK;
  }

 private:
  // Steps over the next line; its length with its zero, 0 at the end. Under
  // the lock.
  std::size_t Take() {
    if (next_ >= lines_.size()) return 0;
    const std::size_t length = std::wcslen(lines_.c_str() + next_) + 1;
    next_ += length;
    return length;
  }

  LONG volatile references_ = 1;
  SRWLOCK lock_ = SRWLOCK_INIT;
  std::wstring lines_;
  std::size_t next_ = 0;  // where the next line starts in lines_
  TaskMemAlloc alloc_;
};

using Initialize = HRESULT(WINAPI*)(LPVOID, DWORD);
using Create = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

}  // namespace

IUnknown* NewLineEnumerator(TaskMemAlloc alloc, std::wstring_view lines) {
  auto* enumerator = new LineEnumerator(alloc);
  enumerator->Replace(lines);
  return enumerator;
}

void Form::Live::Suggest(int id, std::wstring_view lines) {
  if (!autoComplete_) {
    if (lines.empty()) return;
    // ole32 stays loaded: the enumerator allocates with it as long as it lives.
    const auto initialize = SystemFunction<Initialize>(L"ole32.dll", "CoInitializeEx");
    const auto create = SystemFunction<Create>(L"ole32.dll", "CoCreateInstance");
    const auto alloc = SystemFunction<TaskMemAlloc>(L"ole32.dll", "CoTaskMemAlloc");
    void* created = nullptr;
    // Without them there are no suggestions, and nothing else is amiss.
    if (!initialize || !create || !alloc || FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED)) ||
        FAILED(create(kAutoComplete, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IAutoComplete2), &created)))
      return;
    auto* object = static_cast<IAutoComplete2*>(created);
    UniqueComObject owner(object);
    UniqueComObject enumerator(NewLineEnumerator(alloc, {}));
    object->SetOptions(ACO_AUTOSUGGEST);
    if (FAILED(object->Init(ControlWindow(id), enumerator.get(), nullptr, nullptr))) return;
    autoComplete_ = std::move(owner);
    suggested_ = std::move(enumerator);
  }
  static_cast<LineEnumerator*>(suggested_.get())->Replace(lines);
  // The object keeps what it read until its enumerator is reset.
  if (const UniqueComObject dropDown = DropDown())
    static_cast<IAutoCompleteDropDown*>(dropDown.get())->ResetEnumerator();
}

bool Form::Live::Suggesting() const { return static_cast<bool>(autoComplete_); }

UniqueComObject Form::Live::DropDown() const {
  void* dropDown = nullptr;
  if (autoComplete_) autoComplete_.get()->QueryInterface(__uuidof(IAutoCompleteDropDown), &dropDown);
  return UniqueComObject(static_cast<IAutoCompleteDropDown*>(dropDown));
}

std::wstring Form::Live::Highlighted() const {
  const UniqueComObject dropDown = DropDown();
  DWORD shown = 0;
  LPWSTR text = nullptr;
  if (!dropDown || FAILED(static_cast<IAutoCompleteDropDown*>(dropDown.get())->GetDropDownStatus(&shown, &text)) ||
      !text)
    return {};
  // A selection the list kept while it is hidden is no line on show.
  std::wstring line(shown & ACDD_VISIBLE ? text : L"");
  SystemFunction<TaskMemFree>(L"ole32.dll", "CoTaskMemFree")(text);  // loaded with the object
  return line;
}

// The line goes, the text typed comes back, and the object, which sees the
// key after the text box, fills its list anew for that text.
bool Form::Live::RemoveHighlighted(int id) {
  const std::wstring line = Highlighted();
  if (line.empty()) return false;
  form_.SuggestionRemoved(id, line);
  form_.SetText(id, typed_);
  form_.SetSelection(id, static_cast<int>(typed_.size()), static_cast<int>(typed_.size()));
  return true;
}

// Enter passes the autocomplete object by, so that it reaches the form with
// one press whatever the list shows: the object would take it to pick the
// selected line (Wine does) and open the list again after a failed start.
// The list closes, and the object sleeps until the next key.
void Form::Live::KeyComing(WPARAM key) {
  if (!autoComplete_) return;
  auto* object = static_cast<IAutoComplete2*>(autoComplete_.get());
  if (key == VK_RETURN) {
    object->SetOptions(ACO_NONE);
    object->SetOptions(ACO_AUTOSUGGEST);
  }
  // Shift+Del on a line brought back with Up takes it out: the object would
  // then open its list for the next one.
  const bool removing = key == VK_DELETE && ShiftState() == kShiftKey && Highlighted().empty();
  object->Enable(key != VK_RETURN && !removing);
}

}  // namespace platform
