#!/usr/bin/env bash
# The main window shows within a few seconds whatever the session bus does: with a bus that
# accepts connections and never answers, and with no bus at all, where no bus may be started
# for karuta (a dbus-launch first on PATH records every run).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

require_environment
E2E_DEADLINE=5

work=$(mktemp -d)
fake_bin="$work/bin"
marker="$work/dbus-launch-ran"
silent_bus="$work/silent-bus"
mkdir "$fake_bin"
printf '#!/bin/sh\necho "$0 $*" >>"%s"\nexit 1\n' "$marker" >"$fake_bin/dbus-launch"
chmod +x "$fake_bin/dbus-launch"

# A bus that takes every connection and never says a word, held open until the test ends (or
# a minute has passed, should the test end without stopping it).
timeout 60 perl -MIO::Socket::UNIX -e '
    my $server = IO::Socket::UNIX->new(Local => $ARGV[0], Listen => 16) or die "listen: $!";
    my @held;
    while (my $client = $server->accept) { push @held, $client }' "$silent_bus" >/dev/null 2>&1 &
bus_pid=$!
cleanup() {
    stop_game
    kill "$bus_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
bus_listening() {
    [ -S "$silent_bus" ]
}
wait_until "the silent bus to listen" bus_listening

# name | env(1) arguments for karuta. A private runtime folder, so that no bus of the machine's
# is found there instead. On a GNOME desktop Qt also loads its GTK theme, where installed.
cases=(
    "silent bus|DBUS_SESSION_BUS_ADDRESS=unix:path=$silent_bus XDG_RUNTIME_DIR=$work"
    "silent bus, empty accessibility address|AT_SPI_BUS_ADDRESS= DBUS_SESSION_BUS_ADDRESS=unix:path=$silent_bus XDG_RUNTIME_DIR=$work"
    "silent bus, GNOME|DBUS_SESSION_BUS_ADDRESS=unix:path=$silent_bus XDG_RUNTIME_DIR=$work XDG_CURRENT_DESKTOP=GNOME"
    "no bus|-u DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR=$work PATH=$fake_bin:$PATH"
)
for row in "${cases[@]}"; do
    name=${row%%|*}
    read -r -a GAME_ENV <<<"${row#*|}"
    started=$(now_ms)
    start_game
    trap cleanup EXIT
    note "$name: the main window showed after $(($(now_ms) - started)) ms"
    # Long enough for any look for a bus after the window showed to have begun.
    sleep 1
    check "$name: karuta still runs" game_running
    said=$(cat "$E2E_OUT/karuta.log")
    note "$name: karuta said: ${said:-nothing}"
    check "$name: karuta said nothing on standard error" [ -z "$said" ]
    stop_game
done
ran=$(cat "$marker" 2>/dev/null || true)
note "dbus-launch runs: ${ran:-none}"
check "no bus was started" [ -z "$ran" ]
