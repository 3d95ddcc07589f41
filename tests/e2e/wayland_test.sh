#!/usr/bin/env bash
# On a Wayland session karuta starts with nothing on standard error: with X beside the compositor
# it shows its window on X, and Ctrl+Q ends it with status 0; with the compositor alone it shows
# its window there. A display platform that cannot start is named in one line, with Qt's reason,
# and exit status 1. Two cases run as on a machine without Qt's Wayland plugin: there X must
# still serve beside the compositor, and without X the missing plugin is named. The compositor
# is weston with its headless back end, in a runtime folder of the test's own; the X server is
# the one the other tests use. Qt's X platform plugin (its file) is the argument after the
# usual two.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

xcb_plugin=${1:-}
require_environment
command -v weston >/dev/null || fail "'weston' is not installed (package: weston)"
[ -f "$xcb_plugin" ] || fail "no Qt X platform plugin at '$xcb_plugin'"

work=$(mktemp -d)
# weston and karuta find each other in XDG_RUNTIME_DIR, which must be private to its owner.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket=karuta-e2e
# Every request of every client, so that the test can see karuta make its window a toplevel.
protocol="$E2E_OUT/weston-protocol.log"
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
    --logger-scopes=proto --log="$protocol" >"$E2E_OUT/weston.log" 2>&1 &
weston_pid=$!
cleanup() {
    stop_game
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
compositor_listening() {
    kill -0 "$weston_pid" 2>/dev/null || fail "weston ended (log: $E2E_OUT/weston.log)"
    [ -S "$XDG_RUNTIME_DIR/$socket" ]
}
wait_until "weston to listen on $XDG_RUNTIME_DIR/$socket" compositor_listening

# A copy of karuta that finds no Qt platform plugin but X's, as where Qt's Wayland plugin is not
# installed: Qt reads its plugin folder from qt.conf beside the executable.
x_only=$work/x-only
mkdir -p "$x_only/plugins/platforms"
cp "$KARUTA_EXE" "$x_only/karuta"
ln -s "$(cd "$(dirname "$KARUTA_EXE")" && pwd)/resources" "$x_only/resources"
ln -s "$xcb_plugin" "$x_only/plugins/platforms/"
printf '[Paths]\nPlugins = %s\n' "$x_only/plugins" >"$x_only/qt.conf"

# The main window's title, as karuta hands it to the compositor.
title_request='xdg_toplevel@[0-9]*\.set_title("ソラネリ(Mac)")'
# shown_on_wayland <log lines written before karuta started>
shown_on_wayland() {
    game_running || fail "karuta exited before showing its window (standard error: $E2E_OUT/karuta.log)"
    tail -n "+$(($1 + 1))" "$protocol" | grep -q "$title_request"
}
shown_on_x() {
    game_running || fail "karuta exited before showing its window (standard error: $E2E_OUT/karuta.log)"
    find_main_window
}
# name | Qt platform plugins (all, or x only) | env(1) arguments for karuta, whose session is a
# Wayland one unless they say otherwise | where the main window shows (x, wayland, or none: then
# the exit status and the one line on standard error follow) | for a window shown, what standard
# error holds (nothing, unless given).
policy_warning="Unknown scale factor rounding policy: bogus. Supported values are: Round, Ceil, Floor, RoundPreferFloor, PassThrough."
export XDG_SESSION_TYPE=wayland
cases=(
    "Wayland with X beside|all|WAYLAND_DISPLAY=$socket|x"
    "Wayland with X beside, no Wayland plugin|x only|WAYLAND_DISPLAY=$socket|x"
    "an empty Wayland display beside X, X session|all|XDG_SESSION_TYPE=x11 WAYLAND_DISPLAY=|x"
    "Wayland alone|all|-u DISPLAY WAYLAND_DISPLAY=$socket|wayland"
    "Wayland, X named and not reached, a warning said first|all|DISPLAY=:none WAYLAND_DISPLAY=$socket QT_SCALE_FACTOR_ROUNDING_POLICY=bogus|wayland||$policy_warning"
    "Wayland alone, no Wayland plugin|x only|-u DISPLAY WAYLAND_DISPLAY=$socket|none|1|karuta: cannot start the display platform \"wayland\": Could not find the Qt platform plugin \"wayland\" in \"\""
    "no Wayland display|all|-u DISPLAY WAYLAND_DISPLAY=wayland-gone|none|1|karuta: cannot open the Wayland display \"wayland-gone\": Failed to create wl_display (No such file or directory)"
)
for row in "${cases[@]}"; do
    IFS='|' read -r name plugins env shown expected_status expected <<<"$row"
    read -r -a arguments <<<"$env"
    exe=$KARUTA_EXE
    [ "$plugins" = all ] || exe=$x_only/karuta
    before=$(wc -l <"$protocol")
    env -u QT_QPA_PLATFORM "${arguments[@]}" "$exe" \
        >/dev/null 2>"$E2E_OUT/karuta.log" &
    KARUTA_PID=$!
    if [ "$shown" = none ]; then
        status=0
        wait "$KARUTA_PID" || status=$?
        KARUTA_PID=""
        said=$(cat "$E2E_OUT/karuta.log")
        note "$name: exit status $status, standard error: $said"
        check "$name: the exit status is $expected_status" [ "$status" -eq "$expected_status" ]
        check "$name: standard error is the one line '$expected'" [ "$said" = "$expected" ]
        continue
    fi
    wait_until "$name: the main window on $shown" "shown_on_$shown" "$before"
    note "$name: the main window showed on $shown"
    # Long enough for what Qt says once the window is up (decorations, focus) to be said.
    sleep 1
    check "$name: karuta still runs" game_running
    if [ "$shown" = x ]; then
        # On X the test can also end the game as a player does, and hear what is said then.
        xdotool windowfocus "$MAIN_WIN"
        quit_with_ctrl_q "$MAIN_WIN"
        check "$name: Ctrl+Q ends karuta with exit status 0 (saw $QUIT_STATUS)" \
            [ "$QUIT_STATUS" -eq 0 ]
    fi
    said=$(cat "$E2E_OUT/karuta.log")
    note "$name: karuta said: ${said:-nothing}"
    check "$name: karuta said '${expected:-nothing}' on standard error" [ "$said" = "$expected" ]
    stop_game
done
