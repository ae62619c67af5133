#include "platform/forms/form_window.h"

#include <commctrl.h>

#include <memory>

namespace platform {

namespace {

constexpr UINT_PTR kTextBoxSubclass = 1;

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassFor(const Control& c) {
  switch (c.kind) {
    case ControlKind::Label: return {L"Static", DWORD(c.align == Align::Centre ? SS_CENTER : SS_LEFT), 0};
    case ControlKind::TextBox: return {L"Edit", WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE};
    case ControlKind::PushButton: return {L"Button", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox: return {L"Button", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::LinkLabel: return {kLinkLabelClass, WS_TABSTOP, 0};
  }
  return {L"Static", 0, 0};
}

}  // namespace

HMENU Form::Live::BuildMenu(std::span<const MenuEntry> entries) {
  if (entries.empty()) return nullptr;
  HMENU bar = ::CreateMenu();
  for (const MenuEntry& top : entries) {
    if (top.parentId != 0) continue;
    HMENU popup = ::CreatePopupMenu();
    for (const MenuEntry& item : entries) {
      if (item.parentId != top.id) continue;
      if (std::wstring_view(item.caption) == kSeparator)
        ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      else
        ::AppendMenuW(popup, MF_STRING, item.id, item.caption);
    }
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), top.caption);
  }
  return bar;
}

bool Form::Live::CreateControls() {
  // Creation order is the window order, in which the dialog manager walks
  // the controls for Tab and a screen reader reads them. The controls that
  // can take the focus come in tab order. A label keeps its place in the
  // table, right before the entry that follows it there: a text box's
  // prompt comes just before it, which names it for a screen reader, and a
  // window's texts read as the table lists them, top to bottom.
  const std::span<const Control> controls = form_.layout_.controls;
  const auto ordered = std::make_unique<const Control*[]>(controls.size());
  std::size_t count = 0;
  const auto insert = [&](std::size_t at, const Control* c) {
    for (std::size_t k = count++; k > at; --k) ordered[k] = ordered[k - 1];
    ordered[at] = c;
  };
  for (const Control& c : controls) {
    if (c.kind == ControlKind::Label) continue;
    std::size_t at = count;  // behind every control with a lower or equal tab index
    while (at > 0 && ordered[at - 1]->tabIndex > c.tabIndex) --at;
    insert(at, &c);
  }
  for (std::size_t i = controls.size(); i-- > 0;) {
    if (controls[i].kind != ControlKind::Label) continue;
    std::size_t at = 0;  // before the entry that follows it, or last
    while (at < count && ordered[at] != controls.data() + i + 1) ++at;
    insert(at, &controls[i]);
  }
  for (const Control* c : std::span(ordered.get(), count)) {
    const ControlClass cls = ClassFor(*c);
    // Born where the table puts it at the window's DPI: no second move.
    const PixelBounds r = ControlBounds(*c);
    HWND control = ::CreateWindowExW(
        cls.exStyle, cls.name, c->caption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | cls.style, r.left, r.top, r.width,
        r.height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c->id)), Instance(), nullptr);
    if (!control) return false;
    if (c->kind == ControlKind::TextBox) {
      ::SendMessageW(control, EM_SETLIMITTEXT, 32767, 0);  // a whole command line
      ::SetWindowSubclass(control, &Live::TextBoxProcedure, kTextBoxSubclass, reinterpret_cast<DWORD_PTR>(this));
    }
    if (c->kind == ControlKind::LinkLabel && c->link) linkLabel_.Configure(control, *c->link, c->align);
  }
  ClipUnderTopControls();
  return true;
}

// A control drawn over others keeps its place in the window order, where a
// screen reader reads it after the control it lies on: the controls below
// leave it out of their own regions instead of painting over it.
void Form::Live::ClipUnderTopControls() {
  for (const Control& c : form_.layout_.controls) {
    if (c.drawnOnTop) continue;
    const PixelBounds r = ControlBounds(c);
    UniqueRegion region(::CreateRectRgn(0, 0, r.width, r.height));
    bool clipped = false;
    for (const Control& top : form_.layout_.controls) {
      if (!top.drawnOnTop) continue;
      const PixelBounds t = ControlBounds(top);
      const RECT below{r.left, r.top, r.left + r.width, r.top + r.height};
      const RECT above{t.left, t.top, t.left + t.width, t.top + t.height};
      RECT overlap;
      if (!::IntersectRect(&overlap, &below, &above)) continue;
      const UniqueRegion hole(
          ::CreateRectRgn(overlap.left - r.left, overlap.top - r.top, overlap.right - r.left, overlap.bottom - r.top));
      clipped |= ::CombineRgn(region.get(), region.get(), hole.get(), RGN_DIFF) != ERROR;
    }
    // The window owns a region it was given.
    if (clipped && ::SetWindowRgn(ControlWindow(c.id), region.get(), TRUE)) region.release();
  }
}

const Control* Form::Live::ControlEntry(int id) const {
  for (const Control& c : form_.layout_.controls)
    if (c.id == id) return &c;
  return nullptr;
}

}  // namespace platform
