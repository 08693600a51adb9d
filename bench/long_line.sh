#!/usr/bin/env bash
# Cost of one long line: a 1 MB one-line file holding 100,000 keywords against the same
# bytes cut into ordinary lines of about 60 characters. A converter whose passes build each
# line in one sweep takes about the same time for both; one that inserts into the middle
# of a long line again and again takes time that grows with the square of the line.
# Also measured: the same line with a reference link table and with recorded class names
# (the passes that look words up), and a 1 MB line of spaces (one entity per byte).
#
#   bench/long_line.sh [path/to/quillon]   (default: build/linux-release/quillon)
#
# Each case is the median of 3 runs; a case is stopped after QUILLON_BENCH_LIMIT seconds
# (default 600) and shown as "> limit".
set -euo pipefail
cd "$(dirname "$0")/.."
quillon=$(realpath "${1:-build/linux-release/quillon}")
limit=${QUILLON_BENCH_LIMIT:-600}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
keywords = ['int', 'return', 'class', 'void', 'for', 'while', 'const', 'if']
words = [keywords[i % len(keywords)] for i in range(100000)]
line = ' '.join(words)
line += ' ' + 'x' * max(0, 1048576 - len(line) - 1)
open(f'{work}/one_line.cpp', 'w').write(line + '\n')
# The same bytes in lines of about 60 characters: each cut replaces one space.
out, current = [], ''
for w in line.split(' '):
    if current and len(current) + 1 + len(w) > 60:
        out.append(current)
        current = w
    else:
        current = f'{current} {w}' if current else w
out.append(current)
open(f'{work}/lines.cpp', 'w').write('\n'.join(out) + '\n')
open(f'{work}/spaces.cpp', 'w').write(' ' * 1048576 + '\n')
# A table and a class for the word passes; the table is only read where it is named
# (there is no ReferenceLinks.xml in the work directory).
open(f'{work}/links.xml', 'w').write(
    '<referenceLinks>\n<item> <word>while</word> <link>w.htm</link> </item>\n</referenceLinks>\n')
open(f'{work}/decl.h', 'w').write('class Widget {\n};\n')
PY

# run NAME ARGS...: median seconds of 3 runs (one run when it takes over 30 s), from the
# work directory.
run() {
  local name=$1; shift
  local times=()
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    if ! (cd "$work" && timeout "$limit" "$quillon" "$@" > /dev/null 2>&1); then
      printf '| %-44s | > %s |\n' "$name" "$limit"
      return
    fi
    end=$(date +%s.%N)
    times+=("$(echo "$end - $start" | bc)")
    if (($(echo "${times[-1]} > 30" | bc))); then break; fi
  done
  printf '| %-44s | %8.3f |\n' "$name" "$(printf '%s\n' "${times[@]}" | sort -g | sed -n "$(((${#times[@]} + 1) / 2))p")"
}

echo "| case (1 MB of source) | median s |"
echo "|---|---:|"
run "ordinary lines, keywords only" -o out lines.cpp
run "one line, keywords only" -o out one_line.cpp
run "one line of spaces" -o out spaces.cpp
run "one line of spaces, with a reference link table" --links links.xml -o out spaces.cpp
run "ordinary lines, with a reference link table" --links links.xml -o out lines.cpp
run "one line, with a reference link table" --links links.xml -o out one_line.cpp
run "ordinary lines, with a recorded class" -o ws lines.cpp decl.h
run "one line, with a recorded class" -o ws one_line.cpp decl.h
