#!/usr/bin/env bash
# A press of 開始 deals ten different poem cards onto the faces, and the question count field
# goes from 0 to 1. The count is read by comparing the field's pixels with other fields of the
# same size and font: before the deal with the total score field, which shows 0; after it with
# the high score field, into which the test types a 1 for reference (the game rewrites that
# field only when an answer is scored).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

require_environment
start_game
wait_for_card_backs

# field_signature <file> <x> <y>: the digest of a 60 x 20 text field.
field_signature() {
    signatures "$1" 60 20 "$2" "$3"
}

# count_reads_like <file> <reference field x> <reference field y>, and count_differs_from
count_reads_like() {
    [ "$(field_signature "$1" "${COUNT_FIELD[@]}")" = "$(field_signature "$1" "$2" "$3")" ]
}
count_differs_from() {
    ! count_reads_like "$@"
}

park_pointer
file=$(shot before-deal)
note "before the deal: count field $(field_signature "$file" "${COUNT_FIELD[@]}" | cut -c1-12)," \
    "total score field (0) $(field_signature "$file" "${TOTAL_SCORE_FIELD[@]}" | cut -c1-12)"
check "the count field shows 0 before the deal" \
    count_reads_like "$file" "${TOTAL_SCORE_FIELD[@]}"

# The reference 1. Pressing 開始 afterwards takes the focus away from the field, so that it is
# drawn without the caret, as the count field is.
click $((HIGH_SCORE_FIELD[0] + 30)) $((HIGH_SCORE_FIELD[1] + 10))
xdotool key --window "$MAIN_WIN" ctrl+a
xdotool type --window "$MAIN_WIN" 1
press_start
park_pointer

deal_shown_now() {
    file=$(shot after-deal)
    deal_shown "$file"
}
wait_until "ten different poem cards on the faces" deal_shown_now
for slot in "${!FACE_X[@]}"; do
    read -r paper ink green < <(face_percent "$file" "$slot" "$IS_PAPER" "$IS_INK" "$IS_GREEN")
    note "slot $slot: face centre $(face_centre_pixel "$file" "$slot"), ${paper}% paper," \
        "${ink}% ink, ${green}% green"
    [ "$paper" -ge 40 ] || fail "slot $slot: the face is not mostly card paper"
    # Lettering: the cards carry about fourteen large glyphs, several percent of the face.
    [ "$ink" -ge 2 ] || fail "slot $slot: the card shows no lettering"
done
note "distinct face pictures: $(face_signatures "$file" | sort -u | wc -l)"

note "after the deal: count field $(field_signature "$file" "${COUNT_FIELD[@]}" | cut -c1-12)," \
    "high score field (typed 1) $(field_signature "$file" "${HIGH_SCORE_FIELD[@]}" | cut -c1-12)," \
    "total score field (0) $(field_signature "$file" "${TOTAL_SCORE_FIELD[@]}" | cut -c1-12)"
check "the count field shows 1 after the deal" count_reads_like "$file" "${HIGH_SCORE_FIELD[@]}"
check "the count field no longer shows 0" count_differs_from "$file" "${TOTAL_SCORE_FIELD[@]}"
