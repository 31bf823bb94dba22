"""Shared helpers of the art generators.

Every bitmap, icon and cursor of the product is drawn at build time by a
script that uses these modules: `theme` holds the one palette and the one
type scale, `draw` the shared drawing routines, `rasterfiles` the Windows
file writers and `main` the command line every script shares.
"""

from .cli import main  # noqa: F401
