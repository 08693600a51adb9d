#!/usr/bin/env bash
# End-to-end checks of the quillon command: pages and progress lines, exit status,
# error lines, options, and Ctrl+C. Usage: cli_test.sh path/to/quillon
set -uo pipefail
quillon=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
check() {  # check NAME COMMAND... : the command must succeed
  local name=$1; shift
  if "$@"; then echo "ok - $name"; else echo "FAIL - $name"; failures=$((failures + 1)); fi
}
has_line() { grep -qxF -- "$2" "$1"; }
crlf() { printf '%s' "$1" | sed 's/$/\r/'; }

printf '#include "util.h"\nint main() {\n\treturn 0; // done\n}\n' > main.cpp
printf 'Dim x\r\n' > a.vb
printf 'notes\n' > readme.txt

# One file beside its source.
"$quillon" main.cpp > out1 2> err1; status=$?
check "single file exits 0" test $status -eq 0
check "single file progress lines" diff -u <(printf 'Converting main.cpp....\nSuccessfully converted files: 1\n') out1
check "single file writes nothing to stderr" test ! -s err1
check "page next to the source" test -f main.cpp.htm
check "page line of the tab and comment" grep -qF '<nobr>&nbsp;&nbsp;&nbsp;&nbsp;<font color="#0000ff">return</font>&nbsp;0;&nbsp;<font color="#008000">//&nbsp;done</font></nobr><br>' main.cpp.htm
check "page has CR LF line ends" test "$(grep -c $'\r$' main.cpp.htm)" -eq "$(wc -l < main.cpp.htm)"
check "include linked" grep -qF '"<a href="util.h.htm">util.h</a>"' main.cpp.htm

# An output folder, a file that cannot be converted, options.
"$quillon" -o out --keyword '#FF0000' --background '#102030' --font 'Lucida Console' a.vb readme.txt > out2 2> err2; status=$?
check "unconvertible input makes the status non-zero" test $status -eq 1
check "unconvertible input listed" has_line out2 "<readme.txt can't be converted>"
check "unconvertible input on stderr" grep -qF "readme.txt can't be converted" err2
check "page in the output folder" test -f out/a.vb.htm
check "keyword colour option" grep -qF '<font color="#ff0000">Dim</font>' out/a.vb.htm
check "background option" grep -qF '<body bgcolor="#102030">' out/a.vb.htm
check "font option" grep -qF 'face="Lucida Console"' out/a.vb.htm

# Reference links from a file.
cat > links.xml <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<referenceLinks>
<item> <cpp/> <word> main</word>  <link> ref/main.htm </link> </item>
</referenceLinks>
XML
"$quillon" --links links.xml -o linked main.cpp > /dev/null 2>&1
check "reference link applied" grep -qF '<a href="ref/main.htm" target="_blank" style="text-decoration:none;color:#000000">main</a>' linked/main.cpp.htm

