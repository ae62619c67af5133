// The link control's own accessibility object: what a screen reader asks of
// it (role, name, state, default action) it answers itself; where it lies,
// its parent and its neighbours come from the system's standard object for
// the window. Calls arrive on the control's thread, marshalled by COM.
#include <windows.h>
#include <oleacc.h>

#include <new>

#include "platform/link_label/link_state.h"

namespace platform::link_label {

namespace {

// The verb a German Windows gives a link's default action ("Jump").
constexpr wchar_t kDefaultAction[] = L"Springen";

// Byte by byte: the DLL links no memcmp for IsEqualGUID.
bool SameId(REFIID a, REFIID b) {
  const auto* x = reinterpret_cast<const unsigned char*>(&a);
  const auto* y = reinterpret_cast<const unsigned char*>(&b);
  for (unsigned i = 0; i < sizeof(GUID); ++i)
    if (x[i] != y[i]) return false;
  return true;
}

void SetNumber(VARIANT* out, long value) {
  out->vt = VT_I4;
  out->lVal = value;
}

// The caption as a screen reader reads it: an access-key "&" goes, "&&" is "&".
BSTR NameOf(HWND hwnd) {
  int length = 0;
  wchar_t* text = CaptionOf(hwnd, &length);
  if (!text) return nullptr;
  int kept = 0;
  for (int i = 0; i < length; ++i) {
    if (text[i] == L'&' && ++i == length) break;
    text[kept++] = text[i];
  }
  BSTR name = SysAllocStringLen(text, kept);
  HeapFree(GetProcessHeap(), 0, text);
  return name;
}

}  // namespace

class LinkAccessible final : public IAccessible {
 public:
  LinkAccessible(HWND hwnd, State* state, IAccessible* standard) : hwnd_(hwnd), state_(state), standard_(standard) {}
  void Disconnect() { state_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!SameId(id, __uuidof(IUnknown)) && !SameId(id, __uuidof(IDispatch)) && !SameId(id, __uuidof(IAccessible)))
      return E_NOINTERFACE;
    *out = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      standard_->Release();
      HeapFree(GetProcessHeap(), 0, this);
    }
    return left;
  }

  // IDispatch: assistive technology calls IAccessible's methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return count ? S_OK : E_POINTER;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return state_ ? standard_->get_accParent(parent) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return state_ ? S_OK : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
    if (child) *child = nullptr;
    return state_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (const HRESULT answer = Check(child, name); answer != S_OK) return answer;
    *name = NameOf(hwnd_);
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  // The address the link opens, as a browser gives its links' value.
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (const HRESULT answer = Check(child, value); answer != S_OK) return answer;
    *value = SysAllocString(state_->hyperlink);
    return *value ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override { return Nothing(child, text); }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (const HRESULT answer = Check(child, role); answer != S_OK) return answer;
    SetNumber(role, ROLE_SYSTEM_LINK);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* flags) override {
    if (const HRESULT answer = Check(child, flags); answer != S_OK) return answer;
    long state = STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == hwnd_) state |= STATE_SYSTEM_FOCUSED;
    if (state_->visited) state |= STATE_SYSTEM_TRAVERSED;
    if (!IsWindowEnabled(hwnd_)) state = (state & ~STATE_SYSTEM_FOCUSABLE) | STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(hwnd_)) state |= STATE_SYSTEM_INVISIBLE;
    SetNumber(flags, state);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override { return Nothing(child, text); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    if (topic) *topic = 0;
    const HRESULT answer = Nothing(child, file);  // sets the file to none either way
    return topic ? answer : E_POINTER;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return state_ ? standard_->get_accKeyboardShortcut(child, keys) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    focus->vt = VT_EMPTY;
    if (!state_) return CO_E_OBJNOTCONNECTED;
    if (GetFocus() != hwnd_) return S_FALSE;
    SetNumber(focus, CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection) selection->vt = VT_EMPTY;
    return state_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (const HRESULT answer = Check(child, action); answer != S_OK) return answer;
    *action = SysAllocString(kDefaultAction);
    return *action ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return state_ ? standard_->accSelect(flags, child) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    return state_ ? standard_->accLocation(left, top, width, height, child) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return state_ ? standard_->accNavigate(direction, start, end) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return state_ ? standard_->accHitTest(x, y, child) : CO_E_OBJNOTCONNECTED;
  }
  // Posted, so that the caller has its answer before the link opens and a
  // screen reader never waits on the message a failure shows.
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (const HRESULT answer = Check(child, this); answer != S_OK) return answer;
    if (!IsWindowEnabled(hwnd_)) return E_FAIL;
    return PostMessageW(hwnd_, kFollowPosted, 0, 0) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  // S_OK when the control is there and the question is about the link itself.
  HRESULT Check(const VARIANT& child, const void* out) const {
    if (!out) return E_POINTER;
    if (!state_) return CO_E_OBJNOTCONNECTED;
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF ? S_OK : E_INVALIDARG;
  }
  HRESULT Nothing(const VARIANT& child, BSTR* out) const {
    if (out) *out = nullptr;
    const HRESULT answer = Check(child, out);
    return answer == S_OK ? S_FALSE : answer;
  }

  LONG references_ = 1;  // the control's own
  HWND hwnd_;
  State* state_;  // nullptr once the window is gone
  IAccessible* standard_;
};

LRESULT AnswerGetObject(HWND hwnd, State& state, WPARAM w, LPARAM l) {
  if (static_cast<LONG>(l) != OBJID_CLIENT) return DefWindowProcW(hwnd, WM_GETOBJECT, w, l);
  if (!state.accessible) {
    // The object is marshalled to the asking process: COM on this thread.
    if (!state.comJoined) state.comJoined = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    IAccessible* standard = nullptr;
    if (FAILED(
            CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))))
      return DefWindowProcW(hwnd, WM_GETOBJECT, w, l);
    // A client in this process may hold the object after the host let go
    // of the DLL: its code stays loaded for the rest of the process.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<const wchar_t*>(&AnswerGetObject), &self);
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(LinkAccessible));
    if (!memory) {
      standard->Release();
      return DefWindowProcW(hwnd, WM_GETOBJECT, w, l);
    }
    state.accessible = new (memory) LinkAccessible(hwnd, &state, standard);
  }
  return LresultFromObject(__uuidof(IAccessible), w, state.accessible);
}

void DisconnectAccessible(State& state) {
  if (state.accessible) {
    state.accessible->Disconnect();
    // Other processes' proxies are cut off: their calls fail as disconnected
    // rather than reach an object whose apartment may end below.
    CoDisconnectObject(state.accessible, 0);
    state.accessible->Release();
    state.accessible = nullptr;
  }
  if (state.comJoined) CoUninitialize();
  state.comJoined = false;
}

}  // namespace platform::link_label
