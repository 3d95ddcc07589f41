# shellcheck shell=bash disable=SC2034  # the tables below are read by the tests that source this
# Shared by the end-to-end tests. A test sources this file with the karuta executable and a
# folder for its screenshots as its first two arguments, starts its own karuta in the X server
# named by DISPLAY, drives it with xdotool, and reads pixels of window screenshots with
# ImageMagick. Every check prints what it measured, so that the test log shows the values seen.
set -euo pipefail

[ $# -ge 2 ] || {
    echo "usage: $0 <karuta executable> <output folder> [arguments...]" >&2
    exit 2
}
KARUTA_EXE=$1
E2E_OUT=$2
shift 2

# How long to wait for anything the game should show, in seconds.
E2E_DEADLINE=${E2E_DEADLINE:-10}

KARUTA_PID=""
MAIN_WIN=""

# ---- Reporting ---------------------------------------------------------------------------

# Ends the test as failed, also from inside a command substitution or a polled condition,
# where bash would otherwise carry on.
fail() {
    echo "FAIL: $*" >&2
    if [ "$BASH_SUBSHELL" -gt 0 ]; then
        kill -s TERM $$
    fi
    exit 1
}
trap 'exit 1' TERM

note() {
    echo "  $*"
}

# check <description> <command...>: the command must succeed.
check() {
    local what=$1
    shift
    if "$@"; then
        note "ok: $what"
    else
        fail "$what"
    fi
}

# ---- Environment -------------------------------------------------------------------------