# Each input its own page, on several threads; a workspace is the same on any number.
"$quillon" --pages -j 3 -o pages main.cpp a.vb > out9 2>&1; status=$?
check "--pages exits 0" test $status -eq 0
check "--pages writes each page" test -f pages/main.cpp.htm -a -f pages/a.vb.htm
check "--pages lines in input order" diff -u <(printf 'Converting main.cpp....\nConverting a.vb....\nSuccessfully converted files: 2\n') out9
mkdir set && for i in 1 2 3 4 5 6; do printf 'class C%s {\n  int m%s;\n};\nC1 c;\n' $i $i > set/f$i.cpp; done
"$quillon" -j 1 -o ws1 set/*.cpp > ws1.out 2>&1
"$quillon" -j 4 -o ws4 set/*.cpp > ws4.out 2>&1
check "a workspace on 4 threads has the same lines" diff -u ws1.out ws4.out
check "a workspace on 4 threads has the same bytes" diff -r ws1 ws4

# Line numbers, today's keywords and a keywords file of one's own, given together.
printf '[cpp]  # our macros\nMYAPI\n[vb]\nMyWord\n' > words.txt
printf 'MyWord Await x\n' > w.vb
"$quillon" --pages --line-numbers --keywords modern --keywords words.txt -o opts main.cpp w.vb > /dev/null 2> err10; status=$?
check "options for reading exit 0" test $status -eq 0 -a ! -s err10
check "line anchor and number" grep -qF '<nobr><a id="L3" href="#L3"></a>&nbsp;&nbsp;&nbsp;&nbsp;<font color="#0000ff">return</font>' opts/main.cpp.htm
check "gutter style in the head" grep -qF 'nobr>a[id]::before{content:counter(line)}' opts/main.cpp.htm
check "own and modern Visual Basic words" grep -qF '<font color="#0000ff">MyWord</font>&nbsp;<font color="#0000ff">Await</font>&nbsp;x' opts/w.vb.htm
printf 'MYAPI auto p = nullptr;\r\n' > modern.cpp
"$quillon" --keywords words.txt --keywords modern -o opts modern.cpp > /dev/null 2>&1
check "modern keyword and own word coloured" grep -qF '<nobr><font color="#0000ff">MYAPI</font>&nbsp;<font color="#0000ff">auto</font>&nbsp;p&nbsp;=&nbsp;<font color="#0000ff">nullptr</font>;</nobr>' opts/modern.cpp.htm
"$quillon" -o plain modern.cpp > /dev/null 2>&1
check "without the options nothing changes" grep -qF '<nobr>MYAPI&nbsp;auto&nbsp;p&nbsp;=&nbsp;nullptr;</nobr>' plain/modern.cpp.htm
printf '[cpp]\nok\n[pascal]\n' > bad.txt
"$quillon" --keywords bad.txt -o never main.cpp > out11 2> err11; status=$?
check "malformed keywords file: status 1, nothing converted" test $status -eq 1 -a ! -s out11 -a ! -e never
check "malformed keywords file: file and line named" grep -qxF "quillon: bad.txt: line 3: unknown section [pascal] (the sections are [cpp], [cs], [java] and [vb])" err11
"$quillon" --keywords nowhere.txt main.cpp > /dev/null 2> err12; status=$?
check "missing keywords file: status 1" test $status -eq 1
check "missing keywords file: message" grep -qxF "quillon: cannot read the keywords file nowhere.txt" err12
"$quillon" main.cpp --keywords > /dev/null 2> err13; status=$?
check "--keywords without a value: status 2" test $status -eq 2

# Files that cannot be read or written.
mkdir folder.cpp
"$quillon" folder.cpp > out3 2> err3; status=$?
check "unreadable source: status 1" test $status -eq 1
check "unreadable source listed" has_line out3 "<folder.cpp can't be read>"
check "unreadable source not counted" has_line out3 "Successfully converted files: 0"
touch afile
"$quillon" -o afile main.cpp > out4 2> err4; status=$?
check "output folder that is a file: status 1" test $status -eq 1
check "output folder that is a file: message" grep -q "cannot create the output directory" err4
"$quillon" missing.cpp > out5 2> err5; status=$?
check "missing input: status 1" test $status -eq 1

# Usage errors.
"$quillon" > /dev/null 2> err6; status=$?
check "no input: status 2" test $status -eq 2
"$quillon" --keyword red main.cpp > /dev/null 2> err7; status=$?
check "bad colour: status 2" test $status -eq 2
check "bad colour: message" grep -qF "is not a colour" err7
"$quillon" --help > help; status=$?
check "help exits 0" test $status -eq 0
check "help shows usage" grep -q "^usage: quillon" help
check "version" test "$("$quillon" --version)" = "quillon 1.0.0"

# Ctrl+C stops the run: the cancel line is the last one and the status is non-zero.
yes 'int x = 1; // a comment with int and return' | head -n 3000000 > big.cpp
"$quillon" big.cpp > out8 2> err8 &
pid=$!
for _ in $(seq 1 200); do grep -q "^Converting big.cpp" out8 2>/dev/null && break; sleep 0.05; done
kill -INT $pid
wait $pid; status=$?
check "Ctrl+C: non-zero status" test $status -ne 0
check "Ctrl+C: cancel line last" test "$(tail -n 1 out8)" = "Conversion was canceled."
check "Ctrl+C: no count line" bash -c "! grep -q Successfully $work/out8"

echo "$failures failure(s)"
test $failures -eq 0
