#!/usr/bin/env bash
# Installs what the tests need, builds every configuration and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
step() { printf '\n== %s (%s)\n' "$*" "$(date +%T)"; }

step "installing what is missing"
scripts/install-deps.sh build windows browser fuzz microbench package

step "native build and tests"
cmake --preset linux > /dev/null
cmake --build --preset linux -j "$jobs"
ctest --preset linux -j "$jobs"

step "cross-reference yardstick: ctags' definitions anchored, unique names linked to them"
/usr/bin/python3 tests/xref/ctags_yardstick.py build/linux/tests/xref/xref_dump .

step "C cross-references against libclang's: the right and the precision per kind"
/usr/bin/python3 tests/xref/clang_yardstick.py build/linux/tests/xref/xref_dump tests/data/xref/ctree

step "browser test of generated workspaces (Chromium, opened from disk)"
(cd tests/browser && npm ci --no-audit --no-fund --loglevel=error)
rm -rf build/browser
build/linux/quillon -o build/browser examples/Calc/Calc.vcproj > /dev/null
node tests/browser/workspace.test.mjs build/browser/Calc_Project.htm
rm -rf build/browser-lines
build/linux/quillon --line-numbers -o build/browser-lines examples/Calc/Calc.vcproj > /dev/null
LINE_NUMBERS_SOURCES=examples/Calc node tests/browser/workspace.test.mjs \
  build/browser-lines/Calc_Project.htm
tests/browser/odd_names.sh build/linux/quillon build/browser-names
node tests/browser/workspace.test.mjs "build/browser-names/out/C#Demo_Project.htm"
build/linux/quillon -o build/browser tests/data/real_world > /dev/null
node tests/browser/workspace.test.mjs build/browser/real_world_Project.htm
# The search box of a workspace of more than 10,000 names: prints the time to results.
node tests/browser/search_speed.mjs build/linux/quillon build/browser-speed
# Trees longer than the --trees auto limit: they open at once, their nodes load when
# opened, search finds what is not loaded yet, and opened they show what full trees show.
node tests/browser/lazy.test.mjs build/linux/quillon build/browser-lazy
# The solution names an installer project and a project not in the checkout: status 1.
build/linux/quillon -o build/browser-solution tests/data/real_world/solution/Calc.sln > /dev/null 2>&1 || true
MISSING=Installer,Legacy node tests/browser/solution.test.mjs build/browser-solution/Calc_Solution.htm
# Rich pages of every language show the source's own text; the dark theme's colours, its
# trees, tabs and search box included, read at 4.5:1 or more.
node tests/browser/rich.test.mjs build/linux/quillon tests/data/rich build/browser-rich
# Five projects of one name, paths in other letter cases: every project and file reachable.
build/linux/quillon -o build/browser-suite tests/data/real_world/suite/Viewer.sln > /dev/null
node tests/browser/solution.test.mjs build/browser-suite/Viewer_Solution.htm
# Cross-references: uses lead to definitions, chooser pages to candidates, a definition
# opens its uses, a use shows a tooltip; nothing fetched.
node tests/browser/xref.test.mjs build/linux/tests/workspace/xref_fixture data build/browser-xref \
  build/linux/quillon
# Text search: every query lists exactly the lines grep finds; results open their lines; a
# runaway expression stops on Escape. The name search of such a workspace is as ever.
node tests/browser/textsearch.test.mjs build/linux/quillon build/browser-text
rm -rf build/browser-text-calc
build/linux/quillon --text-search -o build/browser-text-calc examples/Calc/Calc.vcproj > /dev/null
node tests/browser/workspace.test.mjs build/browser-text-calc/Calc_Project.htm

step "every local link of every generated workspace leads to a file and anchor that exist"
tests/links/run_link_check.sh build/linux build/link-check

step "hostile sources in the browser; bad and big inputs through the command"
tests/hostile/convert_hostile.sh build/linux/quillon
tests/hostile/run_hostile.sh build/linux/quillon --big

step "optimised build: the engine tests, and the benchmarks build and run"
cmake --preset linux-release > /dev/null
cmake --build --preset linux-release -j "$jobs" --target engine_test floor passes_bench convert_pages \
  search_index xref_scan
build/linux-release/tests/engine/engine_test --gtest_brief=1
build/linux-release/bench/passes_bench --benchmark_filter=typical --benchmark_min_time=0.01 > /dev/null

step "the Debian package: made from the optimised build, lintian, unpacked and run"
cmake --build --preset linux-release -j "$jobs" --target quillon quillon_data quillon_docs
tests/package/check_deb.sh build/linux-release build/linux/quillon

step "native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset linux-asan > /dev/null
cmake --build --preset linux-asan -j "$jobs"
ctest --preset linux-asan -j "$jobs"

step "threads under ThreadSanitizer: page and preprocessing threads, a whole run"
cmake --preset linux-tsan > /dev/null
cmake --build --preset linux-tsan -j "$jobs" --target engine_test classmodel_test quillon quillon_data
export TSAN_OPTIONS=halt_on_error=1
# Without address randomisation: ThreadSanitizer's memory layout does not fit some
# kernels' randomised mappings.
tsan() { setarch "$(uname -m)" -R "$@"; }
tsan build/linux-tsan/tests/engine/engine_test --gtest_brief=1
tsan build/linux-tsan/tests/classmodel/classmodel_test --gtest_brief=1
rm -rf build/tsan-run
sources=(engine/*.cpp engine/*.h classmodel/*.cpp classmodel/*.h workspace/*.cpp workspace/*.h)
# A workspace with cross-references and text search: the merge runs beside the trees, the
# text index beside the pages.
tsan build/linux-tsan/quillon -j 2 --xref --text-search -o build/tsan-run "${sources[@]}" > /dev/null
tsan build/linux-tsan/quillon -j 2 --pages --line-numbers --keywords modern -o build/tsan-run \
  "${sources[@]}" > /dev/null
unset TSAN_OPTIONS

step "fuzzing each target for a bounded time"
scripts/fuzz.sh "${QUILLON_FUZZ_SECONDS:-45}"

step "Windows build (MinGW-w64), the core tests, the GUI, the ZIP and the installer under Wine"
export WINEDEBUG=-all
export WINEPREFIX="$root/build/wineprefix"
cmake --preset mingw > /dev/null
cmake --build --preset mingw -j "$jobs"
ctest --preset mingw
# Threads that end while the program goes on are where the Windows runtime differs
# most: the page-thread tests, many times over.
rounds=$(wine build/mingw/tests/engine/engine_test.exe --gtest_filter='PageJobs.*:ThreadScratch.*' \
           --gtest_repeat=100 --gtest_brief=1 2>&1 | grep -c '^\[  PASSED  \] 3 tests' || true)
[[ $rounds == 100 ]] || { echo "page threads under Wine: $rounds of 100 rounds passed"; exit 1; }

step "all tests passed"
