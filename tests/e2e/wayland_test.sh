#!/usr/bin/env bash
# On a Wayland session karuta starts with nothing on standard error: with X beside the compositor
# it shows its window on X; with the compositor alone it shows it there; and a Wayland display
# that is not there is named in one line, with Qt's reason, and exit status 1. The compositor is
# weston with its headless back end, in a runtime folder of the test's own; the X server is the
# one the other tests use.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

require_environment
command -v weston >/dev/null || fail "'weston' is not installed (package: weston)"

# weston and karuta find each other in XDG_RUNTIME_DIR, which must be private to its owner.
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
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
    rm -rf "$runtime"
}
trap cleanup EXIT
compositor_listening() {
    kill -0 "$weston_pid" 2>/dev/null || fail "weston ended (log: $E2E_OUT/weston.log)"
    [ -S "$runtime/$socket" ]
}
wait_until "weston to listen on $runtime/$socket" compositor_listening

# The main window's title, as karuta hands it to the compositor.
title_request='xdg_toplevel@[0-9]*\.set_title("ソラネリ(Mac)")'
# shown_on_wayland <log lines written before karuta started>
shown_on_wayland() {
    game_running || fail "karuta exited before showing its window (standard error: $E2E_OUT/karuta.log)"
    tail -n "+$(($1 + 1))" "$protocol" | grep -q "$title_request"
}
# A child that has exited stays a zombie until it is waited for; only that counts as ended.
game_ended() {
    local state
    state=$(ps -o stat= -p "$KARUTA_PID" 2>/dev/null) || return 0
    [[ $state == Z* ]]
}
shown_on_x() {
    game_running || fail "karuta exited before showing its window (standard error: $E2E_OUT/karuta.log)"
    find_main_window
}

# name | env(1) arguments for karuta | where the main window shows (x, wayland, or none: then
# the exit status and the one line on standard error follow)
cases=(
    "Wayland with X beside|WAYLAND_DISPLAY=$socket|x"
    "Wayland alone|-u DISPLAY WAYLAND_DISPLAY=$socket|wayland"
    "no Wayland display|-u DISPLAY WAYLAND_DISPLAY=wayland-gone|none|1|karuta: cannot open the Wayland display \"wayland-gone\": Failed to create wl_display (No such file or directory)"
)
for row in "${cases[@]}"; do
    IFS='|' read -r name env shown expected_status expected <<<"$row"
    read -r -a arguments <<<"$env"
    before=$(wc -l <"$protocol")
    env -u QT_QPA_PLATFORM "${arguments[@]}" XDG_SESSION_TYPE=wayland "$KARUTA_EXE" \
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
        xdotool key --window "$MAIN_WIN" ctrl+q 2>/dev/null || true
        wait_until "$name: karuta to end after Ctrl+Q" game_ended
        status=0
        wait "$KARUTA_PID" || status=$?
        KARUTA_PID=""
        check "$name: Ctrl+Q ends karuta with exit status 0 (saw $status)" [ "$status" -eq 0 ]
    fi
    said=$(cat "$E2E_OUT/karuta.log")
    note "$name: karuta said: ${said:-nothing}"
    check "$name: karuta said nothing on standard error" [ -z "$said" ]
    stop_game
done
