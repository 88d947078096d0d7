# Every way the game ends keeps the best score. SIGTERM (a logout), SIGHUP and SIGINT right after a rise
# end it as closing its window does: the record stored, status 0. The X server killed under it, or its
# window killed: the record stored, status 1, one line on stderr, no abort. A stored -5 gives the rise:
# the first frame of play raises it to 0 and stores that.
source "$(dirname "$0")/lib.sh" "$@"

DATA=$E2E_TMP/data && mkdir -p "$DATA" && cp -as "$ASSETS" "$DATA/assets" && rm -f "$DATA/assets"/highscore.txt*
SCORE=$DATA/assets/highscore.txt
stored() { DETAIL="it holds \"$(< "$SCORE")\"" && [[ $(< "$SCORE") == "$1" ]]; }

# Space for the title and the start button for the menu, every second or so (a click in the menu's
# fade-out starts it again) until play has begun and stored its 0.
to_play() {
    stored 0 && return
    ((TRIES++ % 8)) || xdotool key space mousemove "${START[@]}" click 1 mousemove 0 0
    return 1
}
play_to_rise() {
    printf %s -5 > "$SCORE" && xvfb_start 1920 1080 && start_game "$DATA"
    buttons_box 0 1 && START=($(((BOX[0] + BOX[2]) / 2)) $(((BOX[1] + BOX[3]) / 2))) TRIES=0
    wait_for "the first frame of play to store 0 over -5" to_play
}
# Arguments: how the game was ended, the exit status expected.
ended() {
    game_ended "$1"
    ((STATUS == $2)) || fail "$1: exit status $STATUS, expected $2"
    stored 0 || fail "$1: the best score was not kept ($DETAIL)"
    [[ $(ls "$DATA/assets" | grep -c '^highscore') == 1 ]] || fail "$1: a stray file beside the score: $(ls "$DATA/assets" | grep '^highscore')"
    log "$1: exit status $2, the best score kept"
}
# The ending's own words on stderr, after what the window library said before it.
said() { wc -l < "$E2E_TMP/game.err"; }
one_line() {
    (($(said) == $2 + 1)) && tail -n 1 "$E2E_TMP/game.err" | grep -qx 'glimmora-game: the connection to the X display was lost' ||
        fail "$1: expected one line on the lost display, got: $(tail -n +$(($2 + 1)) "$E2E_TMP/game.err")"
}

for signal in TERM HUP INT; do
    play_to_rise && kill -s "$signal" "$GAME_PID" && ended "SIG$signal" 0 && xvfb_stop
done
play_to_rise && before=$(said) && kill "$XVFB_PID" && ended "the X server killed" 1 && one_line "the X server killed" "$before"
xvfb_stop
play_to_rise && before=$(said) && xdotool windowkill "$(game_windows)" && ended "the window killed" 1 && one_line "the window killed" "$before"
