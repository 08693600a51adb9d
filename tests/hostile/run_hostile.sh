#!/usr/bin/env bash
# Bad input through the quillon command, and nothing lost. Each bad input gets one clear
# message and a non-zero status while the rest of the run goes on; no input file is ever
# changed, also when the pages go beside their sources; a failed or interrupted write
# leaves the previous page as it was. Big inputs are made here, in a scratch directory,
# and removed at the end.
#
#   run_hostile.sh path/to/quillon          the quick checks (a few seconds)
#   run_hostile.sh path/to/quillon --big    also a 100 MB file, a project file of 100,000
#                                           lines and a project of 10,000 files
set -uo pipefail
export LC_ALL=C
quillon=$(realpath "$1")
big=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
failures=0
check() {  # check NAME COMMAND... : the command must succeed
  local name=$1; shift
  if "$@"; then echo "ok - $name"; else echo "FAIL - $name"; failures=$((failures + 1)); fi
}
has_line() { grep -qxF -- "$2" "$1"; }
count_lines() { grep -cxF -- "$2" "$1"; }
printf 'int main() { return 0; }\n' > ok.cpp

# ---------------------------------------------------------------- bad inputs

"$quillon" missing.cpp > out 2> err; status=$?
check "missing input: status 1" test $status -eq 1
check "missing input: one message" test "$(grep -c 'missing.cpp' err)" -eq 1
check "missing input: the message" has_line err "quillon: <missing.cpp can't be read>"

# Folders become workspaces. A folder too deep to be read by its path is reported once
# and the rest goes on.
mkdir -p folder/.git folder.cpp/src
printf 'int a;\n' > folder.cpp/src/a.cpp
(
  cd folder
  printf 'int top;\n' > top.cpp
  long=$(printf 'd%.0s' $(seq 1 250))
  for _ in $(seq 1 17); do mkdir "$long" && cd "$long"; done
  printf 'int deep;\n' > deep.cpp
)
"$quillon" folder folder.cpp ok.cpp > out 2> err; status=$?
check "folders as input: status 1 for the folder that cannot be read" test $status -eq 1
check "folders as input: one message, for the folder that cannot be read" \
  test "$(grep -c "can't be read>" err)" -eq 1 -a "$(wc -l < err)" -eq 1
check "folders as input: each folder its workspace" \
  test -s folder_HTML/top.cpp.htm -a -s folder.cpp_HTML/a.cpp.htm -a -s folder_Project.htm
check "folders as input: what was left out is listed" grep -q "^Left out of folder: 1 version-control folder (.git)" out
check "folders as input: the file beside them is converted" test -s ok.cpp.htm

touch afile
"$quillon" -o afile ok.cpp > out 2> err; status=$?
check "output directory that is a file: status 1" test $status -eq 1
check "output directory that is a file: one message" \
  test "$(cat err)" = "quillon: cannot create the output directory $work/afile"
"$quillon" -o afile/sub ok.cpp > out 2> err; status=$?
check "output directory that cannot be made: status 1" test $status -eq 1
check "output directory that cannot be made: one message" \
  test "$(cat err)" = "quillon: cannot create the output directory $work/afile/sub"

