#!/bin/sh
# Draws the program's icon, resources/vesperglow.ico (32x32 and 16x16) and the same two sizes as
# PNG for the Linux icon theme: one burst of coloured rays over a violet horizon on a night sky.
# Its output is committed; run again after a change.
set -e
resources=$(dirname "$0")/../../resources
out=$resources/vesperglow.ico
tmp=$(mktemp -d)
convert -size 32x32 gradient:'#05051a'-'#3a1a5a' \
    -stroke '#ffd040' -strokewidth 1 \
    -draw 'line 16,12 16,3' -draw 'line 16,12 16,21' -draw 'line 16,12 7,12' -draw 'line 16,12 25,12' \
    -stroke '#ff4060' -draw 'line 16,12 10,6' -draw 'line 16,12 22,18' \
    -stroke '#40c0ff' -draw 'line 16,12 22,6' -draw 'line 16,12 10,18' \
    -stroke none -fill '#ffffff' -draw 'circle 16,12 17,12' \
    -fill '#ffffff' -draw 'point 4,4' -draw 'point 28,7' -draw 'point 6,24' -draw 'point 27,25' \
    -stroke '#c060ff' -draw 'line 0,30 31,30' \
    -type TrueColor "$tmp/icon32.png"
convert "$tmp/icon32.png" -resize 16x16 "$tmp/icon16.png"
convert "$tmp/icon32.png" "$tmp/icon16.png" "$out"
for size in 16 32; do
    convert "$tmp/icon$size.png" -depth 8 -define png:exclude-chunks=date,time "$resources/vesperglow-$size.png"
done
rm -rf "$tmp"
