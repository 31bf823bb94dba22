#!/bin/sh
# Cuts the manual's pictures out of the GUI host's screenshots, as listed in
# docs/help/pictures.txt, into docs/help/images/.
# Usage: cut_pictures.sh SCREENSHOT_FOLDER   (run from the repository's root)
set -e
shots="$1"
list=docs/help/pictures.txt
out=docs/help/images
[ -d "$shots" ] || { echo "cut_pictures: no folder $shots"; exit 1; }
mkdir -p "$out"
grep -v '^[[:space:]]*\(#\|$\)' "$list" | while IFS='|' read -r picture shot rectangles; do
  picture=$(echo "$picture" | tr -d ' ')
  shot=$(echo "$shot" | tr -d ' ')
  [ -f "$shots/$shot" ] || { echo "cut_pictures: $picture: no screenshot $shots/$shot"; exit 1; }
  # Several rectangles (separated by ";") are cut and set side by side, top
  # aligned, on the colour of the first rectangle's top-left pixel.
  pieces=""
  background=""
  for rectangle in $(echo "$rectangles" | tr -d ' ' | tr ';' ' '); do
    set -- $(echo "$rectangle" | tr ',' ' ')
    if [ $# -ne 4 ] || [ "$3" -le "$1" ] || [ "$4" -le "$2" ]; then
      echo "cut_pictures: $picture: bad rectangle \"$rectangle\""
      exit 1
    fi
    [ -n "$background" ] || background=$(convert "$shots/$shot" -format "%[pixel:p{$1,$2}]" info:)
    pieces="$pieces ( $shots/$shot -crop $(($3 - $1))x$(($4 - $2))+$1+$2 +repage )"
  done
  # -strip keeps the files free of time stamps, so an unchanged picture stays byte-identical.
  convert $pieces -background "$background" -gravity north +append -strip "$out/$picture"
  echo "cut_pictures: $out/$picture"
done
