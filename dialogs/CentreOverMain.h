#pragma once
// Where a dialog opens: centred over the main window's outer bounds, in
// twips, without clamping to the screen.

namespace dialogs {

struct Placement {
  float Top;
  float Left;
};

// Computes in double from the single-precision bounds, then rounds once to
// single precision. A result that does not fit (overflow, infinity, NaN)
// raises the run-time error 6.
Placement CentreOverMain(float mainLeft, float mainTop, float mainWidth, float mainHeight, float dialogWidth,
                         float dialogHeight);

// Outer bounds of a window in physical pixels.
struct PixelRect {
  int left, top, width, height;
};

struct PixelPoint {
  int x, y;
};

// The dialog's top-left corner in physical pixels. When both windows have
// the same DPI this is CentreOverMain on their twips, rounded to the pixel.
// Twips at two DPIs do not measure the same length on the screen, so with
// different DPIs the dialog is centred in physical pixels instead.
PixelPoint DialogPosition(const PixelRect& main, int mainDpi, int dialogWidth, int dialogHeight, int dialogDpi);

}  // namespace dialogs
