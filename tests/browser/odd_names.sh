#!/usr/bin/env bash
# Makes a small project whose name and file names hold "#", "?" and "%" (which a browser
# reads in a link as a fragment, a query and an escape) and characters outside ASCII, and
# converts it into DIR/out.
# The workspace test then opens DIR/out/C#Demo_Project.htm and follows its links.
#
#   odd_names.sh path/to/quillon DIR
set -euo pipefail
quillon=$(realpath "$1")
dir=$2
rm -rf "$dir" && mkdir -p "$dir/src"
cd "$dir/src"
printf '#include "b?.h"\n#include "100%%.h"\nclass Alpha {\npublic:\n  Beta b;\n  int Go();\n};\n' \
  > 'a#1.cpp'
printf 'struct Beta {\n  int x;\n  Zeta z;\n};\n' > 'b?.h'
printf 'struct Zeta {\n  int z;\n};\n' > "caf$(printf '\xc3\xa9').h"
printf 'class Eta {\n};\n' > "caf$(printf '\xe9') 1252.h"
printf 'enum Gamma { One, Two };\nclass Delta {\n  Gamma g;\n};\n' > '100%.h'
{
  printf '<?xml version="1.0" encoding="Windows-1252"?>\r\n<VisualStudioProject\r\n'
  printf '\tName="C#Demo"\r\n>\r\n\t<Files>\r\n'
  for f in 'a#1.cpp' 'b?.h' '100%.h' "caf$(printf '\xc3\xa9').h" "caf$(printf '\xe9') 1252.h"; do
    printf '\t\t<File RelativePath=".\\%s">\r\n\t\t</File>\r\n' "$f"
  done
  printf '\t</Files>\r\n</VisualStudioProject>\r\n'
} > 'C#Demo.vcproj'
cd ..
"$quillon" -o out 'src/C#Demo.vcproj' > /dev/null
