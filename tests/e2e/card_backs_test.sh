#!/usr/bin/env bash
# Before the first deal every slot shows the green card back: on the face and on the frame
# around it.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

require_environment
start_game

wait_for_card_backs

file=$(shot backs)
for slot in "${!FACE_X[@]}"; do
    centre=$(face_centre_pixel "$file" "$slot")
    frame=$(frame_pixel "$file" "$slot")
    read -r green paper < <(face_count "$file" "$slot" "$IS_GREEN" "$IS_PAPER")
    green=$((green * 100 / (FACE_W * FACE_H)))
    note "slot $slot: face centre $centre, frame $frame, face ${green}% green, $paper paper pixels"
    is_colour "$centre" "$IS_GREEN" || fail "slot $slot: the face centre $centre is not green"
    is_colour "$frame" "$IS_GREEN" || fail "slot $slot: the frame point $frame is not green"
    [ "$green" -ge 70 ] || fail "slot $slot: only ${green}% of the face is green"
    [ "$paper" -eq 0 ] || fail "slot $slot: the back shows $paper pixels of card paper"
done

# All ten faces show the same picture.
distinct=$(face_signatures "$file" | sort -u | wc -l)
note "distinct face pictures: $distinct"
check "the ten faces show one and the same back" [ "$distinct" -eq 1 ]
