#!/usr/bin/env bash
# The main window shows at once whatever the desktop's buses do, and answers at once: screen
# readers see the game where the buses answer, and the IBus input method is used where IBus
# answers. The session bus, the accessibility bus (from its real launcher), the accessibility
# registry and IBus are real daemons here; a silent bus is a socket that takes connections and
# never says a word, and a hung daemon is the real one stopped. With no session bus, none may be
# started for karuta: a dbus-launch first on PATH records every run, and no bus daemon may
# outlive the game.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

require_environment
for tool in dbus-daemon dbus-send xprop xev /usr/libexec/at-spi-bus-launcher ibus-daemon; do
    command -v "$tool" >/dev/null ||
        fail "'$tool' is not installed (packages: dbus-daemon dbus-bin x11-utils at-spi2-core ibus)"
done
# Slow enough for a loaded machine; a window held by a bus takes 25 s or for ever.
E2E_DEADLINE=3

work=$(mktemp -d)
chmod 700 "$work"
fake_bin="$work/bin"
marker="$work/dbus-launch-ran"
silent_bus="$work/silent-bus"
session_bus="$work/bus"
mkdir "$fake_bin" "$work/empty"
chmod 700 "$work/empty"
printf '#!/bin/sh\necho "$0 $*" >>"%s"\nexit 1\n' "$marker" >"$fake_bin/dbus-launch"
chmod +x "$fake_bin/dbus-launch"

