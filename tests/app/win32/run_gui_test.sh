#!/usr/bin/env bash
# The GUI test: quillon.exe under Wine on a virtual X display, used by gui_driver.exe as a
# person would (see gui_driver.cpp), with screenshots of its windows checked not to be
# blank, and the reference link it added read back by quillon-cli.exe. Usage: run_gui_test.sh <cross build folder>. Leaves everything under
# <build>/gui-test (screenshots in gui-test/screenshots). Never runs longer than 15 minutes.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/gui_common.sh"

if [ "${1:-}" != "--inside" ]; then
  [ $# -eq 1 ] || die "usage: run_gui_test.sh <cross build folder>"
  build=$(cd "$1" && pwd)
  need_tools wine wineserver wineboot xvfb-run import identify timeout
  [ -f "$build/quillon.exe" ] || die "$build/quillon.exe is not built"
  [ -f "$build/quillon-cli.exe" ] || die "$build/quillon-cli.exe is not built"
  [ -f "$build/tests/app/win32/gui_driver.exe" ] || die "gui_driver.exe is not built"
  [ -f "$build/data/SourceTree_Template.htm" ] || die "$build/data holds no data files"
  exec timeout -k 10 900 xvfb-run -a -s "$display_options" bash "$0" --inside "$build"
fi

build=$2
out=$build/gui-test
work=$out/work
shots=$out/screenshots
export WINEPREFIX=$out/wineprefix
rm -rf "$work" "$shots"
mkdir -p "$work" "$shots"
# The program starts in a folder that holds its data files, as it would when installed.
for f in "$build"/data/*.htm "$build"/data/*.js "$build"/data/Quillon.bmp "$build"/data/Quillon.chm; do
  [ -f "$f" ] && cp "$f" "$work/"
done
cp -r "$build/data/Images" "$work/"

cleanup() {
  [ -n "${watcher:-}" ] && kill "$watcher" 2>/dev/null || true
  timeout 30 wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

prepare_prefix

# Takes the screenshots the driver asks for: NAME.request holds the window's geometry.
take_screenshots() {
  while true; do
    for request in "$shots"/*.request; do
      [ -f "$request" ] || continue
      name=$(basename "$request" .request)
      geometry=$(cat "$request")
      rm -f "$request"
      timeout 30 import -window root -crop "$geometry" +repage "$shots/$name.png" ||
        echo "screenshot $name failed" >&2
      touch "$shots/$name.done"
    done
    sleep 0.2
  done
}
take_screenshots &
watcher=$!

status=0
timeout -k 10 600 wine "$build/tests/app/win32/gui_driver.exe" full "$build/quillon.exe" \
  "$work" "$shots" || status=$?
[ $status -eq 0 ] || die "the GUI driver failed (status $status)"

# The command reads the reference links file that the dialog wrote.
listed=$(cd "$work" && timeout -k 10 120 wine "$build/quillon-cli.exe" links list | tr -d '\r')
[ "$listed" = "driverword http://example.invalid/driverword cpp" ] ||
  die "quillon-cli.exe links list of the dialog's file gave: $listed"
echo "quillon-cli.exe lists the dialog's link"

for name in main_window output_dialog color_picker reference_links about; do
  png=$shots/$name.png
  [ -s "$png" ] || die "no screenshot $png"
  deviation=$(identify -format '%[fx:standard_deviation]' "$png")
  awk -v d="$deviation" 'BEGIN { exit !(d > 0.01) }' ||
    die "the screenshot $png is blank (standard deviation $deviation)"
  echo "screenshot $name: $(identify -format '%wx%h' "$png"), standard deviation $deviation"
done
echo "GUI test passed"
