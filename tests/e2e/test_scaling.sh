#!/usr/bin/env bash
# The picture is authored for 1920x1080 and stretched to any desktop by two
# independent factors: the title and the menu at 1280x1024 (not 16:9), stretched
# back to 1920x1080, look like the same screens at 1920x1080, with no black bars.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

BIG=1920x1080
SMALL=1280x1024
# Stretching a 1280x1024 screenshot back up blurs fine detail; layout errors and
# letterbox bars give differences many times this.
SCALE_TOLERANCE=0.06

KEEP="$E2E_OUTPUT/e2e-screenshots/$E2E_NAME"

declare -A fade expected
for size in "$BIG" "$SMALL"; do
    xvfb_start "${size%x*}" "${size#*x}"
    game_start "$ROOT"
    expect_one_fullscreen_window
    wait_title
    cp "$SETTLED" "$E2E_TMP/title-$size.ppm"
    cp "$SETTLED_EXPECTED" "$E2E_TMP/title-expected-$size.miff"
    fade[title-$size]=$SETTLED_FADE
    key space
    wait_menu
    cp "$SETTLED" "$E2E_TMP/menu-$size.ppm"
    cp "$SETTLED_EXPECTED" "$E2E_TMP/menu-expected-$size.miff"
    fade[menu-$size]=$SETTLED_FADE
    key Escape
    game_expect_exit_0
    xvfb_stop
done

mkdir -p "$KEEP"
for screen in title menu; do
    small="$E2E_TMP/$screen-$SMALL.ppm"
    big="$E2E_TMP/$screen-$BIG.ppm"

    # The same layout stretched: the small screenshot, brought to the big one's
    # fade brightness (a fade stops where the frame rate lets it) and stretched.
    ratio=$(awk -v a="${fade[$screen-$BIG]}" -v b="${fade[$screen-$SMALL]}" 'BEGIN { print a / b }')
    stretched="$E2E_TMP/$screen-stretched.png"
    "$CONVERT" "$small" -evaluate multiply "$ratio" -resize "${BIG}!" "$stretched"
    d=$(image_rmse "$stretched" "$big")
    # What a letterboxed picture would have given, to be sure the check can tell.
    "$CONVERT" "$big" -resize 1280x720! -background black -gravity center -extent "$SMALL" \
        -resize "${BIG}!" "$E2E_TMP/$screen-letterboxed.png"
    boxed=$(image_rmse "$E2E_TMP/$screen-letterboxed.png" "$big")
    "$CONVERT" "$small" "$KEEP/$screen-$SMALL.png"
    "$CONVERT" "$big" "$KEEP/$screen-$BIG.png"
    cp "$stretched" "$KEEP/$screen-$SMALL-stretched-to-$BIG.png"
    e2e_log "$screen: stretched $SMALL against $BIG differs by $d (a letterboxed one by $boxed)"
    below "$d" "$SCALE_TOLERANCE" ||
        e2e_fail "$screen at $SMALL stretched to $BIG differs from $BIG by $d (tolerance $SCALE_TOLERANCE); see $KEEP"
    below "$(awk -v t="$SCALE_TOLERANCE" 'BEGIN { print 2 * t }')" "$boxed" ||
        e2e_fail "$screen: a letterboxed picture would pass too ($boxed); the check cannot tell"

    # No bars: where letterboxing would put black bands (the top and bottom 152
    # rows), the screen shows the stretched picture, corners included.
    SHOT=$small
    want="$E2E_TMP/$screen-expected-$SMALL.miff"
    for band in "1280 140 0 0" "1280 140 0 884"; do
        read -r w h x y <<< "$band"
        d=$(region_rmse "$small" "$x" "$y" "$w" "$h" "$want")
        below "$d" "$E2E_PAGE_TOLERANCE" ||
            e2e_fail "$screen at $SMALL: the band ${w}x${h}+$x+$y differs from the stretched picture by $d"
        below 0.02 "$(region_mean "$want" "$x" "$y" "$w" "$h")" ||
            e2e_fail "$screen: the picture is black in the band ${w}x${h}+$x+$y, which proves nothing"
    done
    for corner in "0 0" "1264 0" "0 1008" "1264 1008"; do
        read -r x y <<< "$corner"
        got=$(region_mean "$small" "$x" "$y" 16 16)
        exp=$(region_mean "$want" "$x" "$y" 16 16)
        if below "$exp" "$(awk 'BEGIN { print 2 / 255 }')"; then
            e2e_log "$screen: the picture's corner at $x,$y is black: nothing to tell from a bar"
            continue
        fi
        awk -v g="$got" -v e="$exp" 'BEGIN { d = g - e; if (d < 0) d = -d; m = 0.25 * e;
                                             if (m < 1.5 / 255) m = 1.5 / 255; exit !(d <= m) }' ||
            e2e_fail "$screen at $SMALL: the corner at $x,$y has brightness $got, the picture $exp"
    done
done

e2e_log "passed; screenshots in $KEEP"
