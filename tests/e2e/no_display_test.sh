#!/usr/bin/env bash
# Started with no display to open, karuta says so in one line on standard error, with Qt's
# reason, and exits with status 1: with DISPLAY unset, and with DISPLAY naming a server that is
# not there. Where the display is there and the platform cannot load, the line names the
# platform, not the display.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

[ -x "$KARUTA_EXE" ] || fail "no karuta executable at $KARUTA_EXE"
mkdir -p "$E2E_OUT"

# A display at which no X server answers, and at which none can start while the test runs. An
# X server on Linux listens on an abstract socket named "/tmp/.X11-unix/X<n>", which clients try
# first. A helper binds that name for the first display number free of servers and never
# accepts: a client is refused there just as where no server runs, and a server started
# meanwhile (Xvfb -displayfd included) takes another number. The helper lets the number go when
# the test ends, or after two minutes.
exec {holder_out}< <(exec timeout 120 perl -MIO::Socket::UNIX -e '
    $| = 1;
    for my $n (0 .. 65535) {
        next if -e "/tmp/.X11-unix/X$n";
        my $name = IO::Socket::UNIX->new(Local => "\0/tmp/.X11-unix/X$n") or next;
        print ":$n\n";
        sleep;
    }')
holder=$!
trap 'kill "$holder" 2>/dev/null || true' EXIT
unused=""
read -r -t 10 -u "$holder_out" unused || true
[ -n "$unused" ] || fail "no X display number could be held free of servers"
# The library that Qt's X platform plugin needs, broken: an empty file in its place.
broken_library=$(mktemp -d)
trap 'kill "$holder" 2>/dev/null || true; rm -rf "$broken_library"' EXIT
: >"$broken_library/libQt6XcbQpa.so.6"
no_server_at() {
    ! xdpyinfo -display "$1" >/dev/null 2>&1
}
check "no X server answers at $unused" no_server_at "$unused"

# name | env(1) arguments | exit status | what standard error holds ("\n" between lines): the one
# line, after what Qt said before it tried a platform, as Qt gave it. Where the environment asks
# Qt to end at its first warning, Qt's own warning is said before it does; a count of 0 asks for
# no end at all.
policy_warning="Unknown scale factor rounding policy: bogus. Supported values are: Round, Ceil, Floor, RoundPreferFloor, PassThrough."
cases=(
    "DISPLAY unset|-u DISPLAY|1|karuta: no display (DISPLAY is not set): could not connect to display"
    "no server at $unused|DISPLAY=$unused|1|karuta: cannot open the display \"$unused\": could not connect to display $unused"
    "X named, only a Wayland display set|-u DISPLAY QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=wayland-9|1|karuta: no display (DISPLAY is not set): could not connect to display"
    "no such platform|QT_QPA_PLATFORM=nosuchplatform|1|karuta: cannot start the display platform \"nosuchplatform\": Could not find the Qt platform plugin \"nosuchplatform\" in \"\""
    "warnings fatal|QT_FATAL_WARNINGS=1 DISPLAY=$unused|134|qt.qpa.xcb: could not connect to display $unused"
    "warnings not fatal at 0|QT_FATAL_WARNINGS=0 DISPLAY=$unused|1|karuta: cannot open the display \"$unused\": could not connect to display $unused"
    "criticals not fatal at 0|QT_FATAL_CRITICALS=0 DISPLAY=$unused|1|karuta: cannot open the display \"$unused\": could not connect to display $unused"
    "X platform broken|QT_QPA_PLATFORM=xcb LD_LIBRARY_PATH=$broken_library|1|karuta: cannot start the display platform \"xcb\": Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found."
    "X platform broken, a warning said first|QT_SCALE_FACTOR_ROUNDING_POLICY=bogus LD_LIBRARY_PATH=$broken_library|1|$policy_warning\nkaruta: cannot start the display platform \"xcb\": Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found."
)
for row in "${cases[@]}"; do
    IFS='|' read -r name env expected_status expected <<<"$row"
    expected=${expected//\\n/$'\n'}
    read -r -a arguments <<<"$env"
    status=0
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${arguments[@]}" timeout 20 "$KARUTA_EXE" \
        >/dev/null 2>"$E2E_OUT/stderr.txt" || status=$?
    said=$(grep -v '^QStandardPaths: ' "$E2E_OUT/stderr.txt" || true)
    note "$name: exit status $status, standard error: $said"
    check "$name: the exit status is $expected_status" [ "$status" -eq "$expected_status" ]
    check "$name: standard error is '$expected'" [ "$said" = "$expected" ]
done
