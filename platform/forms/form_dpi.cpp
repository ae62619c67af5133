// A form's pixels at its DPI: window size, control rectangles, fonts and
// icons from the twips and points of its table, and all of them again when
// the window moves to a monitor with another DPI.
#include "platform/forms/form_window.h"
#include "platform/forms/twips.h"

namespace platform {

namespace {

UniqueFont CreateFontAt(const Font& font, int dpi) {
  return UniqueFont(::CreateFontW(-PointsToPixels(font.points, dpi), 0, 0, 0, font.weight, FALSE, font.underline, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, font.face));
}

}  // namespace

void Form::Live::SetIcons() {
  const int resource = form_.layout_.iconResource;
  if (!resource) return;
  // The big icon for Alt+Tab and the task bar, the small one for the caption.
  // Not shared: a shared icon keeps the size it was first loaded at.
  UniqueIcon big(static_cast<HICON>(::LoadImageW(Instance(), MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                                 ::GetSystemMetricsForDpi(SM_CXICON, dpi_),
                                                 ::GetSystemMetricsForDpi(SM_CYICON, dpi_), 0)));
  UniqueIcon small(static_cast<HICON>(::LoadImageW(Instance(), MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                                   ::GetSystemMetricsForDpi(SM_CXSMICON, dpi_),
                                                   ::GetSystemMetricsForDpi(SM_CYSMICON, dpi_), 0)));
  ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  // The window uses the new icons now: the old ones go.
  bigIcon_ = std::move(big);
  smallIcon_ = std::move(small);
}

SIZE Form::Live::OuterSizeAt(int dpi) const {
  const FormLayout& layout = form_.layout_;
  RECT outer{0, 0, TwipsToPixels(layout.clientWidth, dpi), TwipsToPixels(layout.clientHeight, dpi)};
  ::AdjustWindowRectExForDpi(&outer, style_, ::GetMenu(hwnd_) != nullptr, exStyle_, static_cast<UINT>(dpi));
  return {outer.right - outer.left, outer.bottom - outer.top};
}

PixelBounds Form::Live::ControlBounds(const Control& c) const {
  return {TwipsToPixels(c.left, dpi_), TwipsToPixels(c.top, dpi_), TwipsToPixels(c.width, dpi_),
          TwipsToPixels(c.height, dpi_)};
}

void Form::Live::ApplyFonts() {
  // The controls get their new fonts before the old ones are deleted: a
  // control must never hold a deleted font.
  UniqueFont defaultFont = CreateFontAt(kDefaultFont, dpi_);
  const std::span<const Control> controls = form_.layout_.controls;
  auto fonts = std::make_unique<UniqueFont[]>(controls.size());  // a control's own font, if it has one
  for (std::size_t i = 0; i < controls.size(); ++i) {
    HFONT font = defaultFont.get();
    if (controls[i].font) {
      fonts[i] = CreateFontAt(*controls[i].font, dpi_);
      font = fonts[i].get();
    }
    ::SendMessageW(ControlWindow(controls[i].id), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  defaultFont_ = std::move(defaultFont);
  fonts_ = std::move(fonts);
}

void Form::Live::LayOutControls() {
  ApplyFonts();
  for (const Control& c : form_.layout_.controls) {
    const PixelBounds r = ControlBounds(c);
    ::SetWindowPos(ControlWindow(c.id), nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ClipUnderTopControls();
  // The controls too: the form clips its children, so its own repaint would
  // leave their text drawn in the old font.
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT Form::Live::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOutControls();
  SetIcons();
  return 0;
}

// Asked before a DPI change: the size the window will then have, so that the
// suggested rectangle holds the client area of the twips exactly.
LRESULT Form::Live::OnGetDpiScaledSize(int dpi, SIZE& size) const {
  size = OuterSizeAt(dpi);
  return TRUE;
}

// Still hidden, the window gets the size of its DPI and the middle of its
// monitor's work area in one move, as a window written by hand would.
void Form::Live::SizeAndCentre() {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &info);
  const SIZE outer = OuterSizeAt(dpi_);
  const RECT& work = info.rcWork;
  const int x = work.left + ((work.right - work.left) - outer.cx) / 2;
  const int y = work.top + ((work.bottom - work.top) - outer.cy) / 2;
  ::SetWindowPos(hwnd_, nullptr, x, y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace platform
