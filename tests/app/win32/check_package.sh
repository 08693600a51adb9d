#!/usr/bin/env bash
# The Windows packages in a fresh Wine prefix. The ZIP, unpacked into a fresh folder: a
# project passed on quillon.exe's command line becomes its workspace, with the pictures
# and tree pages that only the packaged data files can give, and the reference links
# beside the program. The installer, run silently: the programs and data under Program
# Files, a Start-menu shortcut and an uninstall entry; the installed command converts and
# keeps reference links, the installed program starts, converts and ends. The installed
# program keeps the user's reference links in %APPDATA%\Quillon: it takes over a table
# found beside it once, uses it in a conversion, its dialog saves there, and the table
# outlasts a reinstall and the uninstaller, which leaves nothing else of its own behind.
# The ZIP's program still reads the table beside it. Usage: check_package.sh <cross build
# folder>. Builds the packages first. Never runs longer than 10 minutes.
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
         Tree.js TreeNodes.js TextSearch.js Tabs.htm FileTab.htm Quillon.bmp Images/foldericon.gif; do
  [ -f "$folder/$f" ] || die "the package lacks $f"
done
[ ! -e "$folder/CMakeFiles" ] || die "the package holds build files"
[ ! -e "$folder/Installed.txt" ] || die "the package carries the installer's mark"
version=$(basename "$zip" -win64.zip)
version=${version#Quillon-}
grep -aqF "Quillon $version Help" "$folder/Quillon.chm" || die "the help file does not carry $version"
packaged=$(cd "$folder" && find . -type f)
echo "package $(basename "$zip"): $(wc -l <<<"$packaged") files"

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

# The user's folder for the installed program's reference links, as the system names it.
appdata=$(timeout 60 wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r') ||
  die "Wine's cmd does not answer"
[ -n "$appdata" ] && [ "$appdata" != "%APPDATA%" ] || die "Wine names no %APPDATA%"
user_links_win="$appdata\Quillon\ReferenceLinks.xml"
user_links=$(winepath -u "$user_links_win" 2>/dev/null) || die "winepath cannot name $user_links_win"

# A reference links table of one link for Circle, to stand beside a program.
links_table() {
  printf '<?xml version="1.0" encoding="utf-8"?>\r\n<referenceLinks>\r\n'
  printf '<item> <cpp/> <word> Circle</word>  <link> %s </link> </item> \r\n' "$1"
  printf '</referenceLinks>\r\n'
}
# The links on the sample's page of shapes.h, in order.
page_links() { grep -ao 'href="http://[^"]*"' "$sample/Shapes_HTML/shapes.h.htm" | tr '\n' ' '; }
# Converts the sample's project with the program $1, started from the sample's folder, as
# a project dropped on it: it must find its data beside itself.
convert_sample() {
  rm -rf "$sample/Shapes_HTML"
  timeout -k 10 300 wine "$build/tests/app/win32/gui_driver.exe" package "$1" \
    "$sample/Shapes.vcproj" "$sample/Shapes_Project.htm" || die "$2"
}

links_table http://x/zip >"$folder/ReferenceLinks.xml"
convert_sample "$program" "the packaged program failed"
[ "$(page_links)" = 'href="http://x/zip" ' ] ||
  die "the packaged program did not link Circle from the table beside it: $(page_links)"
[ ! -e "$(dirname "$user_links")" ] || die "the packaged program made $(dirname "$user_links")"

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
# Installed.txt marks the copy as installed; the ZIP's has none.
for f in $packaged ./Uninstall.exe ./Installed.txt; do
  [ -f "$installed/$f" ] || die "the installer did not install $f"
done
[ "$(cd "$installed" && find . -type f | wc -l)" -eq "$(( $(wc -l <<<"$packaged") + 2 ))" ] ||
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

# The installed program starts from the Start-menu's target and converts, with the table
# that an earlier copy left beside it taken over into the user's folder (the original
# stays).
links_table http://x/beside >"$installed/ReferenceLinks.xml"
cp "$installed/ReferenceLinks.xml" "$out/beside.xml"
convert_sample "$target\quillon.exe" "the installed program failed"
cmp -s "$user_links" "$out/beside.xml" || die "the installed program did not take over the table beside it"
cmp -s "$installed/ReferenceLinks.xml" "$out/beside.xml" || die "the table beside the program changed"
[ "$(page_links)" = 'href="http://x/beside" ' ] ||
  die "the installed program did not link Circle from the table it took over: $(page_links)"

# Its dialog saves in the user's folder, and leaves the table beside the program alone.
# It adds Circle again: pages use the link added last.
timeout -k 10 300 wine "$build/tests/app/win32/gui_driver.exe" links "$target\quillon.exe" \
  "$user_links_win" Circle || die "the installed program's reference links dialog failed"
cmp -s "$installed/ReferenceLinks.xml" "$out/beside.xml" || die "the dialog wrote beside the program"
cp "$user_links" "$out/user.xml"
echo "installed program: reference links in $user_links_win"

# Installed again over itself: the user's table stays, is not taken over anew, and is
# the one a conversion uses.
timeout -k 10 300 wine "$setup" /S || die "the second installer run failed"
timeout 120 wineserver -w || true
cmp -s "$user_links" "$out/user.xml" || die "the second install changed $user_links_win"
convert_sample "$target\quillon.exe" "the reinstalled program failed"
[ "$(page_links)" = 'href="http://example.invalid/Circle" ' ] ||
  die "the reinstalled program did not use the user's table: $(page_links)"

# The uninstaller, silently: it hands over to a copy of itself and returns at once, so
# the prefix is waited for. What the user put beside the program and the user's own
# table stay.
timeout -k 10 300 wine "$target\Uninstall.exe" /S || die "the uninstaller failed"
timeout 120 wineserver -w || true
[ "$(cd "$installed" && find . -mindepth 1)" = ./ReferenceLinks.xml ] ||
  die "the uninstaller left $(cd "$installed" && find . -mindepth 1 | head -n 5)"
[ ! -e "$shortcut" ] || die "the uninstaller left the shortcut $shortcut"
! timeout 60 wine reg query "$key" >/dev/null 2>&1 || die "the uninstaller left the key $key"
cmp -s "$user_links" "$out/user.xml" || die "the uninstaller took $user_links_win away or changed it"

# The ZIP's program, beside a user's table now, still reads the one beside itself.
convert_sample "$program" "the packaged program failed after the uninstall"
[ "$(page_links)" = 'href="http://x/zip" ' ] ||
  die "the packaged program did not keep to the table beside it: $(page_links)"
echo "package test passed"
