#!/usr/bin/env bash
# Measures Quillon against the known tools for this job on real C/C++ code already on the
# machine (the headers under /usr/include and the GoogleTest sources), in one run:
#   1. pages: quillon, the floor (read, escape, write: the least any converter must do),
#      Pygments (as a library, one process), GNU Source-highlight, highlight;
#   2. the same tree as one workspace (class tree and class-name links) against
#      GNU Global's gtags + htags;
#   3. quillon on the corpus x1, x2 and x4, to show how time grows;
#   4. quillon's pages of the x4 corpus with line numbers, with today's keywords and with
#      rich colours (literals, numbers, directives);
#   5. a folder of 5,000 files as one workspace;
#   6. the search index's share of a workspace's time (the corpus and that folder);
#   7. cross-references (--xref) on the corpus and the folder, against htags' own;
#   8. text search (--text-search) on the folder: the index's time and size;
#   9. incremental runs (--incremental) of the folder: the first, and a re-run after one
#      changed file;
#  10. with --huge only: a folder of 10,000,000 lines in 50,000 files, generated here, for
#      time, peak memory, output size and bytes written per byte of source.
# Every tool writes to a memory file system when the machine has one with room (/dev/shm),
# so that the figures measure the tools rather than the disk: on a virtual machine, writing
# 5,000 small files to disk takes from one to three times as long from one run to the next.
# Each measurement is the median of 5 rounds of wall-clock time (to the microsecond: some
# runs take a few hundredths of a second); peak memory is GNU time's maximum RSS.
# Writes the tables to standard output and to bench/RESULTS.md.
set -euo pipefail
cd "$(dirname "$0")/.."
huge=false
[[ ${1:-} == --huge ]] && huge=true
root=$(pwd)
rounds=5
jobs=$(nproc)

scripts/install-deps.sh build bench
cmake --preset linux-release > /dev/null
cmake --build --preset linux-release -j "$jobs" --target quillon floor passes_bench search_index quillon_data > /dev/null
quillon=$root/build/linux-release/quillon
floor=$root/build/linux-release/bench/floor
search_index=$root/build/linux-release/bench/search_index
python=/usr/bin/python3  # Debian's, with Debian's Pygments

work=$root/build/bench
rm -rf "$work" && mkdir -p "$work"
corpus=$work/corpus
mkdir -p "$corpus"

# The corpus: whole files, at least 100,000 lines in at least 200 files. GoogleTest's .cc
# files are renamed .cpp, which every tool here takes for C++.
lines=0 files=0
while IFS= read -r source; do
  name=$(printf '%s' "${source#/}" | tr '/' '_')
  [[ $name == *.cc ]] && name=${name%.cc}.cpp
  cp "$source" "$corpus/$name"
  lines=$((lines + $(wc -l < "$source")))
  files=$((files + 1))
  if ((lines >= 120000 && files >= 200)); then break; fi
done < <(find /usr/src/googletest /usr/include -type f \( -name '*.h' -o -name '*.cc' -o -name '*.cpp' \) \
           -size -256k 2>/dev/null | LC_ALL=C sort)
