#!/bin/sh
# Draws the program's pictures with ImageMagick: the 27 workspace images in Images/, the
# About picture Quillon.bmp and the application icon quillon.ico.
#
#   sh data/make_images.sh            (from anywhere; writes beside this script)
#   CONVERT=/usr/bin/convert sh data/make_images.sh
#
# Every picture is drawn from shapes only (no fonts, no photographs) and written without
# metadata, so running the script again gives the same files.
#
# Tree pictures are 18 x 18 pixels. A tree row is exactly 18 pixels high, so the vertical
# connector line (column 8) of one row meets that of the next, and the horizontal line
# (row 8) runs from column 8 to the right edge, where the next picture of the row starts.
set -eu

CONVERT=${CONVERT:-convert}
here=$(cd "$(dirname "$0")" && pwd)
img="$here/Images"
mkdir -p "$img"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Colours shared by the pictures.
line='#a3abb9'     # tree connector lines
boxline='#7d8696'  # border of the plus/minus box
sign='#2b3a55'     # the plus/minus sign
keyword='#1f5fd1'  # code line colours, as in a converted page
comment='#2f9a44'
text='#3a4252'

# gif NAME MVG : an 18 x 18 GIF with a transparent background, drawn without antialiasing
# so that every pixel is either fully drawn or fully transparent.
gif() {
  "$CONVERT" -size 18x18 xc:none +antialias -draw "$2" -strip "$img/$1"
}

# ---------------------------------------------------------------------------------------
# Connectors. Rectangles are filled without a stroke, so "rectangle 8,0 8,17" covers
# exactly column 8 from row 0 to row 17.
vertical="fill '$line' rectangle 8,0 8,17"
upper="fill '$line' rectangle 8,0 8,8"
across="fill '$line' rectangle 8,8 17,8"
# The opener: a 9 x 9 box (columns and rows 4 to 12) over the connector, with a sign.
box="fill '$boxline' rectangle 4,4 12,12 fill white rectangle 5,5 11,11"
minus="fill '$sign' rectangle 6,8 10,8"
plus="$minus rectangle 8,6 8,10"

gif white.gif "fill none"
gif I.gif "$vertical"
gif T.gif "$vertical $across"
gif L.gif "$upper $across"
gif Tplus.gif "$vertical $across $box $plus"
gif Tminus.gif "$vertical $across $box $minus"
gif Lplus.gif "$upper $across $box $plus"
gif Lminus.gif "$upper $across $box $minus"

# ---------------------------------------------------------------------------------------
# Folders: a manila folder, closed and open.
folderback='#e2ad2f'
folderfront='#f6cf5c'
folderedge='#a8791a'
gif foldericon.gif "
  stroke '$folderedge' stroke-width 1
  fill '$folderback' polygon 1,4 6,4 8,6 16,6 16,15 1,15
  fill '$folderfront' polygon 1,8 16,8 16,15 1,15
  stroke none fill '#fbe39a' rectangle 2,9 15,9"
gif openfoldericon.gif "
  stroke '$folderedge' stroke-width 1
  fill '$folderback' polygon 1,3 6,3 8,5 14,5 14,15 1,15
  fill white polygon 3,6 13,6 13,12 3,12
  stroke none fill '$keyword' rectangle 5,8 10,8 fill '$comment' rectangle 5,10 11,10
  stroke '$folderedge' fill '$folderfront' polygon 4,9 17,9 14,15 1,15"

# A page with a folded corner and coloured code lines.
gif htmlicon.gif "
  stroke '#7a8599' stroke-width 1
  fill white polygon 3,1 11,1 15,5 15,16 3,16
  fill '#dfe4ec' polygon 11,1 11,5 15,5
  stroke none
  fill '$keyword' rectangle 5,7 8,8 fill '$text' rectangle 10,7 13,8
  fill '$text' rectangle 7,10 12,10
  fill '$comment' rectangle 5,13 12,13"

# The workspace: a small window holding coloured code lines.
gif ZADide.gif "
  stroke '#44536b' stroke-width 1
  fill white rectangle 1,2 16,15
  fill '#3f6fd1' rectangle 1,2 16,5
  stroke none fill white rectangle 13,3 14,4
  fill '$keyword' rectangle 3,8 6,8 fill '$text' rectangle 8,8 13,8
  fill '$text' rectangle 5,10 11,10
  fill '$comment' rectangle 3,13 12,13"

# ---------------------------------------------------------------------------------------
# Classes, structs and enums: a coloured badge with a pixel letter C, S or E.
badge() {
  gif "$1" "
    fill '$3' roundrectangle 2,2 15,15 3,3
    fill '$2' roundrectangle 3,3 14,14 2,2
    fill white $4"
}
badge classicon.gif '#7c52c8' '#553296' \
  "rectangle 7,5 11,6 rectangle 6,6 7,11 rectangle 7,11 11,12"
badge structicon.gif '#0f8a7e' '#0a5d55' \
  "rectangle 7,5 11,6 rectangle 6,6 7,8 rectangle 7,8 10,9 rectangle 10,9 11,11 rectangle 6,11 10,12"
badge enumicon.gif '#e39a0b' '#9c6600' \
  "rectangle 6,5 7,12 rectangle 8,5 11,6 rectangle 8,8 10,9 rectangle 8,11 11,12"

# Members: a function is a purple cube, a data member a blue bar; a private one carries a
# small gold padlock in the lower right corner.
cube="stroke '#4b2790' stroke-width 1
  fill '#c9a8f5' polygon 7,1 13,4 7,7 1,4
  fill '#8a4fdc' polygon 1,4 7,7 7,14 1,11
  fill '#6630b8' polygon 7,7 13,4 13,11 7,14
  stroke none"
