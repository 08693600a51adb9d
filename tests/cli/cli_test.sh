#!/usr/bin/env bash
# End-to-end checks of the quillon command: pages and progress lines, exit status,
# error lines, options, the reference links command, the manual page, and Ctrl+C.
# Usage: cli_test.sh path/to/quillon VERSION [path/to/quillon.1]
set -uo pipefail
quillon=$(realpath "$1")
version=$2
manual=${3:+$(realpath "$3")}
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
# --trees lazy: the tree pages hold their top level, the nodes' lines are scripts beside them.
"$quillon" --trees lazy -o lazy main.cpp a.vb > /dev/null 2>&1
check "--trees lazy: a folder loads its files from a script" \
  grep -qF 'data-src="trees/s0.js"' lazy/Project_HTML/SourceTree.htm
check "--trees lazy: the script and the tree script are written" \
  test -f lazy/Project_HTML/trees/s0.js -a -f lazy/Project_HTML/TreeNodes.js

# Reference links from a file.
cat > links.xml <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<referenceLinks>
<item> <cpp/> <word> main</word>  <link> ref/main.htm </link> </item>
</referenceLinks>
XML
"$quillon" --links links.xml -o linked main.cpp > /dev/null 2>&1
check "reference link applied" grep -qF '<a href="ref/main.htm" target="_blank" style="text-decoration:none;color:#000000">main</a>' linked/main.cpp.htm

