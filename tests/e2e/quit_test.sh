#!/usr/bin/env bash
# Ctrl+Q ends the game with exit status 0, both before any deal ("idle") and while a question
# is open and the one-second timer is revealing it ("mid-question").
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

when=${1:-}
[ "$when" = idle ] || [ "$when" = mid-question ] ||
    fail "quit_test.sh needs 'idle' or 'mid-question' after its two usual arguments"

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

# A child that has exited stays a zombie until it is waited for; only that counts as ended.
game_ended() {
    local state
    state=$(ps -o stat= -p "$KARUTA_PID" 2>/dev/null) || return 0
    [[ $state == Z* ]]
}

xdotool windowfocus "$MAIN_WIN"
# The window can be gone before the key's release is sent, which xdotool reports as an error.
xdotool key --window "$MAIN_WIN" ctrl+q 2>/dev/null || true
wait_until "karuta to end after Ctrl+Q" game_ended
status=0
wait "$KARUTA_PID" || status=$?
KARUTA_PID=""
if [ "$status" -gt 128 ]; then
    note "karuta ended with exit status $status: killed by SIG$(kill -l $((status - 128)))"
else
    note "karuta ended with exit status $status"
fi
check "the exit status is 0" [ "$status" -eq 0 ]
