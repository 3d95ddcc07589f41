#!/usr/bin/env bash
# Started with no display to open, karuta says so in one line on standard error and exits with
# status 1: with DISPLAY unset, and with DISPLAY naming a server that is not there.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/setup.sh"

[ -x "$KARUTA_EXE" ] || fail "no karuta executable at $KARUTA_EXE"
mkdir -p "$E2E_OUT"
unused=$(karuta_unused_display 200 250) || unused=""
[ -n "$unused" ] || fail "no unused X display number"

# name | env(1) arguments | the one line expected on standard error
cases=(
    "DISPLAY unset|-u DISPLAY|karuta: no display (DISPLAY is not set)"
    "no server at $unused|DISPLAY=$unused|karuta: cannot open the display \"$unused\""
)
for row in "${cases[@]}"; do
    IFS='|' read -r name env expected <<<"$row"
    read -r -a arguments <<<"$env"
    status=0
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${arguments[@]}" timeout 20 "$KARUTA_EXE" \
        >/dev/null 2>"$E2E_OUT/stderr.txt" || status=$?
    said=$(cat "$E2E_OUT/stderr.txt")
    note "$name: exit status $status, standard error: $said"
    check "$name: the exit status is 1" [ "$status" -eq 1 ]
    check "$name: standard error is the one line '$expected'" [ "$said" = "$expected" ]
done