# Pictures and programs named like sources, and text with a stray NUL.
mkdir bin && cd bin
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10' > logo.cpp
printf 'GIF89a\x10\0\x10\0' > anim.h
{ printf 'MZ\x90\0'; head -c 56 /dev/zero; printf '\x40\0\0\0PE\0\0'; head -c 200 /dev/zero; } > app.cpp
cp "$(type -P true)" tool.cpp
printf 'PK\x03\x04\x14\0\0\0' > archive.cs
{ printf 'int a;\0\n'; head -c 4000 /dev/zero | tr '\0' 'x'; printf '\n'; } > stray_nul.cpp
cd ..
"$quillon" -o binout bin/logo.cpp > out 2> err; status=$?
check "binary file: status 1" test $status -eq 1
check "binary file: one message" test "$(cat err)" = "quillon: <logo.cpp is not a text file>"
check "binary file: empty page" test "$(grep -c '<nobr>' binout/logo.cpp.htm)" -eq 0
check "binary file: not counted" has_line out "Successfully converted files: 0"
"$quillon" -o binout bin/* > out 2> err; status=$?
check "binaries in a set: status 1" test $status -eq 1
for f in logo.cpp anim.h app.cpp tool.cpp archive.cs; do
  check "binaries in a set: $f reported" has_line err "quillon: <$f is not a text file>"
done
check "binaries in a set: five messages" test "$(wc -l < err)" -eq 5
check "binaries in a set: the text file is converted" grep -q 'xxxx</nobr>' binout/Project_HTML/stray_nul.cpp.htm
check "binaries in a set: only the text file is counted" has_line out "Successfully converted files: 1"

# A malformed reference links file is read as far as it goes, without a message: the file
# is hand-edited, and what a tolerant reader makes of it is the documented result.
mkdir links && cd links
printf 'printf(x); puts(y);\n' > calls.cpp
printf '<referenceLinks>\n<item> <word> printf</word> <link> p.htm</link> </item>\n<item><word>puts<' \
  > ReferenceLinks.xml
head -c 3000 /dev/urandom >> ReferenceLinks.xml
"$quillon" calls.cpp > out 2> err; status=$?
check "malformed reference links file: status 0" test $status -eq 0
check "malformed reference links file: no message" test ! -s err
check "malformed reference links file: what it holds is used" grep -q 'href="p.htm"' calls.cpp.htm
cd ..

# A links file that is no links file at all: one warning, and the run goes on.
printf 'int main() { return 0; }\n' > ReferenceLinks.xml
"$quillon" -o links-out links/calls.cpp > out 2> err; status=$?
check "links file of another kind: status 0, one warning" test $status -eq 0 -a "$(wc -l < err)" -eq 1
check "links file of another kind: the warning names it" grep -qF "ReferenceLinks.xml is not a reference links file" err
rm ReferenceLinks.xml

# A cloned repository's ReferenceLinks.xml: links whose URLs would run code, however they
# are spelt, stay out of the pages (one warning); a "&" in a URL stays a "&".
mkdir clone && cd clone
printf 'int main() { printf(x); puts(y); exit(z); abs(w); }\n' > calls.cpp
{
  printf '<referenceLinks>\n'
  printf '<item> <word> printf</word> <link> javascript:alert(1)</link> </item>\n'
  printf '<item> <word> puts</word> <link> &#x4A;avascript&colon;alert(2)</link> </item>\n'
  printf '<item> <word> exit</word> <link> java\tscript:alert(3)</link> </item>\n'
  printf '<item> <word> main</word> <link> \x01DaTa:text/html,x</link> </item>\n'
  printf '<item> <word> abs</word> <link> abs.htm?a=1&copy;2&quot;</link> </item>\n'
  printf '</referenceLinks>\n'
} > ReferenceLinks.xml
"$quillon" calls.cpp > out 2> err; status=$?
check "links that run code: status 0, one warning" test $status -eq 0 -a "$(wc -l < err)" -eq 1
check "links that run code: the warning names them" grep -qF "the links of printf, puts, exit, main are left out" err
check "links that run code: none in the page" test "$(grep -ci 'script\|data:' calls.cpp.htm)" -eq 0
check "links that run code: the others are used, & as &amp;" grep -qF 'href="abs.htm?a=1&amp;copy;2&amp;quot;"' calls.cpp.htm
cd ..

# Control bytes in names never reach the terminal: the progress and error lines show them
# escaped, and so do the messages that quote a file's text.
mkdir term && cd term
evil=$(printf 'x\e]0;TITLE\a\e[2J.cpp')
printf 'int a;\n' > "$evil"
"$quillon" "$evil" "missing$(printf '\e[2J').cpp" > out 2> err; status=$?
check "control bytes in names: status 1 for the missing file" test $status -eq 1
check "control bytes in names: none written" test "$(cat out err | tr -d '\n' | grep -c '[[:cntrl:]]')" -eq 0
check "control bytes in names: the progress line" has_line out 'Converting x\x1b]0;TITLE\x07\x1b[2J.cpp....'
check "control bytes in names: the error line" has_line err "quillon: <missing\\x1b[2J.cpp can't be read>"
check "control bytes in names: the page" test -s "Project_HTML/$evil.htm"
printf '[cpp]\nfo\0o\n' > words.txt
"$quillon" --keywords words.txt "$evil" > out 2> err; status=$?
check "NUL in a keywords file: shown whole" has_line err "quillon: words.txt: line 2: 'fo\\x00o' is not a word (letters, digits and _ # \$ @ - only)"
cd ..

# Standard input as hostile as any file: the page of the same bytes, or one clear message.
"$quillon" - < bin/stray_nul.cpp > stdin.htm 2> err; status=$?
"$quillon" -o stdin-ref bin/stray_nul.cpp > /dev/null 2>&1
check "standard input with a NUL: the file's page" test $status -eq 0 -a ! -s err
check "standard input with a NUL: same bytes" cmp -s stdin.htm stdin-ref/stray_nul.cpp.htm
"$quillon" - < bin/logo.cpp > stdin.htm 2> err; status=$?
check "standard input that is a picture: status 1, one message" \
  test $status -eq 1 -a "$(cat err)" = "quillon: <standard input is not a text file>"

# Names and paths with spaces, quotes, apostrophes and bytes above 0x7F.
odd_dir="dir with spaces 'n \"quotes\" $(printf '\xe9')"
odd_name="it's a \"file\" $(printf '\xc3\xa9\xff').cpp"
mkdir "$odd_dir"
printf 'class Odd {\n};\nOdd o;\n' > "$odd_dir/$odd_name"
printf 'Odd x;\n' > "$odd_dir/other.cpp"
"$quillon" "$odd_dir/$odd_name" > out 2> err; status=$?
check "odd names: status 0" test $status -eq 0
check "odd names: page beside the source" test -s "$odd_dir/$odd_name.htm"
"$quillon" -o "$odd_dir/out 'x'" "$odd_dir/$odd_name" "$odd_dir/other.cpp" > out 2> err; status=$?
check "odd names in a workspace: status 0" test $status -eq 0
check "odd names in a workspace: class link across files" \
  grep -q 'href="it'"'"'s a %22file%22 .*\.cpp\.htm#Odd"' "$odd_dir/out 'x'/Project_HTML/other.cpp.htm"

# A folder's names as they are on disk: a name holding a backslash (one file on POSIX,
# listed with U+FF3C in its place), a name with a line break (escaped for the tab's
# script string and the progress line) and a file more than 128 folders down (named in
# the "Left out" line).
mkdir -p names/back
printf 'int real;\n' > 'names/back\slash.cpp'
printf 'int other;\n' > names/back/slash.cpp
printf 'int broken;\n' > "names/new"$'\n'"line.cpp"
deep=names; for _ in $(seq 1 130); do deep=$deep/d; done
mkdir -p "$deep" && printf 'int deep;\n' > "$deep/deep.cpp"
"$quillon" -o namesout names > out 2> err; status=$?
names_html=namesout/names_HTML
check "names from disk: status 0, no message" test $status -eq 0 -a ! -s err
check "names from disk: a backslash in a name is one file, with its text" \
  grep -q 'real;' "$names_html/back$(printf '\xef\xbc\xbc')slash.cpp.htm"
check "names from disk: the folder's file keeps its own page" grep -q 'other;' "$names_html/slash.cpp.htm"
check "names from disk: the tree links the page" \
  grep -qF 'HREF="back%EF%BC%BCslash.cpp.htm"' "$names_html/SourceTree.htm"
check "names from disk: a line break is escaped in the tab's script string" \
  grep -qF "SendTabText('new\\x0aline.cpp');" "$names_html/SourceTree.htm"
check "names from disk: no script string is broken over lines" \
  test "$(grep -c "SendTabText('[^']*$" "$names_html/SourceTree.htm")" -eq 0
check "names from disk: the progress line stays one line" has_line out 'Converting new\x0aline.cpp....'
check "names from disk: the line-break file has its page" grep -q 'broken;' "$names_html/new"$'\n'"line.cpp.htm"
check "names from disk: too deep a folder is named in the Left out line" \
  grep -q '^Left out of names: 1 folder more than 128 folders down (d\\d\\d' out

# Project files that are no project files, names that would hide a page, and a second
# run into the same folder.
: > empty.vcproj
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR' > picture.vcxproj
"$quillon" -o projout empty.vcproj > out 2> err; status=$?
check "empty project file: status 1" test $status -eq 1
check "empty project file: one message" test "$(cat err)" = "quillon: <empty.vcproj is empty>"
"$quillon" -o projout picture.vcxproj > out 2> err; status=$?
check "binary project file: status 1" test $status -eq 1
check "binary project file: one message" test "$(cat err)" = "quillon: <picture.vcxproj is not a text file>"
mkdir rerun
printf 'int a;\n' > rerun/a.cpp
printf 'first' > rerun/logo.bmp
printf '<VisualStudioProject\r\n\tName="..\\..\\x"\r\n\t>\r\n\t<Files>\r\n\t\t<File RelativePath=".\\a.cpp"/>\r\n\t\t<File RelativePath=".\\logo.bmp"/>\r\n\t</Files>\r\n</VisualStudioProject>\r\n' \
  > rerun/R.vcproj
"$quillon" -o rerun/out rerun/R.vcproj > out 2> err
printf 'second' > rerun/logo.bmp
"$quillon" -o rerun/out rerun/R.vcproj > out 2> err; status=$?
"$quillon" -o rerun/fresh rerun/R.vcproj > /dev/null 2>&1
check "second run: status 0" test $status -eq 0
check "second run: the changed image is copied again" test "$(cat rerun/out/R_HTML/Images/logo.bmp)" = second
check "second run: the same workspace as a fresh run" diff -r rerun/out rerun/fresh
check "a name with leading dots: no hidden page" \
  test -s 'rerun/out/___.._x_Project.htm' -a "$(ls -A rerun/out | grep -c '^\.')" -eq 0

# ---------------------------------------------------------------- nothing lost

# Every source converted beside itself, alone, as a set and as a project, with page names
# that the sources themselves hold (a hard link and a symbolic link) and an earlier page.
mkdir same && "$here/make_sources.sh" same/src
cd same/src
ln 'bom.cpp' 'bom.cpp.htm'
ln -s 'empty.cpp' 'empty.cpp.htm'
printf 'int ok;\n' > 'ok.cpp'
printf 'an earlier page\n' > 'ok.cpp.htm'
find . -type f ! -name 'ok.cpp.htm' -print0 > ../inputs
xargs -0 sha256sum < ../inputs > ../before
cd ../..
for f in same/src/*; do "$quillon" "$f" >> same/single.log 2>&1; done
"$quillon" same/src/*.cpp same/src/*.h > same/set.log 2>&1
(cd same/src && xargs -0 sha256sum < ../inputs) > same/after
check "sources converted beside themselves are unchanged" cmp -s same/before same/after
check "a page name that is a hard link to its source: reported" \
  grep -qF "<bom.cpp.htm can't be written>" same/single.log
check "a page name that is a link to its source: still a link" test -L same/src/empty.cpp.htm
check "an earlier page is replaced" grep -qF '<nobr><font color="#0000ff">int</font>' same/src/ok.cpp.htm
check "the workspaces went beside the sources" \
  test -s same/src/Source_Project.htm -a -d 'same/src/hostile project_HTML'

# A failed write leaves the previous page whole: the file size limit makes the write
# fail (SIGXFSZ ignored) or kills the program in the middle of it (SIGXFSZ default).
mkdir keep && cd keep
{ for i in $(seq 1 20000); do printf 'int line%d = %d; // comment\n' "$i" "$i"; done; } > big.cpp
printf 'int small;\n' > small.cpp
"$quillon" small.cpp > /dev/null 2>&1 && mv small.cpp.htm big.cpp.htm
cp big.cpp.htm previous
(trap '' XFSZ; ulimit -f 64; "$quillon" big.cpp > out 2> err); status=$?
check "failed write: status 1" test $status -eq 1
check "failed write: one message" test "$(cat err)" = "quillon: <big.cpp.htm can't be written>"
check "failed write: the previous page is intact" cmp -s big.cpp.htm previous
check "failed write: no temporary file left" test "$(ls | grep -c tmp)" -eq 0
{ (ulimit -f 64; exec "$quillon" big.cpp > out 2> err); } 2> /dev/null; status=$?
check "interrupted write: the program was stopped" test $status -ne 0
check "interrupted write: the previous page is intact" cmp -s big.cpp.htm previous
"$quillon" big.cpp > /dev/null 2>&1
check "the next write replaces the page" test "$(grep -c '<nobr>' big.cpp.htm)" -eq 20000
cd ..

# An output directory that vanishes while the page is written.
mkdir gone
yes 'int x = 1; // a line of a long file' | head -n 500000 > long.cpp
"$quillon" -o gone long.cpp > gone.out 2> gone.err &
pid=$!
for _ in $(seq 1 200); do grep -q '^Converting' gone.out 2> /dev/null && break; sleep 0.05; done
rm -rf gone
wait $pid; status=$?
check "output directory gone: status 1" test $status -eq 1
check "output directory gone: one message" test "$(cat gone.err)" = "quillon: <long.cpp.htm can't be written>"
check "output directory gone: the source is unchanged" test "$(wc -l < long.cpp)" -eq 500000

# ---------------------------------------------------------------- big inputs

if [[ $big == --big ]]; then
  peak() { /usr/bin/time -f '%M' -o "$1.rss" "${@:2}"; }
  # 100 MB of source: converted by streaming, in little memory.
  line=$'\tint value = compute(1, "text"); // a comment with int and return'
  yes "$line" | head -n $((104857600 / (${#line} + 1) + 1)) > huge.cpp
  peak huge "$quillon" huge.cpp > huge.out 2> huge.err; status=$?
  check "100 MB file: status 0" test $status -eq 0
  check "100 MB file: counted" has_line huge.out "Successfully converted files: 1"
  check "100 MB file: every line" test "$(grep -c '<nobr>' huge.cpp.htm)" -eq "$(wc -l < huge.cpp)"
  # AddressSanitizer keeps freed memory aside (up to 256 MB) and its shadow beside it.
  limit_kb=65536
  grep -qa __asan_init "$quillon" && limit_kb=1048576
  check "100 MB file: memory stays under $((limit_kb / 1024)) MB ($(($(cat huge.rss) / 1024)) MB)" \
    test "$(cat huge.rss)" -lt $limit_kb
  rm -f huge.cpp huge.cpp.htm

  # 100 MB on one line: held in a few times its size, and where the memory runs out, one
  # line for that file while the run goes on, with nothing left behind.
  python3 -c "
import sys
piece = 'int main(){ return a<b && c>d; } // x \"str\" class Foo; '
sys.stdout.write(piece * (104857600 // len(piece)) + '\\n')" > oneline.cpp
  peak oneline "$quillon" --pages -j 1 oneline.cpp ok.cpp > oneline.out 2> oneline.err; status=$?
  check "100 MB line: status 0" test $status -eq 0
  check "100 MB line: the page holds it" test "$(stat -c %s oneline.cpp.htm)" -gt 200000000
  one_kb=$((10 * 102400))
  grep -qa __asan_init "$quillon" && one_kb=$((4 * one_kb))
  check "100 MB line: memory under $((one_kb / 1024)) MB ($(($(cat oneline.rss) / 1024)) MB)" \
    test "$(cat oneline.rss)" -lt $one_kb
  rm -f oneline.cpp.htm ok.cpp.htm
  if ! grep -qa __asan_init "$quillon"; then  # the sanitizer reserves more than the limit
    (ulimit -v 600000; "$quillon" -o lowmem oneline.cpp ok.cpp > lowmem.out 2> lowmem.err); status=$?
    check "out of memory: status 1" test $status -eq 1
    check "out of memory: one line for the file" \
      test "$(cat lowmem.err)" = "quillon: <oneline.cpp can't be converted: out of memory>"
    check "out of memory: the rest converted" test -s lowmem/Project_HTML/ok.cpp.htm
    check "out of memory: no temporary file left" test -z "$(find lowmem -name '*.tmp*')"
  fi
  rm -rf oneline.cpp lowmem

  # A project file of 100,000 lines that lists 10,000 files, each with a class that
  # another file uses, and a class name that every file declares.
  mkdir many && cd many
  for ((i = 0; i < 10000; i++)); do
    printf '#include "f%d.h"\nclass C%d {\npublic:\n    int m;\n    void run();\n};\nclass Shared {\n};\nC%d other; Shared s;\n' \
      $(((i + 1) % 10000)) $i $(((i * 7) % 10000)) > "f$i.h"
  done
  {
    printf '<VisualStudioProject\r\n\tName="Many"\r\n\t>\r\n\t<Files>\r\n'
    for ((i = 0; i < 10000; i++)); do
      printf '\t\t<File RelativePath=".\\f%d.h">\r\n\t\t</File>\r\n' $i
      for ((k = 0; k < 8; k++)); do printf '\t\t<!-- filler line %d -->\r\n' $k; done
    done
    printf '\t</Files>\r\n</VisualStudioProject>\r\n'
  } > many.vcproj
  cd ..
  check "project file of 100,000 lines" test "$(wc -l < many/many.vcproj)" -ge 100000
  peak many "$quillon" -o manyout many/many.vcproj > many.out 2> many.err; status=$?
  check "10,000 files: status 0" test $status -eq 0
  check "10,000 files: all converted" has_line many.out "Successfully converted files: 10000"
  check "10,000 files: class links across files" grep -q 'href="f7.h.htm#C7"' manyout/many_HTML/f1.h.htm
  rm -rf many manyout
fi

echo "$failures failure(s)"
test $failures -eq 0
