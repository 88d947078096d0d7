# A Wine session for a run of Windows programs, as a Windows login would have it; sourced by bash scripts.
#   wine_session_start FOLDER [DLL_OVERRIDE]   a Wine folder made in FOLDER (new, or holding only files of
#                                              the caller's), exported as WINEPREFIX, with Wine's notes off
#                                              and no offer to install Mono or Gecko (DLL_OVERRIDE adds one
#                                              more, such as winemenubuilder.exe=d); its first start done,
#                                              one Wine server kept running and Wine's desktop kept up
#   wine_session_end                           ends every program of it and its server; FOLDER stays
# $WINE and $WINESERVER start Wine's programs and its server. The session uses the X display in DISPLAY.
# shellcheck shell=bash
WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver
WINE_SESSION='' WINE_DESKTOP_PID=''

wine_session_start() {
    WINE_SESSION=$1
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=${2:+;$2}"
    mkdir -p "$WINEPREFIX"
    # Each program would otherwise start a server of its own, seconds each
    "$WINESERVER" -p
    "$WINE" wineboot -i > /dev/null 2>&1
    # With no Wine program running, Wine's desktop goes, and the next program waits some ten seconds for
    # it to come back: a paused console program keeps it up, reading a pipe that nothing ever writes to
    mkfifo "$WINEPREFIX/.keep-desktop"
    "$WINE" cmd.exe /c pause <> "$WINEPREFIX/.keep-desktop" > /dev/null 2>&1 &
    WINE_DESKTOP_PID=$!
}

wine_session_end() {
    [[ -n $WINE_SESSION ]] || return 0
    WINEPREFIX=$WINE_SESSION "$WINESERVER" -k 2> /dev/null || true
    [[ -z $WINE_DESKTOP_PID ]] || wait "$WINE_DESKTOP_PID" 2> /dev/null || true
    rm -f "$WINE_SESSION/.keep-desktop"
    WINE_SESSION='' WINE_DESKTOP_PID=''
}