# Every tool and the X server must be there: a test that cannot look at the screen fails.
require_environment() {
    local tool
    for tool in xdotool xwininfo xdpyinfo xprop import convert; do
        command -v "$tool" >/dev/null ||
            fail "'$tool' is not installed (packages: xdotool x11-utils imagemagick)"
    done
    [ -n "${DISPLAY:-}" ] ||
        fail "DISPLAY is not set: run the end-to-end tests through scripts/test.sh, which starts Xvfb"
    xdpyinfo >/dev/null 2>&1 || fail "the X display '$DISPLAY' cannot be reached"
    [ -x "$KARUTA_EXE" ] || fail "no karuta executable at $KARUTA_EXE"
    [ -f "$(dirname "$KARUTA_EXE")/resources/Green.pct" ] ||
        fail "no card pictures in $(dirname "$KARUTA_EXE")/resources: build the card_pictures target"
    mkdir -p "$E2E_OUT"
    rm -f "$E2E_OUT"/*.png
    note "display $DISPLAY, screenshots in $E2E_OUT"
}

# ---- Waiting -----------------------------------------------------------------------------

now_ms() {
    date +%s%3N
}

# wait_until <description> <command...>: polls the command until it succeeds, failing once
# E2E_DEADLINE seconds have passed. WAIT_DETAIL, if the command sets it, explains the last miss.
WAIT_DETAIL=""
wait_until() {
    local what=$1
    shift
    local deadline=$(($(now_ms) + E2E_DEADLINE * 1000))
    WAIT_DETAIL=""
    until "$@"; do
        if [ "$(now_ms)" -ge "$deadline" ]; then
            fail "waited ${E2E_DEADLINE}s for $what${WAIT_DETAIL:+ (last seen: $WAIT_DETAIL)}"
        fi
        sleep 0.1
    done
}

# ---- The game process --------------------------------------------------------------------

stop_game() {
    [ -n "$KARUTA_PID" ] || return 0
    if kill -0 "$KARUTA_PID" 2>/dev/null; then
        kill "$KARUTA_PID" 2>/dev/null || true
        for _ in $(seq 1 30); do
            kill -0 "$KARUTA_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$KARUTA_PID" 2>/dev/null || true
    fi
    wait "$KARUTA_PID" 2>/dev/null || true
    KARUTA_PID=""
}

game_running() {
    [ -n "$KARUTA_PID" ] && kill -0 "$KARUTA_PID" 2>/dev/null
}

# A child that has exited stays a zombie until it is waited for; only that counts as ended.
game_ended() {
    local state
    state=$(ps -o stat= -p "$KARUTA_PID" 2>/dev/null) || return 0
    [[ $state == Z* ]]
}

# quit_with_ctrl_q <window>: presses Ctrl+Q on the window as a player does, waits for karuta to
# end and sets QUIT_STATUS to its exit status.
QUIT_STATUS=""
quit_with_ctrl_q() {
    press_keys "$1" ctrl+q
    wait_until "karuta to end after Ctrl+Q" game_ended
    QUIT_STATUS=0
    wait "$KARUTA_PID" || QUIT_STATUS=$?
    KARUTA_PID=""
}

# The game's main window: the first window our process shows. (Its title is the window test's
# to check.)
find_main_window() {
    game_running || fail "karuta exited before showing its window (log: $E2E_OUT/karuta.log)"
    MAIN_WIN=$(xdotool search --onlyvisible --pid "$KARUTA_PID" 2>/dev/null | head -n 1) || true
    [ -n "$MAIN_WIN" ]
}

# start_game [arguments...]: starts karuta with those arguments on the X server (never on Qt's
# offscreen platform, whatever the environment says), stops it when the test ends however it
# ends, and waits for its main window. GAME_ENV, if a test sets it, holds options and
# assignments for env(1) that change karuta's environment. A test that cleans up more when it
# ends sets its own EXIT trap first, which must call stop_game; start_game keeps that trap.
GAME_ENV=()
start_game() {
    env "${GAME_ENV[@]}" QT_QPA_PLATFORM=xcb "$KARUTA_EXE" "$@" >"$E2E_OUT/karuta.log" 2>&1 &
    KARUTA_PID=$!
    [ -n "$(trap -p EXIT)" ] || trap stop_game EXIT
    wait_until "the main window" find_main_window
    note "karuta pid $KARUTA_PID, main window $MAIN_WIN"
}

# ---- Windows -----------------------------------------------------------------------------

# window_size <id>: "<width>x<height>" of the window's client area.
window_size() {
    xwininfo -id "$1" | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w "x" h }'
}

window_viewable() {
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# The visible windows of our process other than the main window, one id a line.
other_windows() {
    xdotool search --onlyvisible --pid "$KARUTA_PID" 2>/dev/null | grep -vx "$MAIN_WIN" || true
}

# ---- Input -------------------------------------------------------------------------------

# press_keys <window> <keys>: presses the keys (xdotool's "ctrl+q") on the window and lets them
# go. Sent to the window with the focus, they are pressed in the X server itself, and a window
# that the press closes is gone before xdotool sends the release, which it reports as an error
# about a window that no longer exists. The keys are then released in the server, or it would
# go on repeating them into whichever window takes the focus next, in this test or a later one.
press_keys() {
    xdotool key --window "$1" "$2" 2>/dev/null || true
    xdotool keyup "$2" 2>/dev/null || true
}

# click <x> <y>: a left click at a point of the main window.
click() {
    xdotool mousemove --window "$MAIN_WIN" "$1" "$2" click 1
}

# Parks the pointer on the plain background at the top left, away from every control, so
# that no hover highlight shows in a screenshot.
park_pointer() {
    xdotool mousemove --window "$MAIN_WIN" 5 5
}

START_BUTTON_CENTRE=(491 22)

press_start() {
    click "${START_BUTTON_CENTRE[@]}"
}

# ---- Screenshots and pixels --------------------------------------------------------------

# shot <name> [window]: saves the window's contents as <output folder>/<name>.png and prints
# the file's path.
shot() {
    local file="$E2E_OUT/$1.png"
    import -window "${2:-$MAIN_WIN}" "$file" || fail "could not take the screenshot $file"
    echo "$file"
}

# pixel_at <file> <x> <y>: "r,g,b" of one pixel.
pixel_at() {
    local rgb
    rgb=$(convert -regard-warnings "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- |
        awk 'NR == 2 { gsub(/[(),:]/, " "); print $3 "," $4 "," $5 } END { exit NR != 2 }') ||
        fail "could not read the pixel at $2,$3 of $1"
    echo "$rgb"
}

# Colour tests on r, g and b (0 to 255), in awk.
IS_GREEN='g >= r + 15 && g >= b + 10'
# The card's paper: warm white, red a little above blue; pure white does not count.
IS_PAPER='r >= 235 && g >= 230 && b >= 215 && r - b >= 8 && r - b <= 25'
# Ink: dark and neutral, which the dark green of the frames is not.
IS_INK='r <= 90 && g <= 90 && b <= 90 && g - r <= 12'
IS_RED='r >= 200 && g <= 80 && b <= 80'

# is_colour <"r,g,b"> <test>
is_colour() {
    awk -v rgb="$1" "BEGIN { split(rgb, c, \",\"); r = c[1]; g = c[2]; b = c[3]; exit !($2) }"
}

# count_matching <file> <x> <y> <w> <h> <test>...: for each test, how many pixels of the
# rectangle pass it, on one line. A rectangle not wholly inside the picture fails the test.
count_matching() {
    local file=$1 x=$2 y=$3 w=$4 h=$5
    shift 5
    local program="NR > 1 { gsub(/[(),:]/, \" \"); r = \$3; g = \$4; b = \$5" report=""
    local i=0 test counts
    for test in "$@"; do
        program+="; if ($test) n$i++"
        report+="${report:+, }n$i + 0"
        i=$((i + 1))
    done
    counts=$(convert -regard-warnings "$file" -crop "${w}x${h}+$x+$y" +repage -depth 8 txt:- |
        awk "$program } END { if (NR - 1 != $w * $h) exit 1; print $report }") ||
        fail "could not read the ${w}x$h pixels at $x,$y of $file"
    echo "$counts"
}

# percent_matching: as count_matching, in whole percent of the rectangle.
percent_matching() {
    local area=$(($4 * $5)) n out=()
    for n in $(count_matching "$@"); do
        out+=($((n * 100 / area)))
    done
    echo "${out[*]}"
}

# signatures <file> <w> <h> <x y>...: one line per rectangle with the digest of its pixels.
signatures() {
    local file=$1 w=$2 h=$3
    shift 3
    local crops=()
    while [ $# -ge 2 ]; do
        crops+=("(" mpr:shot -crop "${w}x${h}+$1+$2" +repage ")")
        shift 2
    done
    convert -regard-warnings "$file" -write mpr:shot +delete "${crops[@]}" -format '%#\n' info: ||
        fail "could not read $file"
}

# ---- The main window's layout ------------------------------------------------------------

# The ten card faces (70 x 160), slot by slot, and the left edges of the frames (90 x 170)
# around them.
FACE_W=70
FACE_H=160
FACE_X=(31 142 251 365 472 31 142 251 365 472)
FACE_Y=(75 77 76 76 76 264 264 264 265 265)
FRAME_X=(21 132 241 355 462 21 132 241 355 462)
MARK=(419 452 50 50)
# The question count field and two fields used as references for its digits, all 60 x 20.
COUNT_FIELD=(325 454)
TOTAL_SCORE_FIELD=(55 482)
HIGH_SCORE_FIELD=(203 482)

# face_centre_pixel <file> <slot>: "r,g,b" at the centre of the slot's face.
face_centre_pixel() {
    pixel_at "$1" $((FACE_X[$2] + FACE_W / 2)) $((FACE_Y[$2] + FACE_H / 2))
}

# frame_pixel <file> <slot>: "r,g,b" at a point of the slot's frame outside the face: halfway
# across the band left of the face, at the face's middle height.
frame_pixel() {
    pixel_at "$1" $(((FRAME_X[$2] + FACE_X[$2]) / 2)) $((FACE_Y[$2] + FACE_H / 2))
}

# face_count <file> <slot> <test>... and face_percent <file> <slot> <test>...: the pixels of
# the slot's face that pass each test.
face_count() {
    count_matching "$1" "${FACE_X[$2]}" "${FACE_Y[$2]}" "$FACE_W" "$FACE_H" "${@:3}"
}
face_percent() {
    percent_matching "$1" "${FACE_X[$2]}" "${FACE_Y[$2]}" "$FACE_W" "$FACE_H" "${@:3}"
}

# click_face <slot>: a click at the centre of the slot's face.
click_face() {
    click $((FACE_X[$1] + FACE_W / 2)) $((FACE_Y[$1] + FACE_H / 2))
}

# face_signatures <file>: the digests of the ten faces, slot by slot.
face_signatures() {
    local slot corners=()
    for slot in "${!FACE_X[@]}"; do
        corners+=("${FACE_X[$slot]}" "${FACE_Y[$slot]}")
    done
    signatures "$1" "$FACE_W" "$FACE_H" "${corners[@]}"
}

# red_in_mark <file>: how many red pixels the answer mark area holds.
red_in_mark() {
    count_matching "$1" "${MARK[@]}" "$IS_RED"
}

# ---- Waiting for what the game shows -----------------------------------------------------

# Waits until the last slot's face shows the green back, which the window paints as it opens.
wait_for_card_backs() {
    wait_until "the card backs to be painted" backs_painted
}
backs_painted() {
    local file centre
    file=$(shot backs)
    centre=$(face_centre_pixel "$file" 9)
    WAIT_DETAIL="slot 9 face centre $centre"
    is_colour "$centre" "$IS_GREEN"
}

# deal_shown <file> [<earlier signatures file>]: every face shows card paper, the ten faces
# differ from one another and, if a file of earlier faces is given, from every one of those.
deal_shown() {
    local file=$1 earlier=${2:-/dev/null} slot missing=()
    for slot in "${!FACE_X[@]}"; do
        [ "$(face_count "$file" "$slot" "$IS_PAPER")" -gt 0 ] || missing+=("$slot")
    done
    local signatures distinct new
    signatures=$(face_signatures "$file")
    distinct=$(sort -u <<<"$signatures" | wc -l)
    new=$(grep -cvxF -f "$earlier" <<<"$signatures" || true)
    WAIT_DETAIL="faces without paper: ${missing[*]:-none}; $distinct distinct faces, $new not seen before"
    [ ${#missing[@]} -eq 0 ] && [ "$distinct" -eq 10 ] && [ "$new" -eq 10 ]
}

# mark_shape <file>: "circle", "cross", "none", or "both" for the answer mark. The circle
# passes the top middle of the mark area and leaves its centre empty; the cross is the other
# way round.
mark_shape() {
    local centre top
    centre=$(count_matching "$1" $((MARK[0] + 22)) $((MARK[1] + 22)) 6 6 "$IS_RED")
    top=$(count_matching "$1" $((MARK[0] + 22)) "${MARK[1]}" 6 4 "$IS_RED")
    if [ "$centre" -gt 0 ] && [ "$top" -gt 0 ]; then
        echo both
    elif [ "$top" -gt 0 ]; then
        echo circle
    elif [ "$centre" -gt 0 ]; then
        echo cross
    else
        echo none
    fi
}