bar="fill '#0d5aa7' roundrectangle 1,5 13,11 2,2
  fill '#2f8fe6' roundrectangle 2,6 12,10 1,1
  fill '#8cc8ff' rectangle 3,7 11,7"
lock="fill '#6e5200' rectangle 11,8 15,8 rectangle 11,8 11,11 rectangle 15,8 15,11
  rectangle 10,11 16,17 fill '#f2b705' rectangle 11,12 15,16
  fill '#6e5200' rectangle 13,13 13,15"
gif functionicon_public.gif "$cube"
gif functionicon_private.gif "$cube $lock"
gif membericon_public.gif "$bar"
gif membericon_private.gif "$bar $lock"

# ---------------------------------------------------------------------------------------
# Tab pictures: JPEG strips with a vertical gradient, repeated across by the style sheets.
jpg() {
  "$CONVERT" -size "$2" "gradient:$3-$4" -quality 92 -strip "$img/$1"
}
jpg Tabs.jpg 8x28 '#ffffff' '#e6ecf5'          # face of the chosen tree tab
jpg TabsBK.jpg 8x28 '#c9d2e0' '#dde3ec'        # bar behind the tree tabs
jpg HeaderTab_01.jpg 8x32 '#dfe5ee' '#c7d0de'  # bar of the file tab frame
jpg HeaderTab_02.jpg 8x32 '#ffffff' '#edf1f7'  # face of the file tab
jpg HeaderTab_03.jpg 8x3 '#5a8fec' '#2d62c4'   # accent line on top of the file tab
jpg HeaderTab_04.jpg 8x30 '#f7f9fc' '#e2e8f1'  # title bar of the tree pages
jpg HeaderTab_05.jpg 8x28 '#f3f6fb' '#d9e1ed'  # face of a tree tab under the pointer
jpg HeaderTab_06.jpg 8x32 '#f4f6fa' '#e9edf3'  # a quieter bar, for pages that want one

# ---------------------------------------------------------------------------------------
# The quill over coloured code lines: the About picture and the application icon.
# The feather is drawn in its own coordinates, nib at 0,0 and tip along +x (about 160 long).
quill="
  stroke '#33246d' stroke-width 2 fill '#6a4fc2'
  path 'M 34,0 C 60,-26 118,-34 158,-6 C 124,10 76,16 34,0 Z'
  stroke none fill '#a995ea'
  path 'M 42,-3 C 66,-21 116,-28 150,-9 C 114,-11 78,-7 42,-3 Z'
  stroke '#33246d' stroke-width 2 fill none
  line 70,-14 80,-7 line 100,-20 110,-11 line 90,10 99,4 line 122,7 130,1
  stroke '#f4eee0' stroke-width 3 line 14,0 160,-6
  stroke none fill '#262a33' polygon 0,0 24,-6 26,0 24,6
  fill '#c9cfdb' polygon 8,0 22,-2 22,1"

# codeline X Y LENGTH COLOUR : a rounded bar 7 pixels high.
codeline() {
  printf " fill '%s' roundrectangle %d,%d %d,%d 3,3" "$4" "$1" "$2" $(($1 + $3)) $(($2 + 6))
}
code="$(codeline 32 32 26 "$keyword")$(codeline 64 32 44 "$text")
  $(codeline 44 48 30 "$keyword")$(codeline 80 48 34 "$text")
  $(codeline 44 64 60 "$comment")
  $(codeline 44 80 22 "$keyword")$(codeline 72 80 38 "$text")
  $(codeline 56 96 54 "$text")
  $(codeline 32 112 14 "$text")
  $(codeline 32 128 30 "$keyword")$(codeline 68 128 20 "$text")
  $(codeline 32 144 64 "$comment")"

# The About picture, 176 x 176: a page of code with the quill writing its last line.
"$CONVERT" -size 176x176 gradient:'#e9eef7'-'#c9d4e6' -antialias -draw "
  fill '#b3bed0' roundrectangle 22,20 142,166 8,8
  stroke '#98a3b6' stroke-width 1 fill white roundrectangle 18,16 138,162 8,8
  stroke none $code
  push graphic-context translate 96,150 rotate -56 scale 0.82,0.82 $quill pop graphic-context" \
  -type TrueColor -strip "BMP3:$here/Quillon.bmp"

# The icon: the same motif on a square page, drawn at 256 pixels and reduced. The small
# sizes keep only three thick code lines so that they stay legible.
iconpicture() {
  "$CONVERT" -size 256x256 xc:none -antialias -draw "
    stroke '#7f8ba0' stroke-width 6 fill white roundrectangle 26,18 206,238 22,22
    stroke none $2
    push graphic-context translate 118,206 rotate -50 scale 1.45,1.45 $quill pop graphic-context" \
    -filter Lanczos -resize "$1x$1" -strip "PNG32:$work/icon$1.png"
}
bars() {
  printf " fill '%s' roundrectangle %d,%d %d,%d %d,%d" "$keyword" 52 "$1" 150 $(($1 + $2)) "$3" "$3"
  printf " fill '%s' roundrectangle %d,%d %d,%d %d,%d" "$text" 52 $(($1 + $4)) 178 $(($1 + $4 + $2)) "$3" "$3"
  printf " fill '%s' roundrectangle %d,%d %d,%d %d,%d" "$comment" 52 $(($1 + 2 * $4)) 120 $(($1 + 2 * $4 + $2)) "$3" "$3"
}
iconpicture 48 "$(bars 52 22 10 42)"
iconpicture 32 "$(bars 50 28 12 48)"
iconpicture 16 "$(bars 48 40 16 58)"
"$CONVERT" "$work/icon16.png" "$work/icon32.png" "$work/icon48.png" -strip "ICO:$here/quillon.ico"