# The links command on a file as the dialog writes it (texts as typed, CR LF) and on one
# written by hand with the reader's tolerances; then add, remove, and what it refuses.
crlf '<?xml version="1.0" encoding="utf-8"?>
<referenceLinks>
<item> <cpp/> <vb/> <word> my func</word>  <link> http://x/f </link> </item> 
</referenceLinks>
' > gui.xml
"$quillon" links --links gui.xml list > lk1 2> lk1.err; status=$?
check "links list of the dialog's file" test $status -eq 0 -a ! -s lk1.err
check "links list lines" diff -u <(printf 'myfunc http://x/f cpp,vb\n') lk1
printf '<referenceLinks>\n  <item>\n    <csharp></csharp>\n    <word>\n      Console\n    </word>\n    <link><![CDATA[http://c/]]></link>\n  </item>\n</referenceLinks>\n' > hand.xml
"$quillon" links --links hand.xml add main ref/main2.htm --lang cpp,all > lk2 2> lk2.err; status=$?
check "links add to a hand-written file" test $status -eq 0 -a ! -s lk2.err
check "links add says what the dialog says" has_line lk2 "Successfully added!"
check "links add writes the dialog's layout" diff -u <(crlf '<?xml version="1.0" encoding="utf-8"?>
<referenceLinks>
<item> <csharp/> <word> Console</word>  <link> http://c/ </link> </item> 
<item> <cpp/> <all/> <word> main</word>  <link> ref/main2.htm </link> </item> 
</referenceLinks>
') hand.xml
"$quillon" --links hand.xml -o linked2 main.cpp > /dev/null 2>&1
check "an added link is used in pages" grep -qF '<a href="ref/main2.htm"' linked2/main.cpp.htm
(cd linked2 && "$quillon" links add main ref/main3.htm > /dev/null 2>&1); status=$?
check "links add without --links makes ReferenceLinks.xml here" test $status -eq 0 -a -f linked2/ReferenceLinks.xml
"$quillon" links --links hand.xml add main ref/main3.htm > /dev/null 2> lk4.err; status=$?
check "links add of a word already there: status 0" test $status -eq 0
check "links add of a word already there: a note" grep -qF "main was already in the table" lk4.err
"$quillon" links --links hand.xml remove main > lk5 2>&1; status=$?
check "links remove takes every record of the word" test $status -eq 0 -a \
  "$("$quillon" links --links hand.xml list)" = "Console http://c/ cs"
"$quillon" links --links hand.xml remove main > /dev/null 2> lk6.err; status=$?
check "links remove of a missing word: status 1" test $status -eq 1
printf '<referenceLinks>\n<item>\n<word>a</word>\n<link>b</link>\n</item>\n<item>\n<word>c</word>\n<link>d</link>\n</item>\n</referenceLinks>\n' > merged.xml
cp merged.xml merged.before
"$quillon" links --links merged.xml add z y > /dev/null 2> lk7.err; status=$?
check "links add refuses a file it would not reproduce" test $status -eq 1
check "links add names the line and the problem" grep -qF 'merged.xml:5: "</item>" in the first column' lk7.err
check "links add leaves that file unchanged" cmp -s merged.xml merged.before
"$quillon" links --links main.cpp remove main > /dev/null 2> lk8.err; status=$?
check "links remove refuses a file of another kind: status 1" test $status -eq 1
check "links remove refuses a file of another kind: said" grep -qF "not a reference links file" lk8.err
"$quillon" links --links hand.xml add 'a]b' http://x/ > /dev/null 2>&1; status=$?
check "links add refuses a word the file cannot hold" test $status -eq 1
"$quillon" links --links missing/links.xml add w http://x/ > /dev/null 2> lk9.err; status=$?
check "links add that cannot write: status 1" test $status -eq 1
check "links add that cannot write: the dialog's message" grep -qF "Unable to add!" lk9.err
for usage in "links" "links list extra" "links add onlyword" "links add w u --lang cobol" "links remove w --lang cpp" "links --bogus list"; do
  "$quillon" $usage > /dev/null 2> lk10.err; status=$?
  check "bad usage: quillon $usage" test $status -eq 2 -a "$(wc -l < lk10.err)" -eq 2 -a \
    "$(tail -n 1 lk10.err)" = "Try 'quillon links --help' for more information."
done
# A save keeps the file's permissions, writes through a symbolic link to its target, and
# leaves a read-only file alone.
cp gui.xml private.xml && chmod 600 private.xml
"$quillon" links --links private.xml add w1 http://x/1 > /dev/null 2>&1
check "links add keeps a private file private" test "$(stat -c %a private.xml)" = 600
mkdir real && cp gui.xml real/links.xml && ln -s real/links.xml linked.xml
"$quillon" links --links linked.xml add w2 http://x/2 > /dev/null 2>&1; status=$?
check "links add writes through a symbolic link" test $status -eq 0 -a -L linked.xml -a \
  "$(grep -c '<word> w2</word>' real/links.xml)" -eq 1
if [ "$(id -u)" -ne 0 ]; then  # (the superuser may write any file)
  cp gui.xml readonly.xml && chmod 400 readonly.xml
  "$quillon" links --links readonly.xml add w3 http://x/3 > /dev/null 2>&1; status=$?
  check "links add leaves a read-only file alone" test $status -eq 1 -a "$(grep -c w3 readonly.xml)" -eq 0
fi
# URLs the file cannot keep as given, or that would run code in a page, are refused.
cp gui.xml refuse.xml && cp refuse.xml refuse.before
n=0
for url in 'http://a b/c d' $'http://a/\e[2J' 'javascript:alert(1)' 'JavaScript:x' ' vbscript:x' \
           'data:text/html,x' '&#106;avascript:x' 'javascript&colon;x' $'java\tscript:x'; do
  n=$((n + 1))
  "$quillon" links --links refuse.xml add w "$url" > lk12.out 2> lk12.err; status=$?
  check "links add refuses URL $n: status 1, one line" test $status -eq 1 -a ! -s lk12.out -a \
    "$(wc -l < lk12.err)" -eq 1
done
check "links add refuses a URL with blanks: says so" grep -qF "holds a blank" <("$quillon" links --links refuse.xml add w 'a b' 2>&1)
check "refused URLs leave the file unchanged" cmp -s refuse.xml refuse.before
"$quillon" links --links refuse.xml add main 'http://x/?a=1&copy;2' > /dev/null 2>&1
"$quillon" --links refuse.xml --font 'A&B' -o amp main.cpp > /dev/null 2>&1
check "a URL's & is written &amp; in the page" grep -qF '<a href="http://x/?a=1&amp;copy;2" target' amp/main.cpp.htm
check "the font's & is written &amp; in the page" grep -qF 'face="A&amp;B"' amp/main.cpp.htm
check "links leaves no temporary files" test -z "$(ls -a | grep '\.tmp')"

# A links file named with --links must be one that can be read; the default one may be
# missing (no links), and one that is no links file is named once and the run goes on.
mkdir links-dir
for bad in nowhere.xml links-dir; do
  "$quillon" --links $bad -o never2 main.cpp > out15 2> err15; status=$?
  check "--links $bad: status 2, one line, nothing converted" \
    test $status -eq 2 -a "$(wc -l < err15)" -eq 1 -a ! -s out15 -a ! -e never2
done
mkdir own && cp main.cpp own/ && cd own
"$quillon" main.cpp > out16 2> err16; status=$?
check "no ReferenceLinks.xml: no word of it" test $status -eq 0 -a ! -s err16
mkdir ReferenceLinks.xml
"$quillon" main.cpp > out16 2> err16; status=$?
check "ReferenceLinks.xml a folder: one warning, converted" test $status -eq 0 -a "$(wc -l < err16)" -eq 1
"$quillon" links list > /dev/null 2> err17; status=$?
check "links list of a folder: status 1, said" test $status -eq 1 -a "$(grep -c 'is a folder' err17)" -eq 1
rmdir ReferenceLinks.xml && cp ../a.vb ReferenceLinks.xml && rm main.cpp.htm
"$quillon" main.cpp > out16 2> err16; status=$?
check "ReferenceLinks.xml of another kind: one warning, converted" \
  test $status -eq 0 -a -f main.cpp.htm -a "$(grep -c 'is not a reference links file' err16)" -eq 1 -a "$(wc -l < err16)" -eq 1
"$quillon" links list > /dev/null 2> err17; status=$?
check "links list of another kind of file: status 1, said" test $status -eq 1 -a "$(grep -c 'not a reference links file' err17)" -eq 1
cd ..

# Standard input to standard output: the page a file of that language gets, with every
# option of a page, and nothing else written.
page_options=(--links links.xml --line-numbers --keywords modern --font 'A&B' --text '#102030')
"$quillon" "${page_options[@]}" -o stdin-ref main.cpp > /dev/null 2>&1
mkdir stdin-dir && (cd stdin-dir && "$quillon" "${page_options[@]/links.xml/../links.xml}" - < ../main.cpp > ../stdin.htm 2> ../stdin.err); status=$?
check "standard input: status 0, nothing on stderr" test $status -eq 0 -a ! -s stdin.err
check "standard input: the page of the file" cmp -s stdin-ref/main.cpp.htm stdin.htm
check "standard input: no file written" test -z "$(ls -A stdin-dir)"
printf '\xff\xfeD\0i\0m\0 \0x\0\r\0\n\0' > utf16.vb
"$quillon" -o stdin-ref utf16.vb > /dev/null 2>&1
"$quillon" --lang vb - < utf16.vb > stdin-vb.htm 2> /dev/null
check "standard input in Visual Basic, UTF-16: the page of the file" cmp -s stdin-ref/utf16.vb.htm stdin-vb.htm

# Progress: on a terminal the pages on one updating line, otherwise (or when asked) the
# lines as the Output dialog lists them.
"$quillon" --progress bar --pages -o bar main.cpp a.vb > bar.out 2>&1
check "--progress bar: the pages on one line, then the count" diff -u \
  <(printf '[0/2] Converting main.cpp....\n[1/2] Converting a.vb....\nSuccessfully converted files: 2\n') \
  <(tr '\r' '\n' < bar.out | sed 's/ *$//' | grep -v '^$')
if script -qc true /dev/null > /dev/null 2>&1; then
  script -qc "'$quillon' --pages -o tty main.cpp" /dev/null > tty.out
  check "on a terminal: the updating line" grep -qF $'\r[0/1] Converting main.cpp....\r' tty.out
  script -qc "'$quillon' --progress lines --pages -o tty main.cpp" /dev/null > tty.out
  check "on a terminal, --progress lines: the lines" \
    test "$(tr -d '\r' < tty.out)" = $'Converting main.cpp....\nSuccessfully converted files: 1'
fi

# Each input its own page, on several threads; a workspace is the same on any number.
"$quillon" --pages -j 3 -o pages main.cpp a.vb > out9 2>&1; status=$?
check "--pages exits 0" test $status -eq 0
check "--pages writes each page" test -f pages/main.cpp.htm -a -f pages/a.vb.htm
check "--pages lines in input order" diff -u <(printf 'Converting main.cpp....\nConverting a.vb....\nSuccessfully converted files: 2\n') out9
mkdir -p one two && cp main.cpp one/ && printf 'int other;\n' > two/main.cpp
"$quillon" --pages -o same one/main.cpp two/main.cpp > out12 2>&1
check "--pages: files of one name into one folder keep their own pages" \
  grep -q other same/two~main.cpp.htm
check "--pages: the first keeps its name" grep -q util.h same/main.cpp.htm
mkdir set && for i in 1 2 3 4 5 6; do printf 'class C%s {\n  int m%s;\n};\nC1 c;\n' $i $i > set/f$i.cpp; done
"$quillon" -j 1 -o ws1 set/*.cpp > ws1.out 2>&1
"$quillon" -j 4 -o ws4 set/*.cpp > ws4.out 2>&1
check "a workspace on 4 threads has the same lines" diff -u ws1.out ws4.out
check "a workspace on 4 threads has the same bytes" diff -r ws1 ws4

# A folder is a workspace of its sources; files over the size limit are left out.
mkdir -p tree/lib && cp main.cpp tree/lib/ && head -c 3000 /dev/zero | tr '\0' 'x' > tree/big.c
"$quillon" --max-file-size 2K -o tree-out tree/ > out14 2>&1; status=$?
check "folder: exits 0" test $status -eq 0
check "folder: its workspace, search index and index page" test -f tree-out/tree_HTML/main.cpp.htm \
  -a -f tree-out/tree_HTML/SearchIndex.js -a -f tree-out/tree_Project.htm
check "folder: the big file is left out, and said so" \
  has_line out14 "Left out of tree: 1 file over the size limit of 2 KB (big.c)"
"$quillon" --max-file-size 2X tree > /dev/null 2>&1; status=$?
check "bad size: status 2" test $status -eq 2
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
printf '<Project>\n<ItemGroup>\n<ClCompile Include="folder.cpp" />\n</ItemGroup>\n</Project>\n' > Folder.vcxproj
"$quillon" -o folder-out Folder.vcxproj > out3 2> err3; status=$?
check "unreadable source: status 1" test $status -eq 1
check "unreadable source listed" has_line out3 "<folder.cpp can't be read>"
check "unreadable source not counted" has_line out3 "Successfully converted files: 0"
touch afile
"$quillon" -o afile main.cpp > out4 2> err4; status=$?
check "output folder that is a file: status 1" test $status -eq 1
check "output folder that is a file: message" grep -q "cannot create the output directory" err4
"$quillon" missing.cpp > out5 2> err5; status=$?
check "missing input: status 1" test $status -eq 1
# Without the program's data a workspace is not begun; a single page needs none.
"$quillon" --data nodata -o nodata-ws main.cpp a.vb > out10 2> err10; status=$?
check "no data for a workspace: status 1" test $status -eq 1
check "no data for a workspace: one line naming it and --data" \
  test "$(grep -c 'lacks SourceTree_Template.htm.*--data' err10)" -eq 1
check "no data for a workspace: nothing written" test ! -e nodata-ws/Project_HTML
"$quillon" --data nodata -o nodata-page main.cpp > /dev/null 2>&1; status=$?
check "no data for a single page: converted" test $status -eq 0 -a -f nodata-page/main.cpp.htm

# Usage errors: one line naming the problem, and where to read more.
for usage in "" "--fo main.cpp" "main.cpp --keywords" "--keyword red main.cpp" "-j 0 main.cpp" \
             "--progress fast main.cpp" "--trees slow main.cpp" "--lang cpp main.cpp" "--lang cobol -" "- main.cpp" "-o x -"; do
  "$quillon" $usage > out6 2> err6 < /dev/null; status=$?
  check "usage error '$usage': status 2, a line and the hint" test $status -eq 2 -a ! -s out6 -a \
    "$(wc -l < err6)" -eq 2 -a "$(head -c 9 err6)" = "quillon: " -a \
    "$(tail -n 1 err6)" = "Try 'quillon --help' for more information."
done
"$quillon" --fo main.cpp 2> err6
check "unknown option: named" has_line err6 "quillon: unknown option --fo"
"$quillon" --keyword red main.cpp > /dev/null 2> err7; status=$?
check "bad colour: status 2" test $status -eq 2
check "bad colour: message" grep -qF "option --keyword: 'red' is not a colour" err7
"$quillon" --help > help; status=$?
check "help exits 0" test $status -eq 0
check "help shows usage" grep -q "^usage: quillon" help
check "version" test "$("$quillon" --version)" = "quillon $version"

# The manual page renders without a warning and describes every option of the usage.
if [ -n "$manual" ]; then
  check "manual page renders without warnings" test -z "$(groff -ww -man -z "$manual" 2>&1)"
  check "manual page carries the version" grep -qF "Quillon $version" "$manual"
  for option in $( { "$quillon" --help; "$quillon" links --help; } |
                   grep -oE '^ +(-[a-z], )?--?[a-z-]+' | grep -oE -- '--?[a-z-]+'); do
    check "manual page describes $option" grep -qF -- "${option//-/\\-}" "$manual"
  done
fi

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
