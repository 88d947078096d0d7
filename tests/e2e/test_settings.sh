# The player's settings are kept between runs: music and sound switched off and the volume turned down in one
# run are so in the next, from the settings file beside the best score. A damaged file gives the defaults.
source "$(dirname "$0")/lib.sh" "$@"

DATA=$E2E_TMP/data && mkdir -p "$DATA" && cp -as "$ASSETS" "$DATA/assets" && rm -f "$DATA/assets"/{highscore,settings}.txt*
SETTINGS=$DATA/assets/settings.txt
MUSIC=(-crop 100x100+1290+20 +repage) # the music button, at 1920x1080
button() { # the playing background under one of the music button's pictures, cut to the button
    $CONVERT "$ASSETS/background.png" "$ASSETS/$1.png" -geometry +1290+20 -composite "${MUSIC[@]}" -alpha off \
        "$E2E_TMP/$1.miff" && echo "$E2E_TMP/$1.miff"
}
ON=$(button button_music_on) OFF=$(button button_music_off)
music_button() { # shows $1 rather than $2
    shot music "${MUSIC[@]}"; local d e && d=$(rmse "$SHOT" "$1") e=$(rmse "$SHOT" "$2")
    DETAIL="the music button differs from ${1##*/} by $d, from ${2##*/} by $e" && below "$d" "$PAGE_TOL" && below "$d" "$e"
}
kept() { DETAIL="it holds \"$(tr '\n' ' ' < "$SETTINGS" 2> /dev/null)\"" && [[ $(< "$SETTINGS") == "$1" ]]; }
to_play() { start_to_menu "$DATA" && press_start; }

xvfb_start 1920 1080
to_play
wait_for "play with the music button on" music_button "$ON" "$OFF"
xdotool key m s minus minus
wait_for "the settings file to keep them" kept $'music off\nsound off\nvolume 6'
quit_game

to_play
wait_for "the next run's music button off" music_button "$OFF" "$ON"
quit_game

head -c 200 /dev/urandom > "$SETTINGS"
to_play
wait_for "the defaults with a damaged file" music_button "$ON" "$OFF"
quit_game
