#!/usr/bin/env bash
# Converts every workspace the tests know of with the program's own data and checks that
# no local link of any page is dead: the bundled example, the real-world projects (a
# VC6 project, a solution of a .vcxproj and an SDK-style project, a solution of projects
# that share one name and spell their paths in other letter cases, a unity build with
# same-named files and includes of system headers, Visual Studio .NET 2003 projects), all
# of them together as one folder (also with line numbers, whose anchors the class tree
# links, and with a text index, whose every line must lead to its page's line), the project with odd names, the hostile sources as a
# set of files, a folder of UTF-8 names, a minified script and the golden projects of the
# workspace tests; with trees whose nodes load on demand (--trees lazy, whose node scripts
# are followed too) the real-world folder, a solution, the hostile sources and the folder
# of UTF-8 names; and with cross-references (--xref, whose chooser pages and uses
# scripts are followed too) the real-world folder, a solution, the hostile sources and the
# small C workspace of records made by hand.
#
#   run_link_check.sh BUILD_DIR OUT_DIR      (BUILD_DIR holds quillon and the tests)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(realpath "$1")
out=$2
rm -rf "$out" && mkdir -p "$out"
out=$(realpath "$out")
quillon="$build/quillon"
data=$root/tests/data/real_world

convert() {  # convert NAME INPUT... : one output folder per case
  local name=$1; shift
  "$quillon" -o "$out/$name" "$@" > "$out/$name.log" 2>&1 || true
}
convert calc "$root/examples/Calc/Calc.vcproj"
convert vc6 "$data/vc6/Tool/Tool.dsp"
convert solution "$data/solution/Calc.sln"
convert suite "$data/suite/Viewer.sln"
convert game "$data/game/Game.vcxproj"
convert net2003 "$data/net2003/Calc/Calc.csproj" "$data/net2003/Viewer/Viewer.vbproj"
convert folder "$data"
convert folder-numbered --line-numbers "$data"
convert folder-text --text-search "$data"
convert hostile "$root"/tests/hostile/sources/*
convert xref-folder --xref "$data"
convert xref-solution --xref "$data/suite/Viewer.sln"
convert xref-hostile --xref "$root"/tests/hostile/sources/*
convert xref-rich --xref --rich --line-numbers --text-search "$root"/tests/data/xref/langs
"$build/tests/workspace/xref_fixture" "$root/data" "$out/xref-fixture" > "$out/xref-fixture.log" 2>&1
convert hostile-text --text-search "$root"/tests/hostile/sources/*
convert folder-lazy --trees lazy --line-numbers "$data"
convert solution-lazy --trees lazy "$data/suite/Viewer.sln"
convert hostile-lazy --trees lazy "$root"/tests/hostile/sources/*
# UTF-8 names (made here, as not every checkout keeps them): the trees declare UTF-8, so
# a class link's "#Größe" meets the anchor of the UTF-8 page.
mkdir -p "$out/utf8-src/Über"
printf 'class Größe {\npublic:\n  int wert;\n};\n' > "$out/utf8-src/Über/größe.h"
printf '#include "Über/größe.h"\nGröße g;\n' > "$out/utf8-src/main.cpp"
convert utf8 "$out/utf8-src"
convert utf8-lazy --trees lazy "$out/utf8-src"
# A minified script (read as Java): anonymous class expressions ("class extends"), many
# classes on one line, keywords where names would stand; the class tree must list only
# what the page anchors.
mkdir -p "$out/minified-src"
{
  printf 'var FD=class extends v2{constructor(t,e){super(t);this.x=e}},q=class implements{};'
  for i in $(seq 1 200); do printf 'class C%d extends B{m(t,e){return t}}' "$i"; done
  printf '\nclass Widget extends HTMLElement{static get x(){return 1}}enum Colour{RED,GREEN}\n'
  printf 'struct S{int t;};interface I{void e();}\n'
} > "$out/minified-src/bundle.min.js"
convert minified "$out/minified-src"
"$here/../browser/odd_names.sh" "$quillon" "$out/odd"
QUILLON_LINK_CHECK_DIR="$out/goldens" "$build/tests/workspace/workspace_test" \
  --gtest_brief=1 > "$out/goldens.log"
node "$here/check_links.mjs" "$out"
