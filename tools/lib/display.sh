# A private virtual X display for programs that need one; sourced by bash scripts. Xvfb picks a free display
# number itself (-displayfd: two started at once never take the same one), takes no TCP clients and has one
# 24-bit screen of the given size; its own arguments (-noreset, -extension NAME) may follow the size.
#   display_run WIDTHxHEIGHT COMMAND...          runs a command on a display of its own, stopped after it
#   display_start WIDTH HEIGHT [XVFB_ARG...]     starts one, waits until it takes clients, exports DISPLAY
#   display_stop                                 stops it (an EXIT trap of the caller's calls it too)
#   display_launch WIDTH HEIGHT [XVFB_ARG...]    the start without the wait, for callers that wait their own
#   display_ready                                way: 0 once it takes clients (DISPLAY exported), 1 while it
#                                                starts, 2 once Xvfb is gone (its messages in $DISPLAY_DIR/log)
# shellcheck shell=bash
DISPLAY_PID='' DISPLAY_DIR=''

display_launch() {
    DISPLAY_DIR=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-display.XXXXXX")
    Xvfb -displayfd 3 -screen 0 "${1}x${2}x24" -nolisten tcp "${@:3}" 3> "$DISPLAY_DIR/number" \
        > "$DISPLAY_DIR/log" 2>&1 &
    DISPLAY_PID=$!
}

display_ready() {
    if grep -qx '[0-9]\+' "$DISPLAY_DIR/number" 2> /dev/null; then
        DISPLAY=":$(< "$DISPLAY_DIR/number")" && export DISPLAY
        return 0
    fi
    # A zombie has exited too
    local state && read -r _ _ state _ 2> /dev/null < "/proc/$DISPLAY_PID/stat" && [[ $state != Z ]] || return 2
    return 1
}

display_start() {
    display_launch "$@"
    local tries status
    for ((tries = 0; tries < 300; ++tries)); do # 30 s
        status=0 && display_ready || status=$?
        ((status == 1)) || break
        sleep 0.1
    done
    ((status == 0)) && return 0
    echo "Xvfb ${1}x$2 did not start: $(< "$DISPLAY_DIR/log")" >&2
    display_stop
    return 1
}

display_stop() {
    [[ -n $DISPLAY_PID ]] || return 0
    { kill "$DISPLAY_PID"; wait "$DISPLAY_PID"; } 2> /dev/null || true
    rm -rf "$DISPLAY_DIR"
    DISPLAY_PID='' DISPLAY_DIR=''
}

# A subshell: the trap and DISPLAY stay its own.
display_run() (
    display_start "${1%x*}" "${1#*x}" || exit 1
    trap display_stop EXIT
    "${@:2}"
)
