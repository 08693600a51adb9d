#!/usr/bin/env bash
# Installs the Debian packages that the named groups need, skipping those already
# installed. An entry "package:command" is also skipped when the command is on the PATH
# (Node.js and npm often come from elsewhere than Debian). Groups: build (compiler, CMake, GoogleTest,
# universal-ctags and libclang for Python for the cross-reference yardsticks), windows (MinGW-w64, Wine,
# Xvfb, ImageMagick, chmcmd, NSIS), browser (Chromium, Node.js), fuzz (clang), microbench (Google Benchmark), bench (the peers),
# package (the Debian package: dpkg-shlibdeps, file, lintian, groff for the manual page).
set -euo pipefail

declare -A groups=(
  [build]="cmake g++ make googletest universal-ctags python3 python3-clang-14"
  [windows]="g++-mingw-w64-x86-64 wine wine64 xvfb xdotool x11-utils imagemagick fp-utils nsis"
  [browser]="chromium nodejs:node npm:npm"
  [fuzz]="clang libclang-rt-14-dev"
  [microbench]="libbenchmark-dev"
  [bench]="libbenchmark-dev source-highlight highlight python3-pygments global time"
  [package]="dpkg-dev file lintian groff-base"
)

wanted=()
for group in "$@"; do
  [[ -n "${groups[$group]+x}" ]] || { echo "install-deps: unknown group '$group'" >&2; exit 2; }
  for entry in ${groups[$group]}; do
    package=${entry%%:*}
    command=${entry#*:}
    [[ $entry == *:* ]] && command -v "$command" > /dev/null && continue
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      wanted+=("$package")
  done
done
[[ ${#wanted[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
echo "Installing: ${wanted[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${wanted[@]}" >/dev/null
