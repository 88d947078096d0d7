# The Windows installer under Wine, on a 1920 x 1080 Xvfb, in a Wine folder of its own: run silently (/S),
# it puts the zip's files, and only those with its uninstaller, in the user's programs folder with no
# administrator, a Start-menu shortcut to the game and an entry in "Apps and features"; the game the
# shortcut points to shows its title page and exits 0 on Escape. The uninstaller, run silently, takes all
# that away again and leaves the best score in %APPDATA%.
#   bash tests/windows/test_installer.sh <zip> <repo root>     (the installer beside the zip)
set -euo pipefail
source "$(dirname "$0")/../../tools/lib/wine.sh"
ZIP=$(readlink -f "$1") WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-wine.XXXXXX")
SETUP=${ZIP%.zip}-setup.exe
# lib.sh takes one program: Wine with the shortcut's target, once it is known
printf '#!/bin/sh\nexec %s "$(cat "%s")" "$@"\n' "$WINE" "$WINEPREFIX/target" > "$WINEPREFIX/game" && chmod +x "$WINEPREFIX/game"
source "$(dirname "$0")/../e2e/lib.sh" "$WINEPREFIX/game" "$2"
trap 's=$?; wine_session_end; rm -rf "$WINEPREFIX"; (exit $s); cleanup' EXIT
[[ -f $SETUP ]] || fail "no installer beside $ZIP"
USER_DIR="$WINEPREFIX/drive_c/users/$(id -un)" KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Glimmora Game'
INSTALLED="$USER_DIR/AppData/Local/Programs/Glimmora Game"
SHORTCUT="$USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Glimmora Game.lnk"
SCORE="$USER_DIR/AppData/Roaming/Glimmora Game/highscore.txt"
mkdir -p "${SCORE%/*}" && echo 4321 > "$SCORE"
xvfb_start 1920 1080
# Wine's first start, about 20 s, before any wait and on this display; no menu entries of the build machine's
# own made for the shortcut
wine_session_start "$WINEPREFIX" winemenubuilder.exe=d

timeout 300 "$WINE" "$SETUP" /S || fail "the installer exited with status $?"
mkdir "$WINEPREFIX/zip" && (cd "$WINEPREFIX/zip" && unzip -q "$ZIP")
differences=$(diff -r "$WINEPREFIX"/zip/* "$INSTALLED" 2>&1 | grep -vx "Only in $INSTALLED: uninstall.exe" || true)
[[ -z $differences ]] || fail "the installed files are not the zip's: $differences"
log "installed: the zip's $(find "$INSTALLED" -type f | wc -l) files, one of them the uninstaller"
"$WINE" reg query "$KEY" /v UninstallString | grep -q 'uninstall.exe' || fail "no uninstaller registered under $KEY"

# The shortcut's target: the local path its link information gives (and any suffix to it)
[[ -f $SHORTCUT ]] || fail "no Start-menu shortcut: $(find "$USER_DIR" -name '*.lnk')"
target=$(perl -e 'binmode STDIN; local $/; my $d = <STDIN>;
    my $flags = unpack("V", substr($d, 20, 4)); my $p = 76;
    $p += 2 + unpack("v", substr($d, $p, 2)) if $flags & 1;
    exit 1 unless $flags & 2;
    my (undef, undef, $info, undef, $base, undef, $suffix) = unpack("V7", substr($d, $p, 28));
    exit 1 unless $info & 1;
    print unpack("Z*", substr($d, $p + $base)), unpack("Z*", substr($d, $p + $suffix))' < "$SHORTCUT") ||
    fail "the shortcut holds no local target"
unix=${target/#[Cc]:/$WINEPREFIX/drive_c} && unix=${unix//\\//}
[[ $unix -ef $INSTALLED/glimmora-game.exe ]] || fail "the shortcut points to $target, not the installed game"
log "the Start-menu shortcut points to $target"
printf %s "$unix" > "$WINEPREFIX/target"
start_game "$WINEPREFIX"
wait_title
quit_game

timeout 120 "$WINE" "$INSTALLED/uninstall.exe" /S || fail "the uninstaller exited with status $?"
# It goes on from a copy of itself in the temporary folder
wait_for "the installed folder to go" eval '[[ ! -e $INSTALLED ]]'
[[ ! -e $SHORTCUT ]] || fail "the shortcut stays after uninstalling"
! "$WINE" reg query "$KEY" > /dev/null 2>&1 || fail "$KEY stays after uninstalling"
[[ $(< "$SCORE") == 4321 ]] || fail "the best score did not stay: $(ls -A "${SCORE%/*}")"
log "uninstalled: the folder, the shortcut and the entry gone, the best score kept"