bytes=$(cat "$corpus"/* | wc -c)
echo "corpus: $files files, $lines lines, $((bytes / 1024)) KiB"

# measure NAME SETUP COMMAND...: runs COMMAND $rounds times (SETUP before each, untimed)
# and records the median seconds and the largest peak RSS.
declare -A seconds rss
measure() {
  local name=$1 setup=$2; shift 2
  local times=() peak=0 t m
  for ((r = 0; r < rounds; r++)); do
    eval "$setup"
    local start=$EPOCHREALTIME
    /usr/bin/time -f '%M' -o "$work/time" "$@" > /dev/null 2> "$work/stderr" ||
      { echo "$name failed:"; tail -5 "$work/stderr"; exit 1; }
    local end=$EPOCHREALTIME
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')
    read -r m < "$work/time"
    times+=("$t")
    ((m > peak)) && peak=$m
  done
  seconds[$name]=$(printf '%s\n' "${times[@]}" | sort -g | sed -n "$(((rounds + 1) / 2))p")
  rss[$name]=$peak
}

row() {  # row NAME LINES BYTES REFERENCE
  local name=$1 n=$2 b=$3 ref=$4 t=${seconds[$1]}
  awk -v name="$name" -v t="$t" -v n="$n" -v b="$b" -v ref="${seconds[$ref]}" -v m="${rss[$1]}" \
    'BEGIN { printf "| %-28s | %8.3f | %11.0f | %7.1f | %8.2f | %8.1f |\n",
             name, t, n / t, b / t / 1048576, t / ref, m / 1024 }'
}
header() {
  echo "| tool | median s | lines/s | MB/s | time / Quillon | peak RSS MB |"
  echo "|---|---:|---:|---:|---:|---:|"
}

cat > "$work/pygments_all.py" <<'PY'
import os, sys
from pygments import highlight
from pygments.formatters import HtmlFormatter
from pygments.lexers import CppLexer
out, files = sys.argv[1], sys.argv[2:]
lexer, formatter = CppLexer(), HtmlFormatter(full=True)
for path in files:
    with open(path, encoding="latin-1") as f:
        code = f.read()
    with open(os.path.join(out, os.path.basename(path) + ".html"), "w", encoding="latin-1") as f:
        f.write(highlight(code, lexer, formatter))
PY

out_root=$work
if [[ -d /dev/shm && -w /dev/shm ]] && (($(df --output=avail -k /dev/shm | tail -1) > 2097152)); then
  out_root=$(mktemp -d /dev/shm/quillon-bench.XXXXXX)
  trap 'rm -rf "$out_root"' EXIT
fi
written_to=$([[ $out_root == "$work" ]] && echo "the disk" || echo "a memory file system")
out=$out_root/out
fresh() { echo "rm -rf '$out' && mkdir -p '$out'"; }
sources=("$corpus"/*)

measure quillon "$(fresh)" "$quillon" --pages -o "$out" "${sources[@]}"
measure floor "$(fresh)" "$floor" -o "$out" "${sources[@]}"
measure pygments "$(fresh)" "$python" "$work/pygments_all.py" "$out" "${sources[@]}"
measure source-highlight "$(fresh)" source-highlight --src-lang=cpp --out-format=html \
  --output-dir="$out" "${sources[@]}"
measure highlight "$(fresh)" highlight --syntax=cpp -O html -d "$out" --quiet "${sources[@]}"

# The workspace: Quillon's file-set workspace against gtags + htags in a copy of the tree.
declare -A output_size
measure quillon-workspace "$(fresh)" "$quillon" -o "$out" "${sources[@]}"
output_size[quillon-workspace]=$(du -sb "$out" | cut -f1)
cat > "$work/global.sh" <<SH
cd "$out_root/global" && gtags && htags
SH
measure "gtags + htags" "rm -rf '$out_root/global' && cp -r '$corpus' '$out_root/global'" bash "$work/global.sh"

# Cross-references: Quillon's workspace with --xref against htags with its cross-reference
# pages (definitions, references, the "referred from" lists); output sizes of the last round.
measure "quillon-workspace --xref" "$(fresh)" "$quillon" --xref -o "$out" "${sources[@]}"
output_size["quillon-workspace --xref"]=$(du -sb "$out" | cut -f1)
cat > "$work/global-xref.sh" <<SH
cd "$out_root/global" && gtags && htags -a -n -s -F
SH
measure "gtags + htags -a -n -s -F" "rm -rf '$out_root/global' && cp -r '$corpus' '$out_root/global'" \
  bash "$work/global-xref.sh"
output_size["gtags + htags -a -n -s -F"]=$(du -sb "$out_root/global/HTML" | cut -f1)

# Growth: the corpus copied twice and four times.
for k in 2 4; do
  mkdir -p "$work/corpus$k"
  for ((c = 1; c <= k; c++)); do
    for f in "${sources[@]}"; do cp "$f" "$work/corpus$k/c${c}_$(basename "$f")"; done
  done
  grown=("$work/corpus$k"/*)
  measure "quillon x$k" "$(fresh)" "$quillon" --pages -o "$out" "${grown[@]}"
done
# The reading options, on the largest of those (a run of a few hundredths of a second
# varies too much to tell a difference of a few per cent).
measure "quillon x4 --line-numbers" "$(fresh)" "$quillon" --pages --line-numbers -o "$out" "${grown[@]}"
measure "quillon x4 --keywords modern" "$(fresh)" "$quillon" --pages --keywords modern -o "$out" \
  "${grown[@]}"
measure "quillon x4 --rich" "$(fresh)" "$quillon" --pages --rich -o "$out" "${grown[@]}"
# A folder as a project: a tree of 5,000 files and 1,000,000 lines in 10 folders of 10
# folders each, cut from the corpus in pieces of 200 lines.
tree=$work/tree
rm -rf "$tree" "$work/pieces" && mkdir -p "$tree" "$work/pieces"
for ((c = 0; c < 9; c++)); do cat "${sources[@]}"; done | awk "NR <= 1000000" |
  split -l 200 -d -a 4 --additional-suffix=.cpp - "$work/pieces/f"
n=0
for piece in "$work/pieces"/*.cpp; do
  folder="$tree/d$((n / 500))/s$((n / 50 % 10))"
  mkdir -p "$folder" && mv "$piece" "$folder/"
  n=$((n + 1))
done
tree_files=$n tree_lines=1000000 tree_bytes=$(cat "$tree"/*/*/*.cpp | wc -c)
measure "quillon folder" "$(fresh)" "$quillon" -o "$out" "$tree"
output_size["quillon folder"]=$(du -sb "$out" | cut -f1)
measure "quillon folder --xref" "$(fresh)" "$quillon" --xref -o "$out" "$tree"
output_size["quillon folder --xref"]=$(du -sb "$out" | cut -f1)
measure "quillon folder --text-search" "$(fresh)" "$quillon" --text-search -o "$out" "$tree"
text_index_bytes=$(du -sb "$out/tree_HTML/text" | cut -f1)
# Incremental runs: the first (which writes the manifest too), then a re-run after one
# file changed (a line added, then taken away again, so each round changes it).
measure "quillon folder --incremental" "$(fresh)" "$quillon" --incremental -o "$out" "$tree"
changed=$(find "$tree" -name '*.cpp' | LC_ALL=C sort | sed -n 2500p)
cp "$changed" "$work/changed.orig"
flip() {  # the changed file, alternately with and without a line
  if cmp -s "$changed" "$work/changed.orig"; then echo "int changedByBench;" >> "$changed"
  else cp "$work/changed.orig" "$changed"; fi
}
measure "quillon folder --incremental, one file changed" "flip" "$quillon" --incremental -o "$out" "$tree"
cp "$work/changed.orig" "$changed"
manifest_bytes=$(stat -c %s "$out/tree_HTML/Quillon.manifest")

# The huge folder (--huge): 10,000,000 lines in 50,000 files, cut from the corpus as the
# folder above; one round, its time, peak memory and output.
if $huge; then
  big=$out_root/huge
  rm -rf "$big" "$work/huge-pieces" && mkdir -p "$big" "$work/huge-pieces"
  for ((c = 0; c < 83; c++)); do cat "${sources[@]}"; done | awk "NR <= 10000000" |
    split -l 200 -d -a 5 --additional-suffix=.cpp - "$work/huge-pieces/f"
  n=0
  for piece in "$work/huge-pieces"/*.cpp; do
    folder="$big/d$((n / 500))/s$((n / 50 % 10))"
    [[ -d $folder ]] || mkdir -p "$folder"
    mv "$piece" "$folder/"
    n=$((n + 1))
  done
  rm -rf "$work/huge-pieces"
  huge_files=$n huge_bytes=$(find "$big" -name '*.cpp' -exec cat {} + | wc -c)
  saved_rounds=$rounds rounds=1
  measure "quillon huge folder" "$(fresh)" "$quillon" -o "$out" "$big"
  rounds=$saved_rounds
  huge_output=$(du -sb "$out" | cut -f1)
  rm -rf "$big"
fi

# The search index: each workspace written whole (index included), then its index alone;
# medians of $rounds rounds.
declare -A index_row
index_share() {  # index_share NAME INPUT...
  local name=$1; shift
  local line
  "$search_index" "$rounds" "$root/build/linux-release/data" "$out_root/index-out" "$@" > "$work/index.log" 2>&1 ||
    { echo "search_index failed on $name:"; grep -v '^Converting' "$work/index.log" | tail -5; exit 1; }
  line=$(grep '^names ' "$work/index.log")
  index_row[$name]=$(awk -v name="$name" '{ printf "| %-26s | %7d | %9.0f | %8.3f | %8.3f | %7.1f %% |", name, $2, $4 / 1024, $6, $8, $10 }' <<< "$line")
}
index_share "corpus as files" "${sources[@]}"
index_share "folder of $tree_files files" "$tree"

seconds["quillon x1"]=${seconds[quillon]}
rss["quillon x1"]=${rss[quillon]}
# (sed reads the whole listing: a reader that stops early would end ls with SIGPIPE,
# which pipefail makes the status of the script)
largest=$(ls -S "$corpus" | sed -n 1p)

{
  echo "# Benchmark results"
  echo
  echo "Run of \`bench/run.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'); machine: $(nproc) cores," \
    "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(free -g | awk '/Mem:/ {print $2}') GiB;" \
    "$(uname -sr). Quillon with \`-j $jobs\`."
  echo
  echo "Corpus: $files files, $lines lines, $((bytes / 1024)) KiB of C/C++ (headers under /usr/include and the GoogleTest sources). Median of $rounds rounds; output written to $written_to."
  echo
  echo "## Pages"
  echo
  header
  for t in quillon floor pygments source-highlight highlight; do row "$t" "$lines" "$bytes" quillon; done
  echo
  echo "## Workspace (the same files as one workspace, with the class tree)"
  echo
  header
  for t in quillon-workspace "gtags + htags"; do row "$t" "$lines" "$bytes" quillon-workspace; done
  echo
  echo "## Growth"
  echo
  header
  for k in 1 2 4; do row "quillon x$k" $((lines * k)) $((bytes * k)) "quillon x1"; done
  echo
  echo "## A folder as a project"
  echo
  echo "A tree of $tree_files files and $tree_lines lines in 100 folders, converted as one workspace ('quillon -o OUT FOLDER')."
  echo
  header
  row "quillon folder" "$tree_lines" "$tree_bytes" "quillon folder"
  echo
  echo "## Cross-references"
  echo
  echo "The corpus as one workspace, and the folder, with and without \`--xref\`; htags with its"
  echo "cross-reference pages. Output: the bytes written (htags: its HTML folder)."
  echo
  echo "| tool | median s | lines/s | time / without | peak RSS MB | output MB |"
  echo "|---|---:|---:|---:|---:|---:|"
  xrow() {  # xrow NAME LINES REFERENCE
    awk -v name="$1" -v t="${seconds[$1]}" -v n="$2" -v ref="${seconds[$3]}" -v m="${rss[$1]}" \
        -v o="${output_size[$1]}" \
      'BEGIN { printf "| %-28s | %8.3f | %11.0f | %8.2f | %8.1f | %8.1f |\n", name, t, n / t, t / ref, m / 1024, o / 1048576 }'
  }
  for t in quillon-workspace "quillon-workspace --xref" "gtags + htags -a -n -s -F"; do
    xrow "$t" "$lines" quillon-workspace
  done
  for t in "quillon folder" "quillon folder --xref"; do xrow "$t" "$tree_lines" "quillon folder"; done
  echo
  echo "## Text search"
  echo
  echo "The folder with \`--text-search\` against without: the index's share of the time (at most 30% wanted)"
  echo "and its size against the sources' text (at most 1.5 times wanted)."
  echo
  echo "| workspace | median s | time / without | index MB | index / sources |"
  echo "|---|---:|---:|---:|---:|"
  awk -v t="${seconds[quillon folder --text-search]}" -v ref="${seconds[quillon folder]}" \
      -v i="$text_index_bytes" -v b="$tree_bytes" \
    'BEGIN { printf "| %-28s | %8.3f | %8.2f | %8.1f | %8.2f |\n", "quillon folder --text-search", t, t / ref, i / 1048576, i / b }'
  echo
  echo "## Incremental runs"
  echo
  echo "The folder with \`--incremental\`: the first run (all pages, and the manifest), and a"
  echo "re-run after one of its files changed, against the folder's run without it."
  echo
  echo "| run | median s | time / without | peak RSS MB |"
  echo "|---|---:|---:|---:|"
  for t in "quillon folder" "quillon folder --incremental" "quillon folder --incremental, one file changed"; do
    awk -v name="$t" -v t="${seconds[$t]}" -v ref="${seconds[quillon folder]}" -v m="${rss[$t]}" \
      'BEGIN { printf "| %-48s | %8.3f | %8.2f | %8.1f |\n", name, t, t / ref, m / 1024 }'
  done
  echo
  echo "The manifest: $((manifest_bytes / 1024)) KiB."
  echo
  echo "## Workspace against pages, pages against the floor"
  echo
  awk -v w="${seconds[quillon-workspace]}" -v p="${seconds[quillon]}" -v f="${seconds[floor]}" \
    'BEGIN { printf "The corpus: workspace / pages %.2f; pages reach %.2f of the floor'"'"'s throughput.\n", w / p, f / p }'
  if $huge; then
    echo
    echo "## A huge folder (--huge)"
    echo
    echo "$huge_files files, 10000000 lines, $((huge_bytes / 1048576)) MiB of source, in 1000 folders; one round."
    echo
    echo "| run | s | lines/s | peak RSS MB | output MB | bytes written / byte of source |"
    echo "|---|---:|---:|---:|---:|---:|"
    awk -v t="${seconds[quillon huge folder]}" -v m="${rss[quillon huge folder]}" -v o="$huge_output" \
        -v b="$huge_bytes" \
      'BEGIN { printf "| quillon huge folder | %8.2f | %11.0f | %8.1f | %8.1f | %6.2f |\n", t, 10000000 / t, m / 1024, o / 1048576, o / b }'
  fi
  echo
  echo "## Options for reading (the corpus x4 again; line numbers should cost at most 15%, rich colours at most 20%)"
  echo
  header
  for t in "quillon x4" "quillon x4 --line-numbers" "quillon x4 --keywords modern" "quillon x4 --rich"; do
    row "$t" "$((4 * lines))" "$((4 * bytes))" "quillon x4"
  done
  echo
  echo "## Search index"
  echo
  echo "Each workspace converted whole (its search index included), then its index written again alone; medians of $rounds rounds."
  echo
  echo "| workspace | names | index KiB | workspace s | index s | index share |"
  echo "|---|---:|---:|---:|---:|---:|"
  echo "${index_row[corpus as files]}"
  echo "${index_row[folder of $tree_files files]}"
  echo
  echo "Largest input file: $(stat -c %s "$corpus/$largest") bytes."
} | tee "$work/RESULTS.md"
cp "$work/RESULTS.md" "$root/bench/RESULTS.md"
