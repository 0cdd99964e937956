#!/usr/bin/env bash
# The demo: the real setup.exe under Wine in a demo prefix with Netscape
# Navigator 4.08 and Internet Explorer 4 registered.
#  - With a display (and a terminal), the real program runs interactively;
#    afterwards the table shows what was installed where.
#  - Without one, it runs on Xvfb through the default walk (install into
#    every browser found), saves a PNG of each window in order and a contact
#    sheet in demo-out/, and prints the table.
set -euo pipefail
cd "$(dirname "$0")/.."

X64=build/x64
PREFIX=$X64/demo-prefix
OUT=demo-out
DRIVER="wine $X64/e2e_driver.exe"
FIX=$(realpath $X64/fixtures)
SETUP=$(realpath dist/x64/setup.exe)
SCN=$(realpath tests/e2e/demo)
CONVERT=/usr/bin/convert
MONTAGE=/usr/bin/montage

if [ -n "${DISPLAY:-}" ] && [ -t 0 ] && [ -z "${CI:-}" ]; then
  echo "Interactive demo: the setup opens on your display."
  bash scripts/with-wine.sh $PREFIX $DRIVER "$SETUP" "$SCN/prepare.scn" "$FIX" "$(realpath -m $OUT/raw)" >/dev/null
  bash scripts/with-wine.sh $PREFIX wine "$SETUP" || true
  bash scripts/with-wine.sh $PREFIX $DRIVER "$SETUP" "$SCN/report.scn" "$FIX" "$(realpath -m $OUT/raw)" | grep '^|'
  exit 0
fi

rm -rf $OUT
mkdir -p $OUT/raw
echo "Demo on a virtual display: the default walk of the real setup.exe"
bash scripts/with-wine.sh $PREFIX --xvfb $DRIVER "$SETUP" "$SCN/walk.scn" "$FIX" "$(realpath $OUT/raw)" \
  | tee $OUT/walk.log | grep -v '^|'
for bmp in $OUT/raw/*.bmp; do
  $CONVERT "$bmp" "$OUT/$(basename "${bmp%.bmp}").png"
done
rm -rf $OUT/raw
$MONTAGE $OUT/[0-9]*.png -tile 3x -geometry +10+10 -background '#3a6ea5' $OUT/contact-sheet.png
echo
echo "Screenshots: $(ls $OUT/[0-9]*.png | wc -l) windows in $OUT/, contact sheet $OUT/contact-sheet.png"
grep '^|' $OUT/walk.log
