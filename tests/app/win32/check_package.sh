#!/usr/bin/env bash
# The Windows packages in a fresh Wine prefix. The ZIP, unpacked into a fresh folder: a
# project passed on quillon.exe's command line becomes its workspace, with the pictures
# and tree pages that only the packaged data files can give. The installer, run silently:
# the programs and data under Program Files, a Start-menu shortcut and an uninstall entry;
# the installed command converts and keeps reference links, the installed program starts,
# converts and ends; the silent uninstaller leaves nothing of it behind. Usage:
# check_package.sh <cross build folder>. Builds the packages first. Never runs longer than
# 10 minutes.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/gui_common.sh"

if [ "${1:-}" != "--inside" ]; then
  [ $# -eq 1 ] || die "usage: check_package.sh <cross build folder>"
  build=$(cd "$1" && pwd)
  need_tools wine wineserver wineboot winepath xvfb-run timeout cmake makensis
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
version=$(basename "$zip" -win64.zip)
version=${version#Quillon-}
grep -aqF "Quillon $version Help" "$folder/Quillon.chm" || die "the help file does not carry $version"
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

for f in Shapes_Project.htm Shapes_HTML/main.cpp.htm Shapes_HTML/shapes.h.htm Shapes_HTML/SearchIndex.js; do
  [ -s "$sample/$f" ] || die "the workspace lacks $f"
done
[ -n "$(find "$sample/Shapes_HTML" -name foldericon.gif)" ] ||
  die "the workspace lacks the packaged pictures"
# The command in the package finds the same data files beside itself.
(cd "$sample" && timeout -k 10 120 wine "$folder/quillon-cli.exe" main.cpp shapes.h >/dev/null) ||
  die "the packaged quillon-cli.exe failed"
[ -n "$(find "$sample/Project_HTML" -name foldericon.gif)" ] ||
  die "the packaged quillon-cli.exe did not find its pictures"

# The installer, silently, in the same prefix (nothing was installed in it so far).
setup=$build/$(basename "$zip" .zip)-setup.exe
[ -f "$setup" ] || die "no installer $setup"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon'
target='C:\Program Files\Quillon'
installed=$(winepath -u "$target" 2>/dev/null)
installed=${installed%/}
shortcut=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quillon.lnk' 2>/dev/null)
[ ! -e "$installed" ] || die "$installed is there before the installer ran"
timeout -k 10 300 wine "$setup" /S || die "the installer failed"
timeout 120 wineserver -w || true
for f in $(cd "$folder" && find . -type f) ./Uninstall.exe; do
  [ -f "$installed/$f" ] || die "the installer did not install $f"
done
[ "$(cd "$installed" && find . -type f | wc -l)" -eq "$(( $(cd "$folder" && find . -type f | wc -l) + 1 ))" ] ||
  die "the installer put other files than the package's in $installed"
[ -f "$shortcut" ] || die "no Start-menu shortcut $shortcut"
timeout 60 wine reg query "$key" /v DisplayVersion 2>/dev/null | grep -q "$version" ||
  die "no uninstall entry $key with the version $version"
timeout 60 wine reg query "$key" /v UninstallString 2>/dev/null | grep -qF "$target\Uninstall.exe" ||
  die "the uninstall entry does not name $target\Uninstall.exe"
echo "installer $(basename "$setup"): $(cd "$installed" && find . -type f | wc -l) files in $target"

# The installed command, run from elsewhere, finds its data beside itself; it keeps
# reference links on Windows as on Linux.
run=$out/installed-run
mkdir -p "$run"
cp "$sample"/main.cpp "$sample"/shapes.h "$sample"/Shapes.vcproj "$run/"
(cd "$run" && timeout -k 10 120 wine "$target\quillon-cli.exe" -o out Shapes.vcproj >/dev/null) ||
  die "the installed quillon-cli.exe failed"
for f in out/Shapes_Project.htm out/Shapes_HTML/main.cpp.htm out/Shapes_HTML/Images/foldericon.gif; do
  [ -s "$run/$f" ] || die "the installed quillon-cli.exe did not write $f"
done
(cd "$run" && timeout -k 10 120 wine "$target\quillon-cli.exe" links add Circle http://x/circle \
   --lang cpp >/dev/null && timeout -k 10 120 wine "$target\quillon-cli.exe" links list >links.out) ||
  die "the installed quillon-cli.exe links failed"
[ "$(tr -d '\r' <"$run/links.out")" = "Circle http://x/circle cpp" ] ||
  die "the installed quillon-cli.exe links list gave: $(cat "$run/links.out")"

# The installed program starts from the Start-menu's target, converts and ends.
timeout -k 10 300 wine "$build/tests/app/win32/gui_driver.exe" package "$target\quillon.exe" \
  "$sample/Shapes.vcproj" "$sample/Shapes_Project.htm" || die "the installed program failed"

# The uninstaller, silently: it hands over to a copy of itself and returns at once, so
# the prefix is waited for.
timeout -k 10 300 wine "$target\Uninstall.exe" /S || die "the uninstaller failed"
timeout 120 wineserver -w || true
[ ! -e "$installed" ] || die "the uninstaller left $(cd "$installed" && find . | head -n 5)"
[ ! -e "$shortcut" ] || die "the uninstaller left the shortcut $shortcut"
! timeout 60 wine reg query "$key" >/dev/null 2>&1 || die "the uninstaller left the key $key"
echo "package test passed"
