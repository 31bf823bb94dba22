// Geometry of the installer dialog apart from any window. The template is
// drawn for MS Sans Serif 8; where the system substitutes a wider font, a
// label would wrap its last word out of sight, so the dialog widens it.
#pragma once

namespace SetupLayout {

// The left edge (pixels) of a label that ends at `right` and was laid out
// from `left`, holding text `textWidth` pixels wide: it grows to the left,
// keeping its end next to the box it names, but never past `minLeft`.
int fittedLeft(int left, int right, int textWidth, int minLeft);

} // namespace SetupLayout
