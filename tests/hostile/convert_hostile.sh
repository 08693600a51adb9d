#!/usr/bin/env bash
# The hostile sources end to end: makes them (make_sources.sh), converts the directory as
# one workspace (its project file becomes a second one), again with rich colours on the
# dark theme, and every file alone as a page,
# then opens every page and both workspaces in headless Chromium (browser/hostile.test.mjs)
# and finally checks that every source file is byte for byte what it was.
#
#   convert_hostile.sh path/to/quillon [KEEP_DIR]
#
# With KEEP_DIR the sources and pages are made there and kept for a look. Needs Node.js,
# tests/browser/node_modules (npm install) and Chromium, as the browser test does.
set -uo pipefail
export LC_ALL=C
quillon=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
if [[ -n ${2:-} ]]; then
  work=$(realpath -m "$2")
  rm -rf "$work" && mkdir -p "$work"
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
failures=0
check() {
  local name=$1; shift
  if "$@"; then echo "ok - $name"; else echo "FAIL - $name"; failures=$((failures + 1)); fi
}
src=$work/src
out=$work/out
"$here/make_sources.sh" "$src"
sums() { (cd "$src" && find . -print0 | sort -z | xargs -0 stat -c '%n %s %F' && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
sums > "$work/before"

# The run's directory holds a reference links file that breaks off in the middle.
mkdir -p "$work/run" && cd "$work/run"
printf '<referenceLinks>\n<item> <word>printf</word> <link>http://example.invalid/printf</link> </item>\n<item> <word>Plain' \
  > ReferenceLinks.xml

"$quillon" -o "$out/set" "$src"/* > set.log 2> set.err; status=$?
check "the directory as a workspace: status 1 (two binary files)" test $status -eq 1
check "the directory as a workspace: only the binary files are reported" \
  diff <(sort -u set.err) <(printf '%s\n' 'quillon: <logo.cpp is not a text file>' 'quillon: <program.h is not a text file>')
check "the directory as a workspace: both index pages" \
  test -s "$out/set/Source_Project.htm" -a "$(ls "$out/set" | grep -c '_Project\.htm$')" -eq 2
for f in "$src"/*; do
  "$quillon" -o "$out/pages" "$f" >> pages.log 2>> pages.err
done
# Once more with rich colours on the dark theme: every literal reader and the dark pages.
"$quillon" --rich --theme dark -o "$out/rich" "$src"/* > rich.log 2> rich.err; status=$?
check "the directory with rich colours, dark: status 1, the same problems" \
  diff <(sort -u rich.err) <(sort -u set.err)
check "each file as a page: only the binary files are reported" \
  diff <(sort -u pages.err) <(printf '%s\n' 'quillon: <logo.cpp is not a text file>' 'quillon: <program.h is not a text file>')

node "$here/../browser/hostile.test.mjs" "$out" "$src"; status=$?
check "the browser finds no markup, script or text of the sources out of place" test $status -eq 0

sums > "$work/after"
check "every source file is byte for byte unchanged" cmp -s "$work/before" "$work/after"
echo "$failures failure(s)"
test $failures -eq 0
