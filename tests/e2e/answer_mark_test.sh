#!/usr/bin/env bash
# A click on a card face answers the question: a red circle (right) or a red cross (wrong)
# appears in the mark area, and the next press of 開始 wipes it away.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

require_environment
start_game
wait_for_card_backs

file=$(shot start)
note "red pixels in the mark area before any answer: $(red_in_mark "$file")"
check "the mark area starts without red" [ "$(red_in_mark "$file")" -eq 0 ]

deal_now() {
    file=$(shot deal)
    deal_shown "$file"
}
mark_now() {
    file=$(shot marked)
    local red
    red=$(red_in_mark "$file")
    WAIT_DETAIL="$red red pixels"
    [ "$red" -ge 40 ]
}
is_answer_mark() {
    [ "$1" = circle ] || [ "$1" = cross ]
}
mark_gone() {
    file=$(shot next-deal)
    local red
    red=$(red_in_mark "$file")
    WAIT_DETAIL="$red red pixels"
    [ "$red" -eq 0 ]
}

press_start
park_pointer
wait_until "the first deal" deal_now
file=$(shot deal)
note "red pixels in the mark area after the deal: $(red_in_mark "$file")"
check "a deal draws no mark" [ "$(red_in_mark "$file")" -eq 0 ]

click_face 3
park_pointer
wait_until "a red mark after clicking the face of slot 3" mark_now
shape=$(mark_shape "$file")
note "red pixels in the mark area after the answer: $(red_in_mark "$file"), the mark is: $shape"
check "the mark is a circle or a cross" is_answer_mark "$shape"

press_start
park_pointer
wait_until "the mark to be wiped by the next deal" mark_gone
note "red pixels in the mark area after the next deal: $(red_in_mark "$file")"
