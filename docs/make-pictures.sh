#!/usr/bin/env bash
# Makes the guide's pictures again from the program itself:
#   docs/images/window.png             the window after start-up
#   docs/images/window-calculated.png  the window after a press on 计算
#   docs/images/report-page.png        page 1 of the calculation report (PDF)
# and the README's: docs/window.png (after 计算), docs/report-page-1.png and
# docs/screenshots/ (the JGJ 55-2011 window at 1 024 × 768, the classic
# window with a finding at its foot).
# The window runs under a virtual X server (Xvfb), so no screen is needed.
#
#   docs/make-pictures.sh [BUILD_DIR]     (default: build; run `make` first)
#
# Needs xvfb, imagemagick, xdotool and poppler-utils:
#   scripts/install-deps docs
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
program=$build/lanshi
images=$here/images
[ -x "$program" ] || { echo "make-pictures: $program not found; build the program first" >&2; exit 1; }
for tool in xvfb-run import xdotool pdftoppm; do
    command -v "$tool" >/dev/null || { echo "make-pictures: $tool is missing (scripts/install-deps docs)" >&2; exit 1; }
done
mkdir -p "$images"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The usual number format, whatever this machine's: the pictures show the
# figures the guide quotes.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset LANGUAGE

cat >"$work/window.sh" <<'SCRIPT'
set -euo pipefail
program=$1
images=$2
"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=$(xdotool search --sync --onlyvisible --pid "$pid" | head -n 1)
sleep 1
import -window "$window" "$images/window.png"
# The centre of 计算 (Command1) in the window: its frame 关于 stands at
# 5790, 2880 twips and the button at 270, 240 in the frame, 855 × 375 wide;
# 15 twips to the pixel.
xdotool mousemove --window "$window" 432 220 click 1
sleep 1
import -window "$window" "$images/window-calculated.png"
SCRIPT
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/window.sh" "$program" "$images"

# The README's screenshots (docs/screenshots/): the JGJ 55-2011 window on a
# 1 024 × 768 screen with a note of 注意, a value outside its usual range and
# the construction mix; the classic window with a finding at its foot (a
# sand ratio typed as a percentage), after 计算.
shots=$here/screenshots
mkdir -p "$shots"
cat >"$work/jgj55.lanshi" <<'DESIGN'
{"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": {"fcuk": 25, "cementGrade": "42.5",
 "flyAsh": {"fraction": 0.2}, "admixture": {"fraction": 0.01, "waterReduction": 0.2},
 "stone": "crushed", "maxSize": 20, "slump": 180, "sandRatio": 0.4, "environment": "三a",
 "sandMoisture": 3, "stoneMoisture": 1}}
DESIGN
echo '{"lanshi-design": 1, "fields": {"Text15": "36"}}' >"$work/classic.lanshi"
cat >"$work/shots.sh" <<'SCRIPT'
set -euo pipefail
program=$1
work=$2
shots=$3
"$program" "$work/jgj55.lanshi" &
pid=$!
xdotool search --sync --onlyvisible --name 'JGJ 55-2011' >/dev/null
sleep 2
import -window root "$shots/jgj55-1024x768.png"
kill $pid
wait $pid 2>/dev/null || true
"$program" "$work/classic.lanshi" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=$(xdotool search --sync --onlyvisible --pid "$pid" | head -n 1)
sleep 1
xdotool mousemove --window "$window" 432 220 click 1
sleep 1
import -window "$window" "$shots/classic-finding.png"
SCRIPT
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/shots.sh" "$program" "$work" "$shots"
for picture in "$shots"/*.png; do
    mogrify -strip -define png:exclude-chunks=date,time "$picture"
done

# The report of the defaults, as `lanshi --report` writes it for a design
# that gives no field: every field takes its default.
if "$program" --help 2>/dev/null | grep -q -- '--report'; then
    echo '{"lanshi-design": 1}' >"$work/defaults.lanshi"
    "$program" --report "$work/defaults.lanshi" -o "$work/report.pdf"
    pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$work/report.pdf" "$images/report-page"
else
    echo "make-pictures: this lanshi has no --report; report-page.png left as it is" >&2
fi

# Smaller files, same pixels: no time stamps, so a picture that did not
# change leaves git with nothing to commit.
for picture in "$images"/*.png; do
    mogrify -strip -define png:exclude-chunks=date,time "$picture"
done
# The README shows the same two in colour.
cp "$images/window-calculated.png" "$here/window.png"
if [ -f "$work/report.pdf" ]; then
    pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$work/report.pdf" "$here/report-page-1"
    mogrify -strip -define png:exclude-chunks=date,time "$here/report-page-1.png"
fi
ls -l "$images" "$here/window.png" "$here/report-page-1.png"
