#!/usr/bin/env bash
# The Windows package, unpacked into a fresh folder and run in a fresh Wine prefix: a
# project passed on quillon.exe's command line becomes its workspace, with the pictures
# and tree pages that only the packaged data files can give. Usage: check_package.sh
# <cross build folder>. Builds the package first. Never runs longer than 10 minutes.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/gui_common.sh"

if [ "${1:-}" != "--inside" ]; then
  [ $# -eq 1 ] || die "usage: check_package.sh <cross build folder>"
  build=$(cd "$1" && pwd)
  need_tools wine wineserver wineboot xvfb-run timeout cmake
  timeout 600 cmake --build "$build" --target package_windows gui_driver >/dev/null ||
    die "cannot build the package"
  exec timeout -k 10 600 xvfb-run -a -s "$display_options" bash "$0" --inside "$build"
fi

build=$2
out=$build/package-test
rm -rf "$out"
mkdir -p "$out/unpacked" "$out/sample"
zip=$(ls "$build"/Quillon-*-win64.zip | head -n 1)
(cd "$out/unpacked" && cmake -E tar xf "$zip")
program=$(ls "$out"/unpacked/*/quillon.exe)
folder=$(dirname "$program")
for f in quillon-cli.exe SourceTree_Template.htm ClassTree_Template.htm ProjectTree_Template.htm \
         Tree.js Tabs.htm FileTab.htm Quillon.bmp Images/foldericon.gif; do
  [ -f "$folder/$f" ] || die "the package lacks $f"
done
[ ! -e "$folder/CMakeFiles" ] || die "the package holds build files"
echo "package $(basename "$zip"): $(cd "$folder" && find . -type f | wc -l) files"

# A small project of its own, outside the package.
sample=$out/sample
printf '#include "shapes.h"\r\nint main() { Circle c; return 0; }\r\n' >"$sample/main.cpp"
printf 'class Circle { public: int radius; };\r\n' >"$sample/shapes.h"
cat >"$sample/Shapes.vcproj" <<'PROJECT'
<?xml version="1.0" encoding="Windows-1252"?>
<VisualStudioProject
	ProjectType="Visual C++"
	Version="7.10"
	Name="Shapes">
	<Files>
		<Filter Name="Source Files" Filter="cpp">
			<File RelativePath="main.cpp">
			</File>
		</Filter>
		<Filter Name="Header Files" Filter="h">
			<File RelativePath="shapes.h">
			</File>
		</Filter>
	</Files>
</VisualStudioProject>
PROJECT

export WINEPREFIX=$out/wineprefix  # fresh: made anew for this check
trap 'timeout 30 wineserver -k 2>/dev/null || true' EXIT
prepare_prefix

# The program is started from the sample's folder: it must find its data beside itself.
timeout -k 10 300 wine "$build/tests/app/win32/gui_driver.exe" package "$program" \
  "$sample/Shapes.vcproj" "$sample/Shapes_Project.htm" || die "the packaged program failed"

for f in Shapes_Project.htm Shapes_HTML/main.cpp.htm Shapes_HTML/shapes.h.htm; do
  [ -s "$sample/$f" ] || die "the workspace lacks $f"
done
[ -n "$(find "$sample/Shapes_HTML" -name foldericon.gif)" ] ||
  die "the workspace lacks the packaged pictures"
# The command in the package finds the same data files beside itself.
(cd "$sample" && timeout -k 10 120 wine "$folder/quillon-cli.exe" main.cpp shapes.h >/dev/null) ||
  die "the packaged quillon-cli.exe failed"
[ -n "$(find "$sample/Project_HTML" -name foldericon.gif)" ] ||
  die "the packaged quillon-cli.exe did not find its pictures"
echo "package test passed"
