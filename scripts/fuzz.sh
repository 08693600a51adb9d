#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 60), seeded from the test sources and project files; the source targets also
# mutate with the tokens of tests/fuzz/sources.dict. A crash or a hang (an input that
# runs 10 seconds, or is reported slow and is slow again on its own) fails the run and
# leaves its input under build/fuzz/crashes/ for a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build/fuzz
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DQUILLON_FUZZ=ON -DQUILLON_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_line_pass fuzz_reference_links fuzz_preprocess \
  fuzz_project_file fuzz_xref_scan

seeds=$build/seeds
rm -rf "$seeds" "$build/crashes"
mkdir -p "$seeds/sources" "$seeds/links" "$seeds/projects" "$build/crashes"
n=0
for f in tests/engine/*.cpp tests/classmodel/*.cpp examples/*/*.cpp examples/*/*.h tests/data/rich/*; do
  [[ -f $f ]] || continue
  # The first byte chooses the language, tables and rich colours; the rest is the file.
  { printf "\\x$(printf %02x $((n % 128)))"; head -c 4000 "$f"; } > "$seeds/sources/$n"
  n=$((n + 1))
done
# Declarations whose bodies hold comments over several lines, in the shapes that the
# member scans walk (markers before, after and between enumerators and members).
printf '\x00enum E {\n  /* a */ A\n  B /* b\n  */ C,\n  // d\n  D = 1, /* e */\n  /* f\n  */\n  G\n};\n' \
  > "$seeds/sources/enum"
printf '\x01class C {\npublic:\n  /* a\n  */ int x; // y\n  void f(int a,\n    int b); /* g */\n};\n' \
  > "$seeds/sources/class"
printf '\x02struct S { /* c */\n  int a, &b;\n};\n/* open\n*/ x */ y /* z\n*/\n' > "$seeds/sources/struct"
# Sources of every language for the cross-reference scan, the first byte naming the
# language as the target reads it (0 C/C++, 1 C#, 2 Java, 3 Visual Basic).
mkdir -p "$seeds/xref"
cp "$seeds"/sources/* "$seeds/xref/"
n=0
while IFS= read -r -d '' f; do
  case $f in *.cs) k=1 ;; *.java) k=2 ;; *.vb) k=3 ;; *) k=0 ;; esac
  { printf "\\x0$k"; head -c 4000 "$f"; } > "$seeds/xref/x$n"
  n=$((n + 1))
done < <(find tests/data/xref tests/data/rich -type f -print0)
cp tests/golden/*/ReferenceLinks.xml "$seeds/links/" 2>/dev/null || true
# Project files: the first byte chooses the kind the reader takes the file for.
n=0
while IFS= read -r -d '' f; do
  { printf "\\x$(printf %02x $((n % 8)))"; head -c 8000 "$f"; } > "$seeds/projects/$n"
  n=$((n + 1))
done < <(find examples tests/data tests/golden \( -name '*.*proj' -o -name '*.dsp' \) -print0 2>/dev/null)
printf '\x01SOURCE=..\\a.cpp\r\nSOURCE="..\\b c.h"\r\n' > "$seeds/projects/dsp"
printf '\x02<RootNamespace>N</RootNamespace>\r\n<Compile Include="a\\b.cs" />\r\n' > "$seeds/projects/csproj"
printf '<?xml version="1.0" encoding="utf-8"?>\r\n<referenceLinks>\r\n<item> <cpp/> <word> cout</word>  <link> ref/cout.htm </link> </item> \r\n</referenceLinks>\r\n' > "$seeds/links/basic.xml"
printf '<referenceLinks>\n  <item>\n    <vb></vb> <java />\n    <word>my\n func</word>\n    <link><![CDATA[http://x/]]></link>\n  </item>\n</referenceLinks>\n' > "$seeds/links/by_hand.xml"

run() {
  local target=$1 corpus=$2; shift 2
  echo "-- $target, $seconds s"
  "$build/tests/fuzz/$target" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
    -artifact_prefix="$build/crashes/$target-" -print_final_stats=1 "$@" "$corpus" 2>&1 |
    grep -E '^(stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)' || true
  # A unit reported slow is run again on its own: one that is fast then was slowed by the
  # machine (a stall of the virtual machine), not by its input, and is not kept.
  for slow in "$build/crashes/$target-slow-unit-"*; do
    [[ -f $slow ]] || continue
    if timeout 10 "$build/tests/fuzz/$target" "$slow" > /dev/null 2>&1; then
      echo "fuzz: $target: a unit reported slow runs at once on its own; not kept"
      rm -f "$slow"
    fi
  done
  if compgen -G "$build/crashes/$target-*" > /dev/null; then
    echo "fuzz: $target found a failing input: $(ls "$build/crashes/$target-"*)" >&2
    return 1
  fi
}
run fuzz_line_pass "$seeds/sources" -dict=tests/fuzz/sources.dict
run fuzz_reference_links "$seeds/links"
run fuzz_preprocess "$seeds/sources" -dict=tests/fuzz/sources.dict
run fuzz_project_file "$seeds/projects"
run fuzz_xref_scan "$seeds/xref" -dict=tests/fuzz/sources.dict
