#!/usr/bin/env bash
# A whole game: ten questions, each dealt with 開始 and answered with a click on a face (slot 0
# for the first question, slot 9 for the tenth). Each deal shows ten cards never shown before in
# the game, so the game deals all hundred cards; each answer draws its mark. The tenth answer
# opens the result window, 388 x 100, which Return closes; the faces are then cleared and the
# game goes on running.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

require_environment
start_game
wait_for_card_backs

# Every face picture seen so far, one digest a line, starting with the card back.
seen="$E2E_OUT/seen-faces.txt"
face_signatures "$(shot backs)" | sort -u >"$seen"

deal_now() {
    file=$(shot "deal-$question")
    local red
    red=$(red_in_mark "$file")
    deal_shown "$file" "$seen" || return 1
    WAIT_DETAIL="$red red pixels left in the mark area"
    [ "$red" -eq 0 ]
}
mark_now() {
    file=$(shot "answer-$question")
    shape=$(mark_shape "$file")
    WAIT_DETAIL="mark: $shape"
    [ "$shape" = circle ] || [ "$shape" = cross ]
}

for question in $(seq 1 10); do
    press_start
    park_pointer
    wait_until "question $question to be dealt" deal_now
    face_signatures "$file" >>"$seen"
    # The answer before this deal was a game's first to ninth: it opened no window.
    others=$(other_windows)
    [ -z "$others" ] || fail "question $question: a window opened before the game's end: $others"

    slot=$((question - 1))
    click_face "$slot"
    park_pointer
    wait_until "question $question: a mark after clicking slot $slot" mark_now
    note "question $question: ten new cards dealt, slot $slot clicked, mark: $shape"
done
note "face pictures seen in the game: $(sort -u "$seen" | wc -l) (the back and 100 cards)"

result_window() {
    result=$(other_windows | head -n 1)
    [ -n "$result" ]
}
wait_until "the result window" result_window
size=$(window_size "$result")
parent=$(xwininfo -children -id "$result" | awk '/Parent window id:/ { print $4 }')
root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
file=$(shot result "$result")
text=$(count_matching "$file" 20 14 348 52 "$IS_INK")
note "result window $result: client area $size, parent $parent (root $root)," \
    "$text dark text pixels in the message"
check "the result window is 388x100" [ "$size" = "388x100" ]
# Its declared title is empty, and so are both names a window manager may show in the title bar
# (left to itself, Qt would put the program's name there).
for property in WM_NAME _NET_WM_NAME; do
    value=$(xprop -id "$result" -notype "$property")
    note "result window: $value"
    # xprop shows a property that is there and empty as "NAME = ".
    check "the result window's $property is empty" [ "$value" = "$property = " ]
done
check "the result window is a top-level window" [ "$parent" = "$root" ]
check "the result window shows a message" [ "$text" -ge 100 ]

# Without a window manager there is nothing to activate the window; it then takes the focus
# directly.
xdotool windowactivate "$result" 2>/dev/null || xdotool windowfocus "$result"
press_keys "$result" Return
result_closed() {
    ! window_viewable "$result"
}
wait_until "Return to close the result window" result_closed
note "the result window closed on Return"
check "the game still runs" game_running
check "the main window is still shown" window_viewable "$MAIN_WIN"

faces_cleared() {
    file=$(shot after-game)
    local slot shown=()
    for slot in "${!FACE_X[@]}"; do
        [ "$(face_count "$file" "$slot" "$IS_PAPER")" -eq 0 ] || shown+=("$slot")
    done
    WAIT_DETAIL="slots still showing a card: ${shown[*]}"
    [ ${#shown[@]} -eq 0 ]
}
wait_until "the faces to be cleared after the game" faces_cleared
for slot in "${!FACE_X[@]}"; do
    note "after the game, slot $slot: face centre $(face_centre_pixel "$file" "$slot")"
done
