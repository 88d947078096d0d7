# Authored for 1920x1080, the picture is stretched to any desktop by two independent factors: the title and menu
# at 1280x1024 (not 16:9), stretched back to 1920x1080, look like the same screens there, with no black bars.
source "$(dirname "$0")/lib.sh" "$@"

BIG=1920x1080 SMALL=1280x1024 KEEP=$OUT/e2e-screenshots/$NAME && mkdir -p "$KEEP"
SCALE_TOL=0.06 # stretching 1280x1024 back up blurs fine detail; layout errors and letterbox bars give many times this
declare -A fade=()
keep() { $CONVERT "$SETTLED" "$KEEP/$1.png"; cp "$SETTLED_REF" "$E2E_TMP/$1-expected.miff"; fade[$1]=$SETTLED_FADE; }
for size in $BIG $SMALL; do
    xvfb_start "${size%x*}" "${size#*x}"
    start_game "$ROOT"
    wait_title; keep "title-$size"
    xdotool key space
    wait_menu; keep "menu-$size"
    quit_game; xvfb_stop
done

for screen in title menu; do
    small=$KEEP/$screen-$SMALL.png big=$KEEP/$screen-$BIG.png want=$E2E_TMP/$screen-$SMALL-expected.miff
    stretched=$KEEP/$screen-$SMALL-stretched-to-$BIG.png boxed=$E2E_TMP/$screen-letterboxed.png
    # The small screenshot at the big one's brightness (fades stop by frame timing), and a letterboxed one, stretched.
    ratio=$(awk -v a="${fade[$screen-$BIG]}" -v b="${fade[$screen-$SMALL]}" 'BEGIN { print a / b }')
    $CONVERT "$small" -evaluate multiply "$ratio" -resize "$BIG!" "$stretched"
    $CONVERT "$big" -resize 1280x720! -background black -gravity center -extent $SMALL -resize "$BIG!" "$boxed"
    d=$(rmse "$stretched" "$big") boxed_d=$(rmse "$boxed" "$big")
    log "$screen: stretched $SMALL against $BIG differs by $d (a letterboxed one by $boxed_d)"
    below "$d" $SCALE_TOL || fail "$screen at $SMALL stretched to $BIG differs from $BIG by $d; see $KEEP"
    tells_apart "$boxed_d" $SCALE_TOL || fail "$screen: a letterboxed picture would pass too ($boxed_d)"
    # No bars where letterboxing would put them (top and bottom 152 rows) or in corners, unless the picture is black.
    SHOT=$small
    for band in 1280x140+0+0 1280x140+0+884; do
        d=$(rmse "$small" "$want" -crop $band +repage)
        below "$d" "$PAGE_TOL" || fail "$screen at $SMALL: the band $band differs from the stretched picture by $d"
        below 0.02 "$(mean "$want" -crop $band +repage)" || fail "$screen: the picture is black in the band $band"
    done
    for corner in 16x16+0+0 16x16+1264+0 16x16+0+1008 16x16+1264+1008; do
        got=$(mean "$small" -crop $corner +repage) exp=$(mean "$want" -crop $corner +repage)
        below "$exp" 0.00784 && log "$screen: the picture is black in the corner $corner" && continue # 2/255
        awk -v g="$got" -v e="$exp" 'BEGIN { m = 0.25 * e; exit !((g - e) ^ 2 <= (m > 0.00588 ? m : 0.00588) ^ 2) }' ||
            fail "$screen at $SMALL: the corner $corner has brightness $got, the picture $exp"
    done
done
