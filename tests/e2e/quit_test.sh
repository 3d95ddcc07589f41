#!/usr/bin/env bash
# Ctrl+Q ends the game with exit status 0: before any deal ("idle"), while a question is open
# and the one-second timer is revealing it ("mid-question"), and with the result window in front
# after a game ("result-window"; eleven presses of 開始 end a game unanswered).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

when=${1:-}
[ "$when" = idle ] || [ "$when" = mid-question ] || [ "$when" = result-window ] ||
    fail "quit_test.sh needs 'idle', 'mid-question' or 'result-window' after its two usual arguments"

require_environment
start_game
wait_for_card_backs

if [ "$when" = mid-question ]; then
    deal_now() {
        deal_shown "$(shot deal)"
    }
    press_start
    park_pointer
    wait_until "the first deal" deal_now
    note "a question is open"
fi

front=$MAIN_WIN
if [ "$when" = result-window ]; then
    # Each press waits for its deal, ten cards not dealt before in the game, so that no press
    # falls on the deal before it however slow the machine.
    seen="$E2E_OUT/seen-faces.txt"
    face_signatures "$(shot backs)" | sort -u >"$seen"
    faces="$E2E_OUT/faces.txt"
    dealt_anew() {
        face_signatures "$(shot deal)" >"$faces"
        local new
        new=$(grep -cvxF -f "$seen" "$faces" || true)
        WAIT_DETAIL="$new faces not seen before"
        [ "$new" -eq 10 ]
    }
    for question in $(seq 1 10); do
        press_start
        wait_until "question $question to be dealt" dealt_anew
        cat "$faces" >>"$seen"
    done
    press_start
    result_window() {
        front=$(other_windows | head -n 1)
        [ -n "$front" ]
    }
    wait_until "the result window" result_window
    note "the result window $front is open"
    # Without a window manager there is nothing to activate the window; it then takes the
    # focus directly.
    xdotool windowactivate "$front" 2>/dev/null || xdotool windowfocus "$front"
else
    xdotool windowfocus "$MAIN_WIN"
fi
quit_with_ctrl_q "$front"
status=$QUIT_STATUS
if [ "$status" -gt 128 ]; then
    note "karuta ended with exit status $status: killed by SIG$(kill -l $((status - 128)))"
else
    note "karuta ended with exit status $status"
fi
check "the exit status is 0" [ "$status" -eq 0 ]
