// Geometry of the quenvarel editor, apart from any window. The dialog
// template is drawn to fit its 483 x 218 background picture at the design's
// dialog base units (6 x 13 pixels per 4 x 8 dialog units, those of MS Sans
// Serif 8 at 96 dpi). Where the dialog font measures otherwise (a substitute
// font, another screen resolution), the dialog manager would place the
// controls elsewhere and the picture would no longer fit; the editor moves
// them back to where these functions say.
#pragma once

namespace FilterEditorLayout {

const int kWidth = 483;  // pixels: the editor rectangle and the background picture
const int kHeight = 218; // pixels
const int kDesignBaseX = 6;
const int kDesignBaseY = 13;

// A control's rectangle in pixels, relative to the dialog's client area.
struct Box {
    int x, y, width, height;
};

// Where the design places a control that the dialog manager laid out at base
// units baseX x baseY (each at least 1): every coordinate goes back to dialog
// units (MapDialogRect's inverse) and out again at 6 x 13.
Box toDesign(Box laidOut, int baseX, int baseY);

// A right-aligned label whose text is `textWidth` pixels wide: the box grows
// to the left until the text fits (never past the dialog's left edge), so
// the text stays where the design puts its end and is never cut.
Box fitRightAligned(Box box, int textWidth);

} // namespace FilterEditorLayout
