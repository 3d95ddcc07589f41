#!/usr/bin/env bash
# karuta takes no command-line options, Qt's own included: whatever the arguments, the main
# window opens as usual, on the platform the environment names and without the style sheet an
# argument names. Qt's environment variables still apply.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

require_environment

sheet="$E2E_OUT/magenta.qss"
printf '* { background-color: #ff00ff; }\n' >"$sheet"
not_magenta() {
    ! is_colour "$1" 'r >= 200 && g <= 60 && b >= 200'
}

# name | karuta's arguments | env(1) arguments | the client area expected
cases=(
    "-platform|-platform nosuchplatform||570x510"
    "-stylesheet|-stylesheet $sheet||570x510"
    "QT_SCALE_FACTOR||QT_SCALE_FACTOR=2|1140x1020"
)
for row in "${cases[@]}"; do
    IFS='|' read -r name args env expected <<<"$row"
    read -r -a arguments <<<"$args"
    read -r -a GAME_ENV <<<"$env"
    start_game "${arguments[@]}"
    size_settled() {
        size=$(window_size "$MAIN_WIN")
        WAIT_DETAIL="client area $size"
        [ "$size" = "$expected" ]
    }
    wait_until "$name: the client area to be $expected" size_settled
    background=$(pixel_at "$(shot "$name")" 5 5)
    note "$name: client area $size, background $background"
    check "$name: no style sheet was applied" not_magenta "$background"
    stop_game
done
