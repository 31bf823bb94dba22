"""The product's one palette and one type scale.

Colours are (r, g, b) tuples of 0..255. Every generator takes its colours and
text sizes from here, so the instrument, the effect and the installer look
like one family: a dark slate chassis, raised panels, steel-blue accents and
light text.
"""

# Surfaces, darkest to lightest.
CHASSIS = (26, 30, 35)          # the outer body behind everything
CHASSIS_GRAIN = (31, 36, 42)    # the chassis' faint brushed lines
PANEL = (40, 46, 54)            # section panels; knob faces sit on this
PANEL_HIGHLIGHT = (66, 76, 88)  # upper and left edge of a raised panel
PANEL_SHADOW = (14, 16, 19)     # lower and right edge of a raised panel
WELL = (18, 21, 25)             # sunken areas: displays, value wells
WELL_EDGE = (58, 66, 76)

# Light rails where the editor draws its dark connector lines (the selected
# dimension's column to its envelope graphs); dark lines need a light ground.
RAIL = (170, 178, 188)
RAIL_EDGE = (110, 118, 128)

# Text.
TEXT = (226, 232, 238)          # titles and values
TEXT_DIM = (146, 160, 172)      # section captions
TEXT_FAINT = (96, 108, 120)     # small print

# Accents.
ACCENT = (92, 150, 186)         # steel blue, as the menu buttons
ACCENT_DARK = (40, 63, 79)      # the menu buttons' resting fill
ACCENT_BRIGHT = (150, 200, 230)

# Knob caps: a light brushed-metal cap so the dark indicator dots read.
CAP_LIGHT = (236, 238, 240)
CAP_MID = (196, 201, 207)
CAP_DARK = (120, 126, 134)
CAP_RIM = (10, 12, 14)

# The five sound dimensions (volume, pitch, pan, resonance, noise): the dark
# colour marks knob dots and hyperspace pens, the light colour knob captions
# and envelope names. The editor's code uses the same values.
DIMENSION_DARK = [(0, 0, 128), (0, 128, 0), (128, 0, 0), (128, 128, 0), (128, 0, 128)]
DIMENSION_LIGHT = [(128, 128, 192), (128, 192, 128), (192, 128, 128), (192, 192, 128),
                   (128, 128, 192)]
# Brighter versions of the dimension hues for art accents (rings, captions):
# they stay recognisably the same hue on the dark chassis.
DIMENSION_ACCENT = [(120, 140, 235), (110, 205, 120), (230, 110, 105), (215, 200, 95),
                    (195, 120, 220)]
DIMENSION_NAMES = ["VOLUME", "PITCH", "PAN", "RESONANCE", "NOISE"]

# Neutral knobs (no dimension): grey caption (144,144,144), dot (68,68,68).
NEUTRAL_ACCENT = (150, 158, 168)

# The type scale, in pixels (cairo font size), with the face to use. One
# family for the whole product: DejaVu Sans (Debian's fonts-dejavu-core).
FONT = "DejaVu Sans"
FONT_CONDENSED = "DejaVu Sans Condensed"


class TextStyle:
    def __init__(self, size, bold=False, condensed=False, tracking=0.0):
        self.size = size            # pixels
        self.bold = bold
        self.condensed = condensed
        self.tracking = tracking    # extra pixels between letters

    @property
    def family(self):
        return FONT_CONDENSED if self.condensed else FONT


TITLE = TextStyle(25, bold=True, tracking=2.0)       # product name
SUBTITLE = TextStyle(9, condensed=True, tracking=1.2)
SECTION = TextStyle(8.5, bold=True, condensed=True, tracking=1.1)  # panel captions
LABEL = TextStyle(8, condensed=True, tracking=0.4)    # small print, scale marks
