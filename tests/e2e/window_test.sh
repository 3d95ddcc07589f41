#!/usr/bin/env bash
# The main window opens with the game's title and a client area of 570 x 510, its only
# visible window.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

require_environment
start_game

# The window is declared 560 x 562 and resized as it opens: wait for the size to settle.
size_settled() {
    size=$(window_size "$MAIN_WIN")
    WAIT_DETAIL="client area $size"
    [ "$size" = "570x510" ]
}
wait_until "the client area to be 570x510" size_settled
title=$(xdotool getwindowname "$MAIN_WIN")
by_title=$(xdotool search --onlyvisible --name '^ソラネリ\(Mac\)$' 2>/dev/null | tr '\n' ' ')
note "title '$title', client area $size; windows found by the title: ${by_title:-none}"
check "the title is ソラネリ(Mac)" [ "$title" = "ソラネリ(Mac)" ]
check "a search by the title finds the main window" [ "$by_title" = "$MAIN_WIN " ]

others=$(other_windows)
note "other visible windows: ${others:-none}"
check "the main window is the only visible window" [ -z "$others" ]

shot window >/dev/null