helpers=()
cleanup() {
    stop_game
    xprop -root -remove AT_SPI_BUS 2>/dev/null || true
    local pid
    for pid in "${helpers[@]}"; do
        kill -CONT -- "-$pid" 2>/dev/null || true
        kill -- "-$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
# start_helper <command...>: runs the command in a process group of its own, ended with the test.
start_helper() {
    setsid "$@" >/dev/null 2>&1 &
    helpers+=($!)
    HELPER_PID=$!
}

# A bus that takes every connection and never says a word, for a minute at most.
start_helper timeout 60 perl -MIO::Socket::UNIX -e '
    my $server = IO::Socket::UNIX->new(Local => $ARGV[0], Listen => 16) or die "listen: $!";
    my @held;
    while (my $client = $server->accept) { push @held, $client }' "$silent_bus"
start_helper dbus-daemon --session --nofork --address="unix:path=$session_bus"
sockets_ready() {
    [ -S "$silent_bus" ] && [ -S "$session_bus" ]
}
wait_until "the buses to listen" sockets_ready
session() {
    dbus-send --bus="unix:path=$session_bus" --print-reply=literal "$@"
}
start_helper env DBUS_SESSION_BUS_ADDRESS="unix:path=$session_bus" XDG_RUNTIME_DIR="$work" \
    /usr/libexec/at-spi-bus-launcher --launch-immediately
launcher_pid=$HELPER_PID
accessibility_bus=""
# Asked for its address before the launcher holds its name, the bus would start a launcher of its
# own, and whichever of the two lost the name would end: the name's owner is waited for first.
launcher_ready() {
    local owned
    owned=$(session --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.a11y.Bus 2>/dev/null) || return 1
    [[ $owned == *true* ]] || return 1
    accessibility_bus=$(session --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        2>/dev/null | tr -d ' ')
    [ -n "$accessibility_bus" ]
}
wait_until "the accessibility bus launcher" launcher_ready
# As a screen reader does when it starts.
session --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
    string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null
# The accessibility registry, started by its bus as the first program to register would start it.
dbus-send --bus="$accessibility_bus" --print-reply --dest=org.a11y.atspi.Registry \
    /org/a11y/atspi/accessible/root org.freedesktop.DBus.Peer.Ping >/dev/null ||
    fail "the accessibility registry did not start"
registry_pid=$(dbus-send --bus="$accessibility_bus" --print-reply=literal \
    --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetConnectionUnixProcessID \
    string:org.a11y.atspi.Registry | awk '{ print $2 }')
# IBus, which writes its bus's address for this display into the configuration folder. It ends
# when the process that started it does, so it is not a helper of a helper.
ibus_env="XDG_CONFIG_HOME=$work/config"
start_helper env DBUS_SESSION_BUS_ADDRESS="unix:path=$session_bus" "$ibus_env" \
    XDG_CACHE_HOME="$work/cache" ibus-daemon --single --panel=disable --emoji-extension=disable \
    --config=disable --cache=none
ibus_pid=""
ibus_ready() {
    ibus_pid=$(sed -n 's/^IBUS_DAEMON_PID=//p' "$work"/config/ibus/bus/* 2>/dev/null)
    [ -n "$ibus_pid" ]
}
wait_until "IBus to write its address" ibus_ready
note "accessibility registry pid $registry_pid, IBus pid $ibus_pid"

# set_root_string <format> <text>: sets the root window's AT_SPI_BUS, of type STRING, in units of
# <format> bits (8, 16 or 32), to the text's bytes, with NULs up to a whole unit: xprop writes text
# only in 8-bit units, while Qt takes a property's bytes whatever their units. A short X client on
# the display's socket: an InternAtom, a ChangeProperty and a round trip.
set_root_string() {
    perl - "$DISPLAY" "$1" AT_SPI_BUS "$2" <<'PERL'
use strict;
use IO::Socket::UNIX;
my ($display, $format, $name, $text) = @ARGV;
my ($number) = $display =~ /:(\d+)/ or die "display: $display\n";
my $x = IO::Socket::UNIX->new(Peer => "/tmp/.X11-unix/X$number") or die "connect: $!\n";
my $pad = sub { my $n = length $_[0]; $_[0] . ("\0" x ((4 - $n % 4) % 4)) };
my $read = sub { my $n = shift; my $got = ''; while (length $got < $n) { $x->sysread(my $b, $n - length $got) or die "read\n"; $got .= $b } $got };
$x->syswrite(pack('a1 x S S S S x2', 'l', 11, 0, 0, 0));
my ($ok, $major, $minor, $words) = unpack('C x S S S', $read->(8));
die "refused\n" unless $ok == 1;
my $setup = $read->($words * 4);
my ($vendor, $formats) = unpack('x16 S x2 x C', $setup);
my $screen = 32 + length($pad->('x' x $vendor)) + 8 * $formats;
my $root = unpack('L', substr($setup, $screen, 4));
$x->syswrite(pack('C C S S x2', 16, 0, 2 + length($pad->($name)) / 4, length $name) . $pad->($name));
my $atom = unpack('x8 L', $read->(32));
$text .= "\0" while length($text) % ($format / 8);
my $units = length($text) * 8 / $format;
$x->syswrite(pack('C C S L L L C x3 L', 18, 0, 6 + length($pad->($text)) / 4, $root, $atom, 31, $format, $units) . $pad->($text));
# A round trip, so that the request is done before the connection closes.
$x->syswrite(pack('C x S', 43, 1));
PERL
}

# The names of the applications on the accessibility registry, of their windows and of the
# controls of those, one a line.
accessible_names() {
    local bus=$1
    walk() {
        printf '%s\n' "$(dbus-send --bus="$bus" --print-reply=literal --dest="$1" "$2" \
            org.freedesktop.DBus.Properties.Get string:org.a11y.atspi.Accessible string:Name \
            2>/dev/null | sed 's/^ *variant *//')"
        [ "$3" -lt 4 ] || return 0
        dbus-send --bus="$bus" --print-reply --dest="$1" "$2" \
            org.a11y.atspi.Accessible.GetChildren 2>/dev/null |
            awk '/string "/ { gsub(/"/, "", $2); d = $2 } /object path/ { gsub(/"/, "", $3); print d, $3 }' |
            while read -r destination path; do walk "$destination" "$path" $(($3 + 1)); done
    }
    walk org.a11y.atspi.Registry /org/a11y/atspi/accessible/root 0
}
# Whether the registry lists the game, its window and its start button.
sees_the_game() {
    WAIT_DETAIL=$(accessible_names "$accessibility_bus" | tr -s ' \n' ' ')
    grep -q 'karuta ソラネリ(Mac) .*開始' <<<"$WAIT_DETAIL"
}

# name | env(1) arguments for karuta | what to do first, and undo after ("" for nothing) | what
# karuta must show: "reader" the game on the accessibility registry, "ibus" or "no-ibus" the IBus
# input method loaded or left out. A private runtime folder, so that no bus of the machine's is
# found there instead. Where a daemon is stopped, the window must show within a second and a half
# (IBus and the accessibility bus may each take half a second before they count as silent) and
# Ctrl+Q end the game within a second of it.
session_env="-u AT_SPI_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS=unix:path=$session_bus XDG_RUNTIME_DIR=$work/empty"
ibus_session_env="$session_env QT_IM_MODULE=ibus $ibus_env"
cases=(
    "healthy desktop|$session_env||reader"
    "silent session bus|DBUS_SESSION_BUS_ADDRESS=unix:path=$silent_bus XDG_RUNTIME_DIR=$work/empty||"
    "silent session bus, empty accessibility address|AT_SPI_BUS_ADDRESS= DBUS_SESSION_BUS_ADDRESS=unix:path=$silent_bus XDG_RUNTIME_DIR=$work/empty||"
    "silent session bus, GNOME|DBUS_SESSION_BUS_ADDRESS=unix:path=$silent_bus XDG_RUNTIME_DIR=$work/empty XDG_CURRENT_DESKTOP=GNOME||"
    "accessibility address silent|AT_SPI_BUS_ADDRESS=unix:path=$silent_bus DBUS_SESSION_BUS_ADDRESS=unix:path=$session_bus XDG_RUNTIME_DIR=$work/empty||"
    "root window names a silent bus|$session_env|root8|"
    "root window names a silent bus in 16-bit units|$session_env|root16|"
    "accessibility bus launcher hung|$session_env|launcher-hang|"
    "accessibility registry hung|$session_env|registry-hang|"
    "IBus answers|$ibus_session_env||ibus"
    "IBus hung|$ibus_session_env|ibus-hang|no-ibus"
    "IBus hung, accessibility healthy|$ibus_session_env|ibus-hang|no-ibus reader"
    "IBus and registry hung at once|$ibus_session_env|ibus-hang registry-hang|no-ibus"
    "no bus, GNOME|-u DBUS_SESSION_BUS_ADDRESS -u AT_SPI_BUS_ADDRESS XDG_RUNTIME_DIR=$work/empty XDG_CURRENT_DESKTOP=GNOME PATH=$fake_bin:$PATH||"
)
daemons_before=$(pgrep -x dbus-daemon | sort || true)
for row in "${cases[@]}"; do
    IFS='|' read -r name environment first expected <<<"$row"
    read -r -a GAME_ENV <<<"$environment"
    read -r -a actions <<<"$first"
    hung=false
    for action in "${actions[@]}"; do
        case $action in
        root8 | root16)
            # An X server that resets when its last client goes forgets the root window's
            # properties then: a client stays connected meanwhile.
            start_helper xev -root
            set_root_string "${action#root}" "unix:path=$silent_bus"
            ;;
        launcher-hang) kill -STOP -- "-$launcher_pid" ;;
        registry-hang) kill -STOP "$registry_pid" ;;
        ibus-hang) kill -STOP "$ibus_pid" ;;
        esac
        # A stopped daemon, or a root window naming a silent bus: the window must answer at once.
        [[ $action != *-hang && $action != root* ]] || hung=true
    done
    started=$(now_ms)
    start_game
    shown_after=$(($(now_ms) - started))
    note "$name: the main window showed after $shown_after ms"
    ibus_loaded=$(grep -c libibusplatforminputcontextplugin "/proc/$KARUTA_PID/maps" || true)
    for outcome in $expected; do
        case $outcome in
        ibus) check "$name: the IBus input method is loaded" [ "$ibus_loaded" -gt 0 ] ;;
        no-ibus) check "$name: the IBus input method is left out" [ "$ibus_loaded" -eq 0 ] ;;
        reader)
            wait_until "the accessibility registry to list the game, its window and its button" \
                sees_the_game
            note "$name: the registry lists: ${WAIT_DETAIL:0:120}"
            ;;
        esac
    done
    # Long enough for any look for a bus after the window showed to have begun.
    sleep 1
    check "$name: karuta still runs" game_running
    said=$(cat "$E2E_OUT/karuta.log")
    note "$name: karuta said: ${said:-nothing}"
    check "$name: karuta said nothing on standard error" [ -z "$said" ]
    if $hung; then
        check "$name: the main window showed within 1.5 s" [ "$shown_after" -le 1500 ]
        asked=$(now_ms)
        quit_with_ctrl_q "$MAIN_WIN"
        ended_after=$(($(now_ms) - asked))
        note "$name: Ctrl+Q ended karuta after $ended_after ms, with status $QUIT_STATUS"
        check "$name: Ctrl+Q ended karuta within a second" [ "$ended_after" -le 1000 ]
        check "$name: karuta ended with status 0" [ "$QUIT_STATUS" -eq 0 ]
    else
        stop_game
    fi
    for action in "${actions[@]}"; do
        case $action in
        root8 | root16) xprop -root -remove AT_SPI_BUS ;;
        launcher-hang) kill -CONT -- "-$launcher_pid" ;;
        registry-hang) kill -CONT "$registry_pid" ;;
        ibus-hang) kill -CONT "$ibus_pid" ;;
        esac
    done
done
ran=$(cat "$marker" 2>/dev/null || true)
note "dbus-launch runs: ${ran:-none}"
check "no bus was started through PATH" [ -z "$ran" ]
# A bus started for karuta is started for its display, and carries that display in its
# environment; daemons of other programs and of other test runs (each run has its own X server)
# do not. The test's own daemons run with the test's bus socket or under its launcher.
left=$(comm -13 <(echo "$daemons_before") <(pgrep -x dbus-daemon | sort) |
    while read -r pid; do
        tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "DISPLAY=$DISPLAY" || continue
        grep -qF "$work" "/proc/$pid/cmdline" 2>/dev/null ||
            [ "$(ps -o pgid= -p "$pid" | tr -d ' ')" = "$launcher_pid" ] || echo "$pid"
    done)
note "bus daemons started for $DISPLAY and left running: ${left:-none}"
check "no bus daemon outlived the game" [ -z "$left" ]
