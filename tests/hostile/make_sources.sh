#!/usr/bin/env bash
# Makes the hostile source directory DIR: the committed sources under hostile file names
# (quotes, apostrophes, spaces, markup, "javascript:", character references, control and
# non-ASCII bytes), and the inputs that are generated rather than committed: NUL bytes,
# lone CRs, 1 MB lines, binary files with source names, a byte-order mark, and a project
# file that lists the files whose names a project file can hold. Usage: make_sources.sh DIR
set -euo pipefail
dir=$1
from=$(cd "$(dirname "$0")/sources" && pwd)
mkdir -p "$dir"
cd "$dir"

cp "$from/quote_class.h" 'quote"class.h'
cp "$from/markup_in_text.cpp" "x\" onmouseover=\"document.title='pwned'\" y.cpp"
cp "$from/markup_in_text.cpp" "it's a file \"$(printf '\xe9')\".cpp"
cp "$from/dialogs.cs" '<img src=x onerror=alert(1)>.cs'
cp "$from/quotes.vb" "it's \"VB\".vb"
cp "$from/Hostile.java" 'javascript&colon;alert(1).java'
# Character references spelt in code, strings, comments and a file name, in every language.
cp "$from/references.h" 'refs&amp;copy.h'
cp "$from/References.cs" "$from/References.java" "$from/references.vb" .
printf 'class Colon {\n};\n' > 'javascript:alert(1).h'
printf '#include "javascript:alert(1).h"\nPlain p; Colon c; Fo"o f;\n' > "a&#39;+alert(1)+&#39;.cpp"
printf '// caf\xc3\xa9 \xc3\xbc \xe2\x80\x94 <script>alert("utf8")</script>\nPlain p;\t// \xe2\x86\x92\tx\n' \
  > "caf$(printf '\xc3\xa9') $(printf '\xc3\xbc').cpp"
printf '// caf\xe9 \x80\x85\x99\x9f\xff <script>\talert(1252)</script>\nPlain\tp;\n' \
  > "caf$(printf '\xe9') 1252.cpp"
printf 'int tab;\n' > "tab$(printf '\t')and$(printf '\x01\x1b')control.cpp"

# Control bytes in text: NULs and lone CRs stay text.
printf 'int a;\0 // NUL\r lone CR\rint b; <script>\0alert(1)</script>\r\n"\0"</a>\0\n\r\r\n\0' \
  > 'nul and cr.cpp'
printf '\xef\xbb\xbfint bom; // <script>alert(1)</script>\n' > 'bom.cpp'
: > 'empty.cpp'

# Lines of 1 MB: a long word with markup after it, quotes alone, NULs and CRs.
{
  head -c 1048576 /dev/zero | tr '\0' 'q'
  printf ' </a><script>document.title="pwned"</script> int "x" // <b>\n'
  head -c 1048576 /dev/zero | tr '\0' '"'
  printf '\n'
  head -c 1048576 /dev/zero | tr '\0' '\r'
  printf '\n\tint end;\n'
} > 'long lines.cpp'

# Binary files with source names: a picture and a program.
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0<script>alert(1)</script>' \
  > 'logo.cpp'
{ printf '\x7fELF\x02\x01\x01'; head -c 2000 /dev/zero; } > 'program.h'

# A project whose name and listed paths are hostile too. Quotes cannot stand in a listed
# path (they end it), so the files with quotes in their names are left to the file set.
{
  printf '<?xml version="1.0" encoding="Windows-1252"?>\r\n<VisualStudioProject\r\n'
  printf '\tName="</title><script>alert(1)</script> \\"q\\" &amp; it'"'"'s"\r\n>\r\n'
  printf '\t<Files>\r\n'
  for f in 'javascript&colon;alert(1).java' "a&#39;+alert(1)+&#39;.cpp" \
           "caf$(printf '\xc3\xa9') $(printf '\xc3\xbc').cpp" 'nul and cr.cpp' 'bom.cpp' \
           'logo.cpp' 'javascript:alert(1).h' '<img src=x onerror=alert(1)>.cs'; do
    printf '\t\t<File RelativePath=".\\%s">\r\n\t\t</File>\r\n' "$f"
  done
  printf '\t</Files>\r\n</VisualStudioProject>\r\n'
} > 'hostile project.vcproj'
