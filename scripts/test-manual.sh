#!/bin/sh
# The manual: docs/manual/ is exactly what the sources make; every link and
# picture in it resolves and the welcome page links every page; the help file
# of each Windows build holds every page byte for byte as published, and every
# topic the editor and its dialogs open.
set -e
cd "$(dirname "$0")/.."
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The build and link-check tools themselves, on small made-up manuals.
if ! "$python" tools/manual/test_manual_tools.py >"$tmp/unit" 2>&1; then
  cat "$tmp/unit"
  exit 1
fi
echo "manual: tool tests: $(grep "^Ran" "$tmp/unit"), OK"
"$python" tools/manual/make_manual.py --source docs/help --html "$tmp/html"
if ! diff -r "$tmp/html" docs/manual >"$tmp/diff"; then
  head -n 40 "$tmp/diff"
  echo "manual: docs/manual/ differs from docs/help/: run sh scripts/manual.sh and commit"
  exit 1
fi
"$python" tools/manual/check_links.py docs/manual --hub Welcome.htm

# Topics the editor's context menu, its Help menu and the dialogs' Help buttons
# open, and any topic named in the code.
topics="Welcome.htm HomePositions.htm ParameterRanges.htm HomePositionEnvelopes.htm
ParameterRangeEnvelopes.htm IndividualOscillatorMovement.htm HyperspaceFlockingBehaviour.htm
Additional_Processing.htm HyperspaceVisualisation.htm SpeedLFODialog.htm SynthesisOptions.htm
DeterminismSeeding.htm VisualisationOptions.htm MidiControllerMap.htm"
grep -rhoE '"[^"]*\.htm"' synth filter setup 2>/dev/null | tr -d '"' | tr ' ' '_' >"$tmp/code-topics" || true
topics="$topics $(sort -u "$tmp/code-topics")"

checked=0
for preset in win64 win32; do
  chm="build/$preset/bin/Nimbulator.chm"
  if [ ! -f "$chm" ]; then
    echo "manual: $chm is missing (build the $preset preset)"
    exit 1
  fi
  # The help file's own listing of its contents, one stored path a line.
  enum_chmLib "$chm" | awk -F'\t' '/normal file/ { print $NF }' >"$tmp/listing"
  for topic in $topics; do
    name=$(echo "$topic" | tr '_' ' ')
    grep -qxF "/$name" "$tmp/listing" || { echo "manual: $chm lacks the topic \"$name\""; exit 1; }
  done
  rm -rf "$tmp/chm"
  extract_chmLib "$chm" "$tmp/chm" >/dev/null
  (cd docs/manual && find . -type f) | while read -r file; do
    if ! cmp -s "docs/manual/$file" "$tmp/chm/$file"; then
      echo "manual: $file in $chm differs from docs/manual/"
      exit 1
    fi
  done
  pages=$(grep -c '\.htm$' "$tmp/listing")
  echo "manual: $chm holds $pages pages, every topic and every published file"
  checked=$((checked + 1))
done
echo "manual: $checked help files checked"
