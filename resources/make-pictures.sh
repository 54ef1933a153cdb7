#!/bin/sh
# Draws the window's pictures with ImageMagick, once at their layout size and once at twice
# that size (the @2x files) so they stay sharp on a screen with a device pixel ratio of 2.
# The PNG files are committed; run this only to change a picture:  sh make-pictures.sh
# Every drawing is given in layout pixels and scaled by the factor S, so both sizes match.
set -eu
cd "$(dirname "$0")/pictures"

draw()
{
    # draw <file> <width> <height> <scale> <stroke> <background> <draw commands...>
    # The stroke is in device pixels: fine lines stay fine on the dense drawing.
    file=$1 width=$2 height=$3 scale=$4 stroke=$5 background=$6
    shift 6
    convert -size "$((width * scale))x$((height * scale))" "$background" \
        -draw "scale $scale,$scale stroke-width $(awk "BEGIN { print $stroke / $scale }") $*" \
        -depth 8 -define png:exclude-chunks=date,time -strip "$file"
}

for S in 1 2; do
    suffix="" thin=1
    [ "$S" = 2 ] && suffix="@2x" thin=1.5

    # Backdrop: near-white with a faint band behind the middle column; the controls
    # carry all the contrast.
    draw "backdrop$suffix.png" 545 353 "$S" "$S" "gradient:#ffffff-#f4f5f7" \
        "fill #f6f7f9 stroke none rectangle 226,20 319,280"

    # Logo: a pale rounded tile with a two-arrow merge mark.
    draw "logo$suffix.png" 58 66 "$S" "$S" "xc:none" \
        "fill #f4f6f9 stroke #c9ced6 roundrectangle 1,1 56,64 8,8 \
         fill none stroke #8c96a3 line 13,22 29,22 line 29,22 24,17 line 29,22 24,27 \
         line 45,44 29,44 line 29,44 34,39 line 29,44 34,49 \
         stroke #b5bcc6 line 13,33 45,33"

    # Strip: the marquee's background; grey (128) text stays readable on it.
    draw "strip$suffix.png" 95 25 "$S" "$S" "gradient:#fdfdfd-#eef0f3" \
        "fill none stroke #dde1e6 rectangle 0,0 94,24"

    # Chevrons, 13 x 15.
    draw "chevron-up$suffix.png" 13 15 "$S" "$thin" "xc:none" \
        "fill none stroke #505a66 polyline 2,10 6.5,5 11,10"
    draw "chevron-down$suffix.png" 13 15 "$S" "$thin" "xc:none" \
        "fill none stroke #505a66 polyline 2,5 6.5,10 11,5"

    # Empty-set sign, 7 x 10: a circle with a slash.
    draw "empty-set$suffix.png" 7 10 "$S" "$thin" "xc:none" \
        "fill none stroke #505a66 circle 3.5,5 3.5,7.5 line 6,1 1,9"
done
