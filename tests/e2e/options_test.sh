#!/usr/bin/env bash
# karuta takes no command-line options, Qt's own included: whatever the arguments, the main
# window opens as usual, on the platform the environment names and without the style sheet an
# argument names. Qt's environment variables still apply.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

require_environment

sheet="$E2E_OUT/magenta.qss"
printf '* { background-color: #ff00ff; }\n' >"$sheet"

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
    # The window's own orange, not the style sheet's magenta, once the window has painted.
    own_background() {
        background=$(pixel_at "$(shot "$name")" 5 5)
        WAIT_DETAIL="background $background"
        is_colour "$background" 'r >= 230 && g >= 100 && g <= 160 && b <= 40'
    }
    wait_until "$name: the window's own background" own_background
    note "$name: client area $size, background $background"
    stop_game
done
