#!/usr/bin/env bash
# The Debian package as a user gets it: made by CPack from the release build, checked by
# lintian (no errors), unpacked into a scratch root, and its quillon run on the bundled
# example, which must give a complete workspace: a page for every file of the project,
# tree pages with their entries, the tab pages and every picture; the same bytes as the
# build tree's quillon makes when REFERENCE (a quillon of the same sources) is given.
# Also the manual page (renders without a warning) and the bash completion.
# Usage: check_deb.sh <release build folder> [REFERENCE]
set -euo pipefail
die() { echo "FAIL: $*" >&2; exit 1; }
[ $# -ge 1 ] || die "usage: check_deb.sh <release build folder> [reference quillon]"
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$1" && pwd)
reference=${2:+$(realpath "$2")}
for tool in cpack dpkg-deb dpkg-shlibdeps lintian groff; do
  command -v "$tool" >/dev/null || die "$tool is missing (scripts/install-deps.sh package)"
done

version=$(sed -n 's/^#define QUILLON_VERSION "\(.*\)"$/\1/p' "$build/generated/quillon_version.h")
deb=$build/quillon_${version}_$(dpkg --print-architecture).deb
rm -f "$deb"
(cd "$root" && cpack --preset deb >"$build/cpack.log" 2>&1) ||
  { cat "$build/cpack.log"; die "cpack could not make the package"; }
[ -f "$deb" ] || die "no package $deb"
echo "package $(basename "$deb"), depends on: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Depends | grep -q 'libc6 (>=' || die "the dependencies were not computed"

# lintian: errors fail; the remaining warnings and notes are shown. Running as root
# needs its --allow-root.
lintian_log=$(mktemp)
work=$(mktemp -d)
trap 'rm -rf "$work" "$lintian_log"' EXIT
lintian --allow-root --fail-on error --display-info "$deb" >"$lintian_log" 2>&1 ||
  { cat "$lintian_log"; die "lintian reports errors"; }
[ -s "$lintian_log" ] && sed 's/^/lintian: /' "$lintian_log"

dpkg-deb -x "$deb" "$work/root"
quillon=$work/root/usr/bin/quillon
[ "$("$quillon" --version)" = "quillon $version" ] || die "the packaged quillon is not version $version"
groff_out=$(zcat "$work/root/usr/share/man/man1/quillon.1.gz" | groff -ww -man -z 2>&1)
[ -z "$groff_out" ] || die "the manual page has warnings: $groff_out"
completion=$work/root/usr/share/bash-completion/completions/quillon
[ "$(bash -c "source '$completion'; COMP_WORDS=(quillon links ''); COMP_CWORD=2; _quillon;
              echo \"\${COMPREPLY[*]}\"")" = "list add remove" ] || die "the bash completion does not work"

# The example project, converted by the unpacked program from a folder of its own.
cp -r "$root/examples/Calc" "$work/Calc"
(cd "$work" && "$quillon" -o out Calc/Calc.vcproj >convert.log 2>&1) ||
  { cat "$work/convert.log"; die "the packaged quillon failed on the example"; }
ws=$work/out/Calc_HTML
[ -s "$work/out/Calc_Project.htm" ] || die "no index page"
for source in $(sed -n 's/.*RelativePath="\.\\\(.*\)".*/\1/p' "$root/examples/Calc/Calc.vcproj"); do
  case $source in
    *.ico) cmp -s "$root/examples/Calc/$source" "$ws/Images/$source" || die "no picture $source" ;;
    *) [ -s "$ws/$source.htm" ] || die "no page $source.htm"
       grep -qF "$source.htm" "$ws/SourceTree.htm" || die "the source tree lacks $source" ;;
  esac
done
for name in $(sed -n 's/^\(class\|struct\|enum\) \([A-Za-z]*\).*/\2/p' "$root"/examples/Calc/*.h); do
  grep -qF ">$name<" "$ws/ClassTree.htm" || die "the class tree lacks $name"
  grep -qF "\"$name\"" "$ws/SearchIndex.js" || die "the search index lacks $name"
done
cmp -s "$root/data/Tabs.htm" "$ws/Tabs.htm" || die "the workspace's Tabs.htm is not the packaged one"
grep -qF '>calc.cpp</span>' "$ws/FileTab.htm" || die "the workspace's FileTab.htm does not name its first page"
for picture in "$root"/data/Images/*; do
  cmp -s "$picture" "$ws/Images/$(basename "$picture")" || die "the workspace lacks $(basename "$picture")"
done
# With cross-references the workspace gets the packaged pages' script and a uses script a page.
(cd "$work" && "$quillon" --xref -o xref Calc/Calc.vcproj >xref.log 2>&1) ||
  { cat "$work/xref.log"; die "the packaged quillon failed on the example with --xref"; }
cmp -s <(tr -d '\r' < "$work/xref/Calc_HTML/Xref.js") <(tr -d '\r' < "$root/data/Xref.js") ||
  die "the workspace's Xref.js is not the packaged one"
ls "$work"/xref/Calc_HTML/xref/u*.js >/dev/null 2>&1 || die "the workspace with --xref has no uses scripts"
if [ -n "$reference" ]; then
  (cd "$work" && "$reference" -o expected Calc/Calc.vcproj >/dev/null 2>&1)
  diff -r "$work/expected" "$work/out" >/dev/null ||
    die "the packaged quillon's workspace differs from the build tree's"
fi
echo "Debian package test passed: $(find "$ws" -type f | wc -l) files in the workspace"
